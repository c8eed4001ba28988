// The on-screen window list over X11. With a window manager the list is its client list in
// stacking order; without one it is the root window's children. Frames include the window
// manager's decoration and are converted to the overlay's coordinates here, at the one boundary.
//
// Describing every window costs several round trips to the server each, and the overlay asks for
// the list several times a second during a match. So the list is kept, and read again only after
// the server reported a change that could alter it: a window of the root made, mapped, moved,
// restacked or gone (the root's substructure), or one of the properties read here changed on the
// root or on a listed window.
#include "platform/ScreenSpace.h"
#include "platform/X11Connection.h"
#include "platform/X11Platform.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <memory>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tolvane {

namespace {

struct XFreeDeleter {
    void operator()(void* data) const
    {
        if (data != nullptr)
            XFree(data);
    }
};

// A property of 32-bit items (windows, atoms, cardinals); empty when absent or of another type.
std::vector<unsigned long> longProperty(Display* display, Window window, Atom property, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(
            display, window, property, 0, 0x10000, False, type, &actualType, &format, &count, &remaining, &raw)
        != Success)
        return {};
    std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
    if (data == nullptr || actualType != type || format != 32)
        return {};
    // Xlib hands format-32 items to the client as longs.
    const auto* items = reinterpret_cast<const unsigned long*>(data.get());
    return {items, items + count};
}

QString textProperty(Display* display, Window window, Atom property, Atom utf8)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 0x10000, False, AnyPropertyType, &actualType, &format, &count,
            &remaining, &raw)
        != Success)
        return {};
    std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
    if (data == nullptr || format != 8)
        return {};
    const auto* text = reinterpret_cast<const char*>(data.get());
    const auto length = static_cast<qsizetype>(count);
    return actualType == utf8 ? QString::fromUtf8(text, length) : QString::fromLatin1(text, length);
}

QString withoutExeSuffix(QString name)
{
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

// The program named first on a local process's command line, as Wine leaves it there
// ("C:\...\League of Legends.exe"); empty when the process cannot be read.
QString programOfProcess(qint64 pid)
{
    if (pid <= 0)
        return {};
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    QString program = QString::fromLocal8Bit(cmdline.read(4096).split('\0').value(0));
    program = program.mid(std::max(program.lastIndexOf(u'/'), program.lastIndexOf(u'\\')) + 1);
    return program;
}

class X11WindowListImpl final : public X11WindowList {
public:
    X11WindowListImpl()
    {
        if (Display* display = connection_.display()) {
            auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
            atoms_ = Atoms {
                .clientList = atom("_NET_CLIENT_LIST"),
                .clientListStacking = atom("_NET_CLIENT_LIST_STACKING"),
                .supportingWmCheck = atom("_NET_SUPPORTING_WM_CHECK"),
                .wmName = atom("_NET_WM_NAME"),
                .utf8 = atom("UTF8_STRING"),
                .frameExtents = atom("_NET_FRAME_EXTENTS"),
                .wmPid = atom("_NET_WM_PID"),
                .wmState = atom("_NET_WM_STATE"),
                .stateHidden = atom("_NET_WM_STATE_HIDDEN"),
                .stateAbove = atom("_NET_WM_STATE_ABOVE"),
                .stateBelow = atom("_NET_WM_STATE_BELOW"),
                .windowType = atom("_NET_WM_WINDOW_TYPE"),
                .typeDesktop = atom("_NET_WM_WINDOW_TYPE_DESKTOP"),
                .typeDock = atom("_NET_WM_WINDOW_TYPE_DOCK"),
            };
            XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask | PropertyChangeMask);
            // Without an event loop the events wait in the connection until the next listing.
            if (QCoreApplication::instance() != nullptr) {
                notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
                QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { takeEvents(); });
            }
        }
    }

    std::optional<std::vector<WindowInfo>> onScreenWindows() const override
    {
        Display* display = connection_.display();
        const auto height = ScreenSpace::primaryScreenHeight();
        if (display == nullptr || !height)
            return std::nullopt;
        takeEvents();
        if (known_ && knownHeight_ == *height && !changed_)
            return known_;
        // Changes reported from here on are read again next time, even those this reading sees.
        changed_ = false;
        std::vector<WindowInfo> windows;
        for (Window window : frontToBack(display)) {
            if (auto info = describe(display, window, *height))
                windows.push_back(std::move(*info));
        }
        known_ = windows;
        knownHeight_ = *height;
        return windows;
    }

    std::optional<WindowInfo> window(quint64 windowId) const override
    {
        Display* display = connection_.display();
        const auto height = ScreenSpace::primaryScreenHeight();
        if (display == nullptr || !height)
            return std::nullopt;
        return describe(display, static_cast<Window>(windowId), *height);
    }

