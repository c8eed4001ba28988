#include "app/startup/StatusMenu.h"

#include "app/startup/OverlayLoopState.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace tolvane::StatusMenu {

namespace {

// Key equivalents take the platform's command modifier, which is Control here.
QKeySequence commandKey(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}

Item separator()
{
    Item item;
    item.separator = true;
    return item;
}

// A menu that belongs to no window gets no shortcuts from Qt: while it is open, its own key
// equivalents choose its entries, as the status item's menu does.
class KeyEquivalents final : public QObject {
public:
    static constexpr const char* objectNameInMenu = "statusMenuKeyEquivalents";

    explicit KeyEquivalents(QMenu& menu)
        : QObject(&menu)
        , menu_(menu)
    {
        setObjectName(objectNameInMenu);
        menu.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* action : menu_.actions()) {
            if (!action->isSeparator() && action->isEnabled() && !action->shortcut().isEmpty()
                && action->shortcut() == pressed) {
                menu_.hide();
                action->trigger();
                return true;
            }
        }
        return false;
    }

private:
    QMenu& menu_;
};

} // namespace

std::vector<Item> items(const OverlayLoopState& state)
{
    std::vector<Item> list;
    if (state.availabilityDisabled) {
        list.push_back({QStringLiteral("Tolvane is unavailable"), Action::none, {}, false, false, false, false});
        list.push_back(separator());
    }
    list.push_back({QStringLiteral("Open Tolvane"), Action::openMain, commandKey(Qt::Key_O)});
    list.push_back({QStringLiteral("Overlay Enabled"), Action::toggleEnabled, {}, false, true,
        state.userEnabled && !state.availabilityDisabled, !state.availabilityDisabled});
    // Checkable only while checked: an unchecked box beside "Reposition Panels…" would read as a
    // switch that is off.
    list.push_back({state.repositionMode ? QStringLiteral("Done Repositioning") : QStringLiteral("Reposition Panels…"),
        Action::toggleRepositionMode, commandKey(Qt::Key_R), false, state.repositionMode, state.repositionMode, true});
    list.push_back({QStringLiteral("Settings…"), Action::openSettings, commandKey(Qt::Key_Comma)});
    list.push_back(separator());
    list.push_back({QStringLiteral("Quit Tolvane"), Action::quit, commandKey(Qt::Key_Q)});
    return list;
}

void fill(QMenu& menu, const std::vector<Item>& items, const std::function<void(Action)>& trigger)
{
    menu.clear();
    if (menu.findChild<QObject*>(QLatin1String(KeyEquivalents::objectNameInMenu), Qt::FindDirectChildrenOnly)
        == nullptr)
        new KeyEquivalents(menu);
    for (const Item& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.title);
        action->setShortcut(item.key);
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
        if (item.action != Action::none) {
            // Queued: the handler may rebuild this very menu, which deletes the action that fired.
            QObject::connect(
                action, &QAction::triggered, &menu, [trigger, what = item.action] { trigger(what); },
                Qt::QueuedConnection);
        }
    }
}

} // namespace tolvane::StatusMenu
