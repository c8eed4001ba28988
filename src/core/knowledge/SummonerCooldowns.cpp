#include "core/knowledge/SummonerCooldowns.h"

#include "core/knowledge/ResourceFile.h"
#include "core/support/Log.h"

#include <algorithm>
#include <cmath>

TOLVANE_LOG_CATEGORY(lcSummonerCooldowns, "summonercooldowns")

namespace tolvane {

namespace {

constexpr int64_t ionianBootsID = 3158;

// A haste sum at or below -100 would divide by zero or turn the cooldown negative; a non-finite
// one has no meaning. Either counts as no haste.
double usableHaste(double haste)
{
    return std::isfinite(haste) && haste > -100.0 ? haste : 0.0;
}

} // namespace

double SummonerCooldowns::TeleportScaling::cd(std::optional<int64_t> level) const
{
    if (!level)
        return minCD;
    const int64_t clamped = std::clamp<int64_t>(*level, 1, 18);
    return maxCD - (maxCD - minCD) * double(clamped - 1) / 17.0;
}

SummonerCooldowns::SummonerCooldowns(QString targetPatch, double ionianSSH, std::unordered_map<QString, double> spells,
    std::optional<double> aramAuraSSH, std::optional<TeleportScaling> teleport)
    : targetPatch(std::move(targetPatch))
    , ionianSSH(ionianSSH)
    , aramAuraSSH(aramAuraSSH)
    , teleport(teleport)
    , spells(std::move(spells))
{
}

const SummonerCooldowns& SummonerCooldowns::empty()
{
    static const SummonerCooldowns value;
    return value;
}

std::optional<double> SummonerCooldowns::effectiveCD(const QString& key, const std::vector<LiveItem>& items,
    double gameTime, std::optional<int64_t> level, bool aram) const
{
    const auto found = spells.find(key);
    if (found == spells.end())
        return std::nullopt;
    double base = found->second;
    if (key == QLatin1String("SummonerTeleport") && teleport && gameTime >= teleport->unleashedAt)
        base = teleport->cd(level);

    double haste = 0;
    if (std::any_of(items.begin(), items.end(), [](const LiveItem& item) { return item.itemID == ionianBootsID; }))
        haste += ionianSSH;
    if (aram && aramAuraSSH)
        haste += *aramAuraSSH;
    return base * 100.0 / (100.0 + usableHaste(haste));
}

json::Decoded<SummonerCooldowns> SummonerCooldowns::decode(QByteArrayView bytes)
{
    return json::decode<SummonerCooldowns>(bytes, [](json::Value root) {
        const json::Object o = root.toObject();
        SummonerCooldowns table;
        table.targetPatch = o.string("targetPatch");
        table.ionianSSH = o.number("ionianSSH");
        table.aramAuraSSH = o.optNumber("aramAuraSSH");
        table.teleport = o.optional("teleport", [](json::Value v) {
            const json::Object t = v.toObject();
            return TeleportScaling {t.number("unleashedAt"), t.number("maxCD"), t.number("minCD")};
        });
        o.required("spells", [&](json::Value v) {
            v.toObject().forEach([&](std::string_view key, json::Value seconds) {
                table.spells.insert_or_assign(QString::fromUtf8(key.data(), qsizetype(key.size())), seconds.toDouble());
            });
            return 0;
        });
        return table;
    });
}

SummonerCooldowns SummonerCooldownsLoader::load(const ResourceBundle& bundle) const
{
    if (const auto bytes = readResource(bundle, QStringLiteral("summoner-cooldowns"), QStringLiteral("json"))) {
        if (auto decoded = SummonerCooldowns::decode(*bytes))
            return std::move(*decoded.value);
    }
    log::error(
        lcSummonerCooldowns(), QStringLiteral("summoner-cooldowns.json missing or unparseable; using empty table"));
    return SummonerCooldowns::empty();
}

} // namespace tolvane
