#pragma once
// The Settings tab's Panels page: the preset picker, what summons the overlay, the shop and
// fallback keys with the permission they need, one switch per overlay panel and the cooldown
// panel's format and opacity.

#include "app/mainwindow/SettingsTab.h"
#include "app/mainwindow/SettingsTabParts.h"

#include <QAbstractButton>
#include <QColor>
#include <QMap>
#include <QWidget>

#include <functional>

class QLabel;

namespace tolvane {

class GoldToggle;
class LayoutSlider;
class ResetPillButton;
class SegmentedPicker;

// The "CUSTOM" capsule shown beside the modes title while no preset matches.
class CustomPill : public QWidget {
public:
    explicit CustomPill(double s, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    static inline const QString text = QStringLiteral("CUSTOM");

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double s_;
};

// The chip showing a bound key; a tap anywhere on it starts that key's capture.
class KeyChip : public QAbstractButton {
public:
    explicit KeyChip(double s, QWidget* parent = nullptr);

    void display(const QString& label, bool capturing);
    bool capturing() const { return capturing_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static inline const QString capturingText = QStringLiteral("Press a key…");
    static constexpr QSizeF minimumSize {64, 30};
    static constexpr double cornerRadius = 11;
    // Between the label and each rounded end, so the label never runs into the border.
    static constexpr double labelInset = 12;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double s_;
    bool capturing_ = false;
};

class PanelsTabView : public SettingsPage {
public:
    PanelsTabView(SettingsModel& model, SettingsHostState state, SettingsActions actions, QWidget* parent = nullptr);

    void setHostState(SettingsHostState state);
    // Brings every control and every shown-or-hidden block in line with the model.
    void refresh();

    // For tests: the parts whose look follows the model.
    GoldToggle* toggle(const QString& title) const { return toggles_.value(title); }
    SegmentedPicker* modePicker() const { return modePicker_; }
    CustomPill* customPill() const { return customPill_; }
    QWidget* shopSection() const { return shopSection_; }
    KeyChip* shopChip() const { return shopChip_; }
    KeyChip* fallbackChip() const { return fallbackChip_; }
    QLabel* permissionText() const { return permissionText_; }
    QColor permissionDotColour() const;
    ResetPillButton* permissionButton() const { return permissionButton_; }
    QWidget* cooldownExtras() const { return cooldownExtras_; }
    SegmentedPicker* cooldownFormatPicker() const { return formatPicker_; }
    LayoutSlider* opacitySlider() const { return opacitySlider_; }

    static constexpr int spacing = 18;

private:
    GoldToggle* addToggle(
        QWidget* parent, const QString& title, bool (SettingsModel::*get)() const, void (SettingsModel::*set)(bool));
    QWidget* makePanelRow(QWidget* parent, const QString& title, const QColor& accent,
        bool (SettingsModel::*get)() const, void (SettingsModel::*set)(bool));
    QWidget* makeKeyRow(QWidget* parent, const QString& title, KeyChip** chip, std::function<void()> action);
    QWidget* makeShopSection(QWidget* parent);
    void runPermissionAction() const;

    SettingsModel& model_;
    SettingsHostState state_;
    SettingsActions actions_;
    double s_;
    QMap<QString, GoldToggle*> toggles_;
    SegmentedPicker* modePicker_ = nullptr;
    CustomPill* customPill_ = nullptr;
    QWidget* shopSection_ = nullptr;
    KeyChip* shopChip_ = nullptr;
    KeyChip* fallbackChip_ = nullptr;
    QWidget* permissionDot_ = nullptr;
    QLabel* permissionText_ = nullptr;
    ResetPillButton* permissionButton_ = nullptr;
    QWidget* cooldownExtras_ = nullptr;
    SegmentedPicker* formatPicker_ = nullptr;
    LayoutSlider* opacitySlider_ = nullptr;
};

} // namespace tolvane
