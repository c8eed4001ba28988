#include "app/mainwindow/MainWindowChrome.h"

#include "app/panels/HudStyle.h"

namespace tolvane {

QString rawValue(MainTab tab)
{
    switch (tab) {
    case MainTab::live:
        return QStringLiteral("live");
    case MainTab::home:
        return QStringLiteral("home");
    case MainTab::whatsNew:
        return QStringLiteral("whatsNew");
    case MainTab::settings:
        return QStringLiteral("settings");
    }
    return {};
}

std::optional<MainTab> mainTabFromRawValue(const QString& raw)
{
    for (MainTab tab : allMainTabs)
        if (rawValue(tab) == raw)
            return tab;
    return std::nullopt;
}

QString barLabel(MainTab tab)
{
    switch (tab) {
    case MainTab::live:
        return QStringLiteral("Live");
    case MainTab::home:
        return QStringLiteral("Home");
    case MainTab::whatsNew:
        return QStringLiteral("New");
    case MainTab::settings:
        return QStringLiteral("Setup");
    }
    return {};
}

QString tooltip(MainTab tab)
{
    switch (tab) {
    case MainTab::whatsNew:
        return QStringLiteral("What's New");
    case MainTab::settings:
        return QStringLiteral("Settings");
    default:
        return barLabel(tab);
    }
}

QColor accent(MainTab tab)
{
    switch (tab) {
    case MainTab::live:
        return HUD::violet();
    case MainTab::home:
        return HUD::teal();
    case MainTab::whatsNew:
        return HUD::amber();
    case MainTab::settings:
        return HUD::gold();
    }
    return HUD::violet();
}

MainWindowChrome::MainWindowChrome(QObject* parent)
    : QObject(parent)
{
}

void MainWindowChrome::setSelection(MainTab tab)
{
    if (selection_ == tab)
        return;
    selection_ = tab;
    emit changed();
}

void MainWindowChrome::setCaptureTarget(std::optional<KeyCaptureTarget> target)
{
    if (captureTarget_ == target)
        return;
    captureTarget_ = target;
    emit changed();
}

void MainWindowChrome::setInputMonitoringGranted(bool granted)
{
    if (inputMonitoringGranted_ == granted)
        return;
    inputMonitoringGranted_ = granted;
    emit changed();
}

void MainWindowChrome::setOverlayEnabled(bool enabled)
{
    if (isOverlayEnabled_ == enabled)
        return;
    isOverlayEnabled_ = enabled;
    emit changed();
}

} // namespace tolvane
