#pragma once
// The popular-build panel: the popular build of the player's champion drawn against the items
// held (START, path, NEXT, BOOTS), its primary rune and a staleness caption, or a single line
// while there is nothing to show.

#include "app/panels/BuildPathRows.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudPanelContent.h"
#include "app/panels/RuneBuildViewModel.h"

#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

namespace tolvane {

class RuneBuildOverlayView : public HudPanelContent {
    Q_OBJECT
public:
    static constexpr double defaultWidth = 230;

    // The model must outlive the view; images may be null (icons keep their placeholder).
    RuneBuildOverlayView(RuneBuildViewModel& vm, double width = defaultWidth, HudImageSource* images = nullptr,
        QObject* parent = nullptr);

    // The main window's text scale when the view is embedded there; the overlay keeps 1.0.
    void setWindowFontScale(double s);
    double windowFontScale() const { return s_; }

    // The header's trailing text: "ARAM", "typical <role>" or none.
    std::optional<QString> headerTrailing() const;
    // The single line shown instead of a build: a reason, "loading…" or "Not in game".
    std::optional<QString> message() const;
    // The caption under a stale build.
    std::optional<QString> staleCaption() const;
    // The rows the panel shows now, top to bottom ("header", "start", "path", "next" or "complete",
    // "boots", "rune", "stale", "message").
    std::vector<QString> rowNames() const { return rows().names(); }
    HudColumn rows() const;

    HudPanel panel() const;
    QSizeF naturalSize() const override;
    void paint(QPainter& painter) override;

private:
    RuneBuildViewModel& vm_;
    double width_;
    QPointer<HudImageSource> images_;
    double s_ = defaultWindowFontScale;
};

// The primary rune in the accent colour on a tinted capsule after a "RUNE" label.
PanelRow runeRow(const QString& rune, const QColor& accent, double width, double s = defaultWindowFontScale);

} // namespace tolvane
