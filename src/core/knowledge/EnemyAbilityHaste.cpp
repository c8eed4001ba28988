#include "core/knowledge/EnemyAbilityHaste.h"

namespace tolvane::EnemyAbilityHaste {

Mode mode(const std::optional<QString>& gameMode, std::optional<int64_t> mapNumber)
{
    if (mapNumber == 30)
        return Mode::arena;
    if (mapNumber == 12)
        return Mode::aram;
    if (!gameMode)
        return Mode::standard;
    return gameMode->toUpper() == QLatin1String("CHERRY") ? Mode::arena : Mode::standard;
}

double modeBonus(Mode mode)
{
    switch (mode) {
    case Mode::aram:
        return 10;
    case Mode::arena:
        return 40;
    case Mode::standard:
        break;
    }
    return 0;
}

const std::unordered_map<QString, double>& champRuneHaste()
{
    static const std::unordered_map<QString, double> table {
        // 12
        {QStringLiteral("Sejuani"), 12},
        {QStringLiteral("Zac"), 12},
        // 15
        {QStringLiteral("Ahri"), 15},
        {QStringLiteral("Syndra"), 15},
        {QStringLiteral("Vladimir"), 15},
        {QStringLiteral("Ziggs"), 15},
        {QStringLiteral("Xerath"), 15},
        {QStringLiteral("VelKoz"), 15},
        {QStringLiteral("Taliyah"), 15},
        {QStringLiteral("Zoe"), 15},
        {QStringLiteral("Ekko"), 15},
        {QStringLiteral("Sylas"), 15},
        {QStringLiteral("Maokai"), 15},
        {QStringLiteral("Amumu"), 15},
        // 18
        {QStringLiteral("Lux"), 18},
        {QStringLiteral("Karma"), 18},
        {QStringLiteral("Orianna"), 18},
        {QStringLiteral("Viktor"), 18},
        {QStringLiteral("Cassiopeia"), 18},
        {QStringLiteral("Anivia"), 18},
        {QStringLiteral("Veigar"), 18},
        {QStringLiteral("Swain"), 18},
        {QStringLiteral("Seraphine"), 18},
        {QStringLiteral("Lissandra"), 18},
        {QStringLiteral("Janna"), 18},
        {QStringLiteral("Lulu"), 18},
        {QStringLiteral("Soraka"), 18},
        {QStringLiteral("Nami"), 18},
        {QStringLiteral("Sona"), 18},
        {QStringLiteral("Yuumi"), 18},
        {QStringLiteral("Renata"), 18},
        {QStringLiteral("Karma2"), 18},
        {QStringLiteral("Milio"), 18},
    };
    return table;
}

const std::unordered_map<int64_t, double>& itemHaste()
{
    static const std::unordered_map<int64_t, double> table {
        // 5
        {2022, 5},
        {6660, 5},
        // 10
        {1111, 10},
        {2020, 10},
        {2522, 10},
        {3024, 10},
        {3050, 10},
        {3057, 10},
        {3065, 10},
        {3067, 10},
        {3068, 10},
        {3100, 10},
        {3108, 10},
        {3109, 10},
        {3133, 10},
        {3158, 10},
        {3190, 10},
        {3802, 10},
        {4642, 10},
        {6610, 10},
        {6655, 10},
        {6664, 10},
        {6697, 10},
        {6698, 10},
        {6699, 10},
        {223185, 10},
        // 15
        {2050, 15},
        {2065, 15},
        {2502, 15},
        {2520, 15},
        {2524, 15},
        {3004, 15},
        {3042, 15},
        {3074, 15},
        {3078, 15},
        {3107, 15},
        {3115, 15},
        {3118, 15},
        {3119, 15},
        {3121, 15},
        {3156, 15},
        {3165, 15},
        {3177, 15},
        {3179, 15},
        {3222, 15},
        {3430, 15},
        {4011, 15},
        {4633, 15},
        {6333, 15},
        {6609, 15},
        {6616, 15},
        {6662, 15},
        {6692, 15},
        {6694, 15},
        {8010, 15},
        {8020, 15},
        {443193, 15},
        {447118, 15},
        // 20
        {2049, 20},
        {2503, 20},
        {2510, 20},
        {2525, 20},
        {3071, 20},
        {3110, 20},
        {3137, 20},
        {3152, 20},
        {3171, 20},
        {3508, 20},
        {4005, 20},
        {6617, 20},
        {6620, 20},
        {6696, 20},
        {224403, 20},
        {226630, 20},
        {228001, 20},
        {228002, 20},
        {443062, 20},
        {446632, 20},
        {446691, 20},
        {446693, 20},
        {447104, 20},
        {447108, 20},
        {447112, 20},
        {447113, 20},
        // 25
        {3003, 25},
        {3040, 25},
        {4016, 25},
        {4628, 25},
        {4629, 25},
        {223069, 25},
        {443063, 25},
        {444636, 25},
        {444644, 25},
        {446656, 25},
        {447122, 25},
        // 30
        {3172, 30},
        {443061, 30},
        {447103, 30},
        {447105, 30},
        {447116, 30},
        // 40
        {447101, 40},
        {447123, 40},
    };
    return table;
}

double assumed(const QString& champion, std::span<const int64_t> itemIDs, Mode mode)
{
    const auto rune = champRuneHaste().find(champion);
    double haste = rune == champRuneHaste().end() ? defaultRuneHaste : rune->second;
    for (int64_t id : itemIDs) {
        if (const auto item = itemHaste().find(id); item != itemHaste().end())
            haste += item->second;
    }
    return haste + modeBonus(mode);
}

} // namespace tolvane::EnemyAbilityHaste
