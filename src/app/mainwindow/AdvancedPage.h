#pragma once
// The Settings tab's Advanced page: the main window's text size, the anonymous usage heartbeat
// and the features not offered yet.

#include "app/mainwindow/SettingsModel.h"
#include "app/mainwindow/SettingsTabParts.h"

#include <QWidget>

#include <vector>

namespace tolvane {

class ComingSoonRow;
class GoldToggle;
class SegmentedPicker;

class AdvancedTabView : public SettingsPage {
public:
    explicit AdvancedTabView(SettingsModel& model, QWidget* parent = nullptr);

    void refresh();

    // For tests.
    SegmentedPicker* textSizePicker() const { return textSizePicker_; }
    GoldToggle* usagePingToggle() const { return usagePingToggle_; }
    const std::vector<ComingSoonRow*>& comingSoonRows() const { return comingSoon_; }

    static constexpr int spacing = 18;

private:
    SettingsModel& model_;
    SegmentedPicker* textSizePicker_ = nullptr;
    GoldToggle* usagePingToggle_ = nullptr;
    std::vector<ComingSoonRow*> comingSoon_;
};

} // namespace tolvane
