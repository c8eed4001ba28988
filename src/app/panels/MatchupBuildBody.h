#pragma once
// The whole matchup panel while the statistics service's lane-matchup build is held: the lane
// opponent and verdict, how to play the lane, both teams' damage and crowd control, the build
// path, boots, rune, skill order and spells, closed by a caption on where the data comes from.

#include "app/panels/BuildPathRows.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudPanel.h"
#include "core/advice/MatchupAdvice.h"

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

namespace tolvane {

class MatchupBuildBody {
public:
    MatchupBuildBody(MetaBuild build, MatchupExtras extras, const CounterBuildViewModel& vm, double width,
        HudImageSource* images = nullptr);

    struct Verdict {
        QString label;
        QColor color;
        bool operator==(const Verdict&) const = default;
    };
    static Verdict verdictPill(MatchupVerdict verdict);

    QString headerTrailing() const { return QStringLiteral("vs ") + extras_.opponent; }
    std::optional<QString> playStyleText() const; // "· play <style>"
    // "CC 4", "CC ≥4".
    static QString ccText(const CCCoverage& coverage);
    std::optional<QString> runeText() const; // rune, then " · " and the keystone when known
    std::optional<QString> skillText() const; // "Q › W › E"
    std::optional<QString> spellsText() const; // "Flash + Ignite"
    static QString caption() { return QStringLiteral("Metrion matchup \u00b7 all ranks \u00b7 unverified"); }

    // The rows in order: "header", "verdict", "tip", "teams" (allies over enemies), the build path's rows,
    // "boots", "rune", "skill", "spells", "caption".
    HudColumn rows() const;
    std::vector<QString> rowNames() const { return rows().names(); }

    HudPanel panel() const;
    QSizeF naturalSize() const;
    void paint(QPainter& painter) const;

private:
    MetaBuild build_;
    MatchupExtras extras_;
    const CounterBuildViewModel& vm_;
    double width_;
    HudImageSource* images_;
};

} // namespace tolvane
