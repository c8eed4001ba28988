#include "core/advice/MetrionComboProvider.h"

#include <QRegularExpression>

// Reading combo entries out of an analysis reply. Kept apart from the provider's call: pure code,
// fuzzed on its own.

namespace tolvane {

std::optional<std::vector<ChampionCombo>> MetrionComboProvider::parse(const QString& text)
{
    if (!text.contains(u"LolGetChampionAnalysis("))
        return std::nullopt;
    // Each attempt starts at its own "SkillCombo(\"" and its runs end at the next quote or at a
    // character that cannot continue them, so the search stays linear in the text.
    static const QRegularExpression combo(QStringLiteral(R"re(SkillCombo\("([^"]*)"\s*,\s*(?:"([^"]*)"|null)\))re"),
        QRegularExpression::UseUnicodePropertiesOption);
    std::vector<ChampionCombo> combos;
    for (auto it = combo.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        if (name.isEmpty())
            continue;
        std::optional<QString> video;
        if (match.hasCaptured(2) && !match.capturedView(2).isEmpty())
            video = match.captured(2);
        combos.push_back({name, video});
    }
    return combos;
}

} // namespace tolvane
