#pragma once
// What summons the build panels (Tab held, the shop latch, or the whole match), kept as one
// integer of flag bits so the settings store can persist it as it stands, and the rule that
// combines those triggers with the live state.

#include <QtGlobal>

#include <initializer_list>
#include <optional>

namespace tolvane {

struct VisibilityTriggers {
    // Bits beyond the three members are kept as they are and mean nothing.
    qint64 rawValue = 0;

    constexpr VisibilityTriggers() = default;
    constexpr explicit VisibilityTriggers(qint64 raw)
        : rawValue(raw)
    {
    }
    constexpr VisibilityTriggers(std::initializer_list<VisibilityTriggers> members)
    {
        for (VisibilityTriggers member : members)
            rawValue |= member.rawValue;
    }

    static constexpr VisibilityTriggers tab() { return VisibilityTriggers(1); }
    static constexpr VisibilityTriggers shop() { return VisibilityTriggers(2); }
    static constexpr VisibilityTriggers always() { return VisibilityTriggers(4); }

    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool contains(VisibilityTriggers member) const { return (rawValue & member.rawValue) == member.rawValue; }
    constexpr bool isSubset(VisibilityTriggers other) const { return (rawValue & ~other.rawValue) == 0; }
    constexpr bool isSuperset(VisibilityTriggers other) const { return other.isSubset(*this); }
    constexpr bool isDisjoint(VisibilityTriggers other) const { return (rawValue & other.rawValue) == 0; }

    constexpr VisibilityTriggers operator|(VisibilityTriggers other) const
    {
        return VisibilityTriggers(rawValue | other.rawValue);
    }
    constexpr VisibilityTriggers operator&(VisibilityTriggers other) const
    {
        return VisibilityTriggers(rawValue & other.rawValue);
    }
    constexpr VisibilityTriggers operator^(VisibilityTriggers other) const
    {
        return VisibilityTriggers(rawValue ^ other.rawValue);
    }
    // Set difference.
    constexpr VisibilityTriggers operator-(VisibilityTriggers other) const
    {
        return VisibilityTriggers(rawValue & ~other.rawValue);
    }

    // True when the member was not yet in the set.
    constexpr bool insert(VisibilityTriggers member)
    {
        const bool added = !contains(member);
        rawValue |= member.rawValue;
        return added;
    }
    // The bits removed, or none when the set held none of them.
    constexpr std::optional<VisibilityTriggers> remove(VisibilityTriggers member)
    {
        const VisibilityTriggers removed = *this & member;
        rawValue &= ~member.rawValue;
        if (removed.isEmpty())
            return std::nullopt;
        return removed;
    }
    // Inserts the member; gives back the bits it already held, or none.
    constexpr std::optional<VisibilityTriggers> update(VisibilityTriggers member)
    {
        const VisibilityTriggers held = *this & member;
        rawValue |= member.rawValue;
        if (held.isEmpty())
            return std::nullopt;
        return held;
    }

    friend constexpr bool operator==(VisibilityTriggers, VisibilityTriggers) = default;
};

namespace OverlayVisibility {

// Whether a build panel shows: only while the user wants the overlay and a match runs, then by
// the first trigger that applies.
constexpr bool shouldShow(bool userEnabled, bool inGame, VisibilityTriggers triggers, bool tabHeld, bool shopLatched)
{
    if (!userEnabled || !inGame)
        return false;
    if (triggers.contains(VisibilityTriggers::always()))
        return true;
    if (triggers.contains(VisibilityTriggers::tab()) && tabHeld)
        return true;
    return triggers.contains(VisibilityTriggers::shop()) && shopLatched;
}

} // namespace OverlayVisibility

} // namespace tolvane