private:
    // Notes whether any event the server sent so far could change the list.
    void takeEvents() const
    {
        Display* display = connection_.display();
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (changesTheList(event))
                changed_ = true;
        }
    }

    bool changesTheList(const XEvent& event) const
    {
        if (event.type != PropertyNotify)
            return true; // made, mapped, unmapped, moved, resized, restacked, reparented or gone
        // Properties that change all the time (the user-time stamp of every key press in the
        // game) are not read here and change nothing.
        const Atom atom = event.xproperty.atom;
        for (Atom read :
            {atoms_.clientList, atoms_.clientListStacking, atoms_.supportingWmCheck, atoms_.wmName, atoms_.wmPid,
                atoms_.wmState, atoms_.windowType, atoms_.frameExtents, Atom(XA_WM_NAME), Atom(XA_WM_CLASS)}) {
            if (atom == read)
                return true;
        }
        return false;
    }

    struct Atoms {
        Atom clientList = 0, clientListStacking = 0, supportingWmCheck = 0, wmName = 0, utf8 = 0, frameExtents = 0,
             wmPid = 0, wmState = 0, stateHidden = 0, stateAbove = 0, stateBelow = 0, windowType = 0, typeDesktop = 0,
             typeDock = 0;
    };

    // A root property left behind by a window manager that has since gone is not trusted: the
    // check window must still exist and point at itself.
    bool windowManagerRuns(Display* display) const
    {
        X11ErrorTrap trap(display);
        const Window root = DefaultRootWindow(display);
        const auto check = longProperty(display, root, atoms_.supportingWmCheck, XA_WINDOW);
        if (check.empty())
            return false;
        const auto self = longProperty(display, check.front(), atoms_.supportingWmCheck, XA_WINDOW);
        return !trap.failed() && !self.empty() && self.front() == check.front();
    }

    std::vector<Window> frontToBack(Display* display) const
    {
        const Window root = DefaultRootWindow(display);
        std::vector<Window> windows;
        if (windowManagerRuns(display)) {
            // Both lists are bottom to top (the plain list in mapping order, close enough).
            auto stacking = longProperty(display, root, atoms_.clientListStacking, XA_WINDOW);
            if (stacking.empty())
                stacking = longProperty(display, root, atoms_.clientList, XA_WINDOW);
            windows.assign(stacking.begin(), stacking.end());
        } else {
            X11ErrorTrap trap(display);
            Window rootReturn = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) != 0 && children != nullptr) {
                windows.assign(children, children + count);
                XFree(children);
            }
        }
        std::reverse(windows.begin(), windows.end());
        return windows;
    }

    std::optional<WindowInfo> describe(Display* display, Window window, double primaryHeight) const
    {
        X11ErrorTrap trap(display);
        XWindowAttributes attributes {};
        if (XGetWindowAttributes(display, window, &attributes) == 0 || trap.failed())
            return std::nullopt;
        // From now on the server reports this window's changes (the trap catches a window that
        // is gone by then).
        XSelectInput(display, window, StructureNotifyMask | PropertyChangeMask);
        if (attributes.map_state != IsViewable || attributes.c_class == InputOnly)
            return std::nullopt;

        const auto states = longProperty(display, window, atoms_.wmState, XA_ATOM);
        const auto types = longProperty(display, window, atoms_.windowType, XA_ATOM);
        auto has = [](const std::vector<unsigned long>& list, Atom atom) {
            return std::find(list.begin(), list.end(), atom) != list.end();
        };
        if (has(states, atoms_.stateHidden) || has(types, atoms_.typeDesktop) || has(types, atoms_.typeDock))
            return std::nullopt;

        WindowInfo info;
        info.title = textProperty(display, window, atoms_.wmName, atoms_.utf8);
        if (info.title.isEmpty())
            info.title = textProperty(display, window, XA_WM_NAME, atoms_.utf8);
        // Qt's own invisible helper windows are no one's idea of a window on screen.
        if (info.title.startsWith(QStringLiteral("Qt Selection Owner"))
            || info.title.startsWith(QStringLiteral("Qt Clipboard Requestor")))
            return std::nullopt;

        if (const auto pid = longProperty(display, window, atoms_.wmPid, XA_CARDINAL); !pid.empty())
            info.processId = static_cast<qint64>(pid.front());

        // The owner: Wine names a window's class after the Windows program that made it
        // ("league of legends.exe" for the game's own window), so the class without ".exe" is
        // the process name a Mac would list for the game. Without a class, the program on the
        // owning process's command line stands in.
        XClassHint hint {};
        if (XGetClassHint(display, window, &hint) != 0) {
            const char* name = hint.res_class != nullptr && *hint.res_class != '\0' ? hint.res_class : hint.res_name;
            if (name != nullptr)
                info.ownerName = withoutExeSuffix(QString::fromLocal8Bit(name));
            if (hint.res_name != nullptr)
                XFree(hint.res_name);
            if (hint.res_class != nullptr)
                XFree(hint.res_class);
        }
        if (info.ownerName.isEmpty())
            info.ownerName = withoutExeSuffix(programOfProcess(info.processId));

        int x = 0;
        int y = 0;
        Window child = 0;
        if (XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child) == 0)
            return std::nullopt;
        QRectF frame(x, y, attributes.width, attributes.height);
        if (const auto extents = longProperty(display, window, atoms_.frameExtents, XA_CARDINAL); extents.size() == 4) {
            const auto left = static_cast<double>(extents[0]);
            const auto right = static_cast<double>(extents[1]);
            const auto top = static_cast<double>(extents[2]);
            const auto bottom = static_cast<double>(extents[3]);
            frame.adjust(-left, -top, right, bottom);
        }
        info.frame = ScreenSpace::flipped(frame, primaryHeight);

        if (has(states, atoms_.stateAbove) || attributes.override_redirect != 0)
            info.layer = 1;
        else if (has(states, atoms_.stateBelow))
            info.layer = -1;

        if (trap.failed())
            return std::nullopt;
        return info;
    }

    X11Connection connection_;
    Atoms atoms_;
    std::unique_ptr<QSocketNotifier> notifier_;
    mutable std::optional<std::vector<WindowInfo>> known_;
    mutable double knownHeight_ = 0;
    mutable bool changed_ = true;
};

} // namespace

std::unique_ptr<X11WindowList> makeX11WindowList()
{
    return std::make_unique<X11WindowListImpl>();
}

} // namespace tolvane
