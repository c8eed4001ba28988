#pragma once
// The status item's menu: its entries worked out from the application's overlay state (the
// availability notice, the overlay switch, the reposition entry), and a QMenu filled from them.
// The menu is rebuilt whenever one of those states changes.

#include <QKeySequence>
#include <QString>

#include <functional>
#include <vector>

class QMenu;

namespace tolvane {

struct OverlayLoopState;

namespace StatusMenu {

enum class Action { none, openMain, toggleEnabled, toggleRepositionMode, openSettings, quit };

struct Item {
    QString title; // empty for a separator
    Action action = Action::none;
    QKeySequence key;
    bool separator = false;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;

    bool operator==(const Item&) const = default;
};

// Top to bottom.
std::vector<Item> items(const OverlayLoopState& state);

// Replaces the menu's entries; choosing one calls `trigger` with its action.
void fill(QMenu& menu, const std::vector<Item>& items, const std::function<void(Action)>& trigger);

} // namespace StatusMenu

} // namespace tolvane
