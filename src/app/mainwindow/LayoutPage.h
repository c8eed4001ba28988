#pragma once
// The Settings tab's Layout page: opens the reposition editor, links the two build panels,
// resets stored positions and tunes the right-hand stack of the two build panels.

#include "app/mainwindow/SettingsModel.h"
#include "app/mainwindow/SettingsTabParts.h"

#include <QWidget>

#include <functional>
#include <vector>

class QPushButton;

namespace tolvane {

class GoldToggle;
class LayoutSlider;
class ResetPillButton;

class LayoutTabView : public SettingsPage {
public:
    // onReset: the Settings tab's reset (settings and positions, then a reload of the model).
    LayoutTabView(SettingsModel& model, std::function<void()> onReset, QWidget* parent = nullptr);

    void refresh();

    // For tests.
    ResetPillButton* repositionButton() const { return repositionButton_; }
    GoldToggle* linkToggle() const { return linkToggle_; }
    QWidget* layoutBlock() const { return layoutBlock_; }
    const std::vector<LayoutSlider*>& sliders() const { return sliders_; }
    ResetPillButton* resetLayoutButton() const { return resetLayoutButton_; }
    QPushButton* resetPositionsButton() const { return resetPositionsButton_; }

    static constexpr int spacing = 14;

private:
    SettingsModel& model_;
    std::function<void()> onReset_;
    ResetPillButton* repositionButton_ = nullptr;
    GoldToggle* linkToggle_ = nullptr;
    QWidget* layoutBlock_ = nullptr;
    std::vector<LayoutSlider*> sliders_;
    ResetPillButton* resetLayoutButton_ = nullptr;
    QPushButton* resetPositionsButton_ = nullptr;
};

} // namespace tolvane
