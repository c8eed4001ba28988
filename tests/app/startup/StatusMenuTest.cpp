// The status menu's entries for each combination of the overlay switch, the availability switch
// and the reposition editor, and the QMenu built from them.

#include "app/startup/OverlayLoopState.h"
#include "app/startup/StatusMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

struct MenuCase {
    const char* name;
    bool userEnabled;
    bool availabilityDisabled;
    bool repositionMode;
    QStringList titles; // separators as "-"
    bool overlayChecked;
    bool overlayEnabled;
};

QStringList titlesOf(const std::vector<StatusMenu::Item>& items)
{
    QStringList titles;
    for (const StatusMenu::Item& item : items)
        titles << (item.separator ? QStringLiteral("-") : item.title);
    return titles;
}

const StatusMenu::Item& itemTitled(const std::vector<StatusMenu::Item>& items, const QString& title)
{
    const auto it = std::find_if(items.begin(), items.end(), [&](const auto& item) { return item.title == title; });
    EXPECT_NE(it, items.end()) << title.toStdString();
    return *it;
}

class StatusMenuItems : public ::testing::TestWithParam<MenuCase> { };

TEST_P(StatusMenuItems, FollowTheOverlayState)
{
    const MenuCase& c = GetParam();
    OverlayLoopState state;
    state.userEnabled = c.userEnabled;
    state.availabilityDisabled = c.availabilityDisabled;
    state.repositionMode = c.repositionMode;

    const std::vector<StatusMenu::Item> items = StatusMenu::items(state);
    EXPECT_EQ(titlesOf(items), c.titles);

    const StatusMenu::Item& overlay = itemTitled(items, QStringLiteral("Overlay Enabled"));
    EXPECT_EQ(overlay.checked, c.overlayChecked);
    EXPECT_EQ(overlay.enabled, c.overlayEnabled);

    const StatusMenu::Item& reposition = items[c.titles.indexOf(c.titles.contains(QStringLiteral("Done Repositioning"))
            ? QStringLiteral("Done Repositioning")
            : QStringLiteral("Reposition Panels…"))];
    EXPECT_EQ(reposition.action, StatusMenu::Action::toggleRepositionMode);
    EXPECT_EQ(reposition.checked, c.repositionMode);
    // No empty box beside "Reposition Panels…": it is no switch that is off.
    EXPECT_EQ(reposition.checkable, c.repositionMode);
    EXPECT_TRUE(reposition.enabled);
}

const QStringList usual {QStringLiteral("Open Tolvane"), QStringLiteral("Overlay Enabled"),
    QStringLiteral("Reposition Panels…"), QStringLiteral("Settings…"), QStringLiteral("-"),
    QStringLiteral("Quit Tolvane")};

INSTANTIATE_TEST_SUITE_P(States, StatusMenuItems,
    ::testing::Values(MenuCase {"on", true, false, false, usual, true, true},
        MenuCase {"switchedOff", false, false, false, usual, false, true},
        MenuCase {"repositioning", true, false, true,
            {QStringLiteral("Open Tolvane"), QStringLiteral("Overlay Enabled"), QStringLiteral("Done Repositioning"),
                QStringLiteral("Settings…"), QStringLiteral("-"), QStringLiteral("Quit Tolvane")},
            true, true},
        // The remote switch wins over the user's own: unchecked and not selectable.
        MenuCase {"unavailable", true, true, false,
            QStringList {QStringLiteral("Tolvane is unavailable"), QStringLiteral("-")} + usual, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusMenuKeys, NoticeIsInertAndKeysUseTheCommandModifier)
{
    OverlayLoopState state;
    state.availabilityDisabled = true;
    const std::vector<StatusMenu::Item> items = StatusMenu::items(state);
    EXPECT_FALSE(items.front().enabled);
    EXPECT_EQ(items.front().action, StatusMenu::Action::none);
    EXPECT_EQ(itemTitled(items, QStringLiteral("Open Tolvane")).key, QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(itemTitled(items, QStringLiteral("Reposition Panels…")).key, QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(itemTitled(items, QStringLiteral("Settings…")).key, QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(itemTitled(items, QStringLiteral("Quit Tolvane")).key, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(itemTitled(items, QStringLiteral("Overlay Enabled")).key.isEmpty());
}

TEST(StatusMenuFill, RebuildingReplacesEntriesAndActionsReachTheHandler)
{
    QMenu menu;
    std::vector<StatusMenu::Action> fired;
    const auto trigger = [&](StatusMenu::Action action) { fired.push_back(action); };

    OverlayLoopState state;
    StatusMenu::fill(menu, StatusMenu::items(state), trigger);
    state.availabilityDisabled = true;
    StatusMenu::fill(menu, StatusMenu::items(state), trigger);

    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 8);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Tolvane is unavailable"));
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_TRUE(actions[3]->isCheckable());
    EXPECT_FALSE(actions[3]->isChecked());

    actions[2]->trigger(); // Open
    actions[4]->trigger(); // Reposition
    actions[0]->trigger(); // the notice does nothing
    QCoreApplication::processEvents();
    EXPECT_EQ(fired, (std::vector {StatusMenu::Action::openMain, StatusMenu::Action::toggleRepositionMode}));
}

} // namespace
} // namespace tolvane
