#pragma once
// The main window's tabs and its observable UI state: which tab shows, which key row is being
// captured, the Input Monitoring flag and the overlay switch as of the last opening. Written by
// the controller, read by the views (which also write the selection). Nothing is persisted.

#include "app/mainwindow/KeyCaptureTarget.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace tolvane {

// In the order of the navigation bar.
enum class MainTab { live, home, whatsNew, settings };

inline constexpr std::array<MainTab, 4> allMainTabs {
    MainTab::live, MainTab::home, MainTab::whatsNew, MainTab::settings};

QString rawValue(MainTab tab);
// Exactly the four raw values; anything else is none.
std::optional<MainTab> mainTabFromRawValue(const QString& raw);
QString barLabel(MainTab tab);
QString tooltip(MainTab tab);
QColor accent(MainTab tab);

class MainWindowChrome : public QObject {
    Q_OBJECT
public:
    explicit MainWindowChrome(QObject* parent = nullptr);

    // Each setter emits changed() only when the value differs, so views rebuild only on news.
    MainTab selection() const { return selection_; }
    void setSelection(MainTab tab);
    const std::optional<KeyCaptureTarget>& captureTarget() const { return captureTarget_; }
    void setCaptureTarget(std::optional<KeyCaptureTarget> target);
    bool inputMonitoringGranted() const { return inputMonitoringGranted_; }
    void setInputMonitoringGranted(bool granted);
    bool isOverlayEnabled() const { return isOverlayEnabled_; }
    void setOverlayEnabled(bool enabled);

signals:
    void changed();

private:
    MainTab selection_ = MainTab::live;
    std::optional<KeyCaptureTarget> captureTarget_;
    bool inputMonitoringGranted_ = false;
    bool isOverlayEnabled_ = true;
};

} // namespace tolvane
