#pragma once
// The main window's Settings tab: a bar of three page buttons over the selected page (Panels,
// Layout, Advanced). It only reads and writes the settings model and calls the actions it is
// given; what the model does not hold (the capture under way, the key names, the permission)
// the host hands in and updates through setHostState().

#include "app/mainwindow/KeyCaptureTarget.h"
#include "app/mainwindow/SettingsModel.h"

#include <QAbstractButton>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace tolvane {

class PanelsTabView;
class LayoutTabView;
class AdvancedTabView;

// What the host knows and the model does not; the view redraws from it on each update.
struct SettingsHostState {
    std::optional<KeyCaptureTarget> captureTarget;
    QString shopKeyLabel;
    QString fallbackKeyLabel;
    bool inputMonitoringGranted = false;

    bool operator==(const SettingsHostState&) const = default;
};

// What the pages ask of the host; each may be left empty.
struct SettingsActions {
    std::function<void()> onCaptureShop;
    std::function<void()> onCaptureFallback;
    std::function<void()> onGrantPermission;
    std::function<void()> onRestart;
    // Resets the overlay settings and panel positions, then reloads the model.
    std::function<void()> onReset;
};

// One page button of the bar; the active one is lit and underlined in gold.
class SettingsTabStyle : public QAbstractButton {
public:
    SettingsTabStyle(const QString& text, double s, QWidget* parent = nullptr);

    bool active() const { return active_; }
    void setActive(bool active);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr double underlineHeight = 1.5;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double s_;
    bool active_ = false;
};

class SettingsView : public QWidget {
public:
    // The model outlives the view (the window controller owns both).
    SettingsView(SettingsModel& model, SettingsHostState state, SettingsActions actions, QWidget* parent = nullptr);
    ~SettingsView() override;

    SettingsModel& model() const { return model_; }
    const SettingsHostState& hostState() const { return state_; }
    // The host calls this after each change of the capture target or the permission flag and of
    // the model's two key codes (whose names it makes).
    void setHostState(SettingsHostState state);

    // For the host and tests: the bar's buttons and the pages, as built for the current text
    // scale (a text-size change rebuilds them once control returns to the event loop).
    SettingsTabStyle* tabButton(SettingsModel::SettingsTab tab) const;
    QWidget* currentPage() const;
    PanelsTabView* panelsPage() const { return panels_; }
    LayoutTabView* layoutPage() const { return layout_; }
    AdvancedTabView* advancedPage() const { return advanced_; }

    static QString tabTitle(SettingsModel::SettingsTab tab);
    // The dark appearance's window background at 0.3, behind the bar.
    static QColor tabBarBackground();

private:
    void build();
    void scheduleRebuild();
    void refresh();

    SettingsModel& model_;
    SettingsHostState state_;
    SettingsActions actions_;
    double builtScale_ = 0;
    bool rebuildPending_ = false;
    QWidget* content_ = nullptr;
    std::array<SettingsTabStyle*, 3> buttons_ {};
    PanelsTabView* panels_ = nullptr;
    LayoutTabView* layout_ = nullptr;
    AdvancedTabView* advanced_ = nullptr;
};

} // namespace tolvane
