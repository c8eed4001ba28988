#pragma once
// The cards of the champion-select view, each built from the view model's state as a HUD-framed
// column: the champion with its popular build, the popular rune page, counters, spells by lane
// opponent, the duo synergy and the enemy team.

#include "app/champselect/ChampSelectViewModel.h"
#include "app/champselect/LiveStack.h"

#include <optional>

namespace tolvane {

struct ChampSelectCards {
    const ChampSelectViewModel& vm;
    double s = 1.0;
    double cardWidth = 264;
    HudImageSource* images = nullptr;

    // Whether champion select asks for a popular build in the mode (Arena gets none), and what
    // the champion card says instead of loading when it does not.
    static bool buildAsked(const MetaModeRoute& mode);
    static const QString noBuildText;

    // A fraction as a whole percentage, halves away from zero ("13" for 0.125).
    static QString percent(double fraction);
    // "13% pick · 50% win", the parts present; empty without either rate.
    static QString runeStatsLine(const MetaRunePage& page);
    // The stat-shard labels joined, skipping ids without one; empty when none has a label.
    static QString shardsLine(const MetaRunePage& page);
    // The build rows of the champion card: label and item ids (START, BUILD, BOOTS as present).
    static std::vector<std::pair<QString, std::vector<int64_t>>> buildRows(
        const MetaBuild& build, const ItemCatalog& catalog);

    // The portrait of a champion: size x s square, the placeholder without a key or version.
    LiveIcon championPortrait(const std::optional<QString>& key, double size) const;

    LiveEntry championCard(const QString& name) const;
    LiveEntry runesCard(const MetaRunePage& page) const;
    LiveEntry countersCard() const;
    LiveEntry spellsCard() const;
    LiveEntry synergyCard(const SynergyDuo& duo, const QString& partner) const;
    LiveEntry enemyCard() const;

private:
    double contentWidth() const { return cardWidth * s; }
    PanelRow pillRow(const QString& text) const;
    PanelRow labeledStrip(const QString& label, const std::vector<int64_t>& ids, double size) const;
    LiveRowItem runeIcon(const RuneInfo& rune, double size, bool glow, bool dim) const;
    LiveRowItem runeChipById(int64_t id, const QString& fallback, double size, bool dim) const;
};

} // namespace tolvane
