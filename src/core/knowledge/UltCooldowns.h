#pragma once
// An enemy's ultimate: which ability it is and its cooldown per rank, from the champion's Data
// Dragon file, and the cooldown to expect at a level under an assumed ability haste.

#include "core/knowledge/DDragon.h"
#include "core/support/HttpSession.h"
#include "core/support/Json.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

struct UltInfo {
    // One ability as the champion file lists it.
    struct Spell {
        QString id;
        int64_t maxrank = 0;
        std::vector<double> cooldown;
    };

    static constexpr double minTrackableUltCD = 30.0;

    QString spellId;
    std::vector<double> cooldownByRank; // ranks 1 to 3; empty when not trackable

    bool trackable() const { return !cooldownByRank.empty(); }
    std::optional<double> baseCD(int64_t level) const;
    // The base cooldown shortened by a haste (a negative or meaningless haste counts as none).
    std::optional<double> conservativeCD(int64_t level, double assumedAbilityHaste) const;

    static std::optional<UltInfo> select(const std::vector<Spell>& spells);
    static std::optional<QString> ultSpellId(const std::vector<Spell>& spells);
    static std::optional<int64_t> rank(int64_t level);
    // Champions whose ultimate a takedown resets (display names).
    static bool resetsOnTakedown(const QString& champion);

    bool operator==(const UltInfo&) const = default;
};

class UltCooldownsLoader {
public:
    explicit UltCooldownsLoader(
        QString base = ddragonDefaultBase(), HttpTimeouts timeouts = HttpTimeouts::remoteService());

    // A transport or decoding failure is the error; a value may still hold no ultimate (no usable
    // ability list, or the champion missing from the file).
    QCoro::Task<DDragonResult<std::optional<UltInfo>>> load(QString championId, QString version) const;
    // The abilities of championId in a per-champion file; absent when the file does not hold it.
    static json::Decoded<std::optional<std::vector<UltInfo::Spell>>> decodeSpells(
        QByteArrayView bytes, const QString& championId);

private:
    std::shared_ptr<HttpSession> session_;
    QString base_;
};

} // namespace tolvane
