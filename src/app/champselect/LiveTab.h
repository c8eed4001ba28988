#pragma once
// The main window's "Live" tab: champion select as cards, the popular build while a match runs,
// the lobby's ranks at the loading screen, or a short idle explanation. It keeps no state of its
// own: each change of either view model picks the presentation anew from their published state.

#include "app/champselect/LiveStack.h"
#include "app/panels/WindowFontScale.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

namespace tolvane {

class ChampSelectViewModel;
class RuneBuildViewModel;
class HudImageSource;

class LiveTab : public QWidget {
    Q_OBJECT
public:
    enum class Presentation { champSelect, inGame, loadingReview, idle };

    // Both models must outlive the tab; images may be null (portraits and icons keep their
    // placeholders).
    LiveTab(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, HudImageSource* images = nullptr,
        QWidget* parent = nullptr);
    ~LiveTab() override;

    // The main window's text scale (SettingsModel::fontScale()); rebuilds the content.
    void setWindowFontScale(double s);
    double windowFontScale() const { return s_; }

    // What the tab shows for the models' state now.
    Presentation presentation() const;
    // The first that holds: champion select; a running match; the loading screen with players;
    // a champion still known (in any phase); otherwise idle.
    static Presentation choose(
        bool inSelect, bool inGame, bool atLoadingScreen, bool loadingListsFilled, bool championKnown);

    // The stacks shown now, top to bottom (for tests and the window's size).
    std::vector<LiveStackView*> sections() const;
    // Every entry of every shown stack, in order ("status", "build panel", "champion", ...).
    std::vector<QString> entryNames() const;

    // The tab reaches past its content by this much on every side, room for the cards' shadows:
    // its host sets it back by as much, so that the content starts where the host's inset ends.
    static constexpr QMargins bleed = LiveStackView::bleed;
    // Between the stacked presentations (the in-game section and the lobby's ranks).
    static constexpr double spacing = 16;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void rebuild();
    void placeSections();
    double contentHeight(double width) const;

    ChampSelectViewModel& champVM_;
    RuneBuildViewModel& runeVM_;
    QPointer<HudImageSource> images_;
    double s_ = defaultWindowFontScale;
    std::vector<QPointer<LiveStackView>> sections_;
    bool placing_ = false;
    // What the shown widgets were built for; they follow the models themselves until it changes.
    struct Shape {
        Presentation presentation;
        bool reviewBelow;
        double s;
        bool operator==(const Shape&) const = default;
    };
    std::optional<Shape> shape_;
};

} // namespace tolvane
