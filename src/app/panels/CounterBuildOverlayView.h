#pragma once
// The matchup / counter-build panel: the matchup build body while a lane-matchup build is held;
// otherwise the enemy team's damage mix, crowd control and assassins with caveats and the
// counter items ranked by the shipped rules, or one line saying why there is nothing to show.

#include "app/panels/BuildPathRows.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudPanelContent.h"

#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

namespace tolvane {

class CounterBuildOverlayView : public HudPanelContent {
    Q_OBJECT
public:
    static constexpr double defaultWidth = 248;

    // The model must outlive the view; images may be null (icons keep their placeholder).
    CounterBuildOverlayView(CounterBuildViewModel& vm, double width = defaultWidth, HudImageSource* images = nullptr,
        QObject* parent = nullptr);

    enum class Form { matchup, readout, reason, notInGame };
    Form form() const;

    // The caption under the readout when damage is evenly split; absent when it is not.
    static std::optional<QString> mixedDamagePill(const ThreatProfile& threat, bool showAdvice);
    // "hard CC 4", "hard CC ≥2".
    static QString hardCCText(const CCCoverage& coverage);
    // "· 3 unclassified", when some enemy could not be classified.
    static std::optional<QString> unclassifiedText(int64_t unknownCount);

    // The rows shown now, top to bottom; in the matchup form those of the matchup body.
    std::vector<QString> rowNames() const;
    // The readout's rows and frame (whatever the form).
    HudColumn rows() const { return readoutRows(); }
    HudPanel panel() const;

    QSizeF naturalSize() const override;
    void paint(QPainter& painter) override;

private:
    HudColumn readoutRows() const;

    CounterBuildViewModel& vm_;
    double width_;
    QPointer<HudImageSource> images_;
};

} // namespace tolvane
