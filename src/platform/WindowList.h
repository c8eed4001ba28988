#pragma once
// The windows on screen as the window system lists them, front to back, with their frames in
// screen coordinates (points, origin at the bottom left of the primary screen, y upward).

#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace tolvane {

struct WindowInfo {
    // The name of the program that owns the window (see the implementation for how it is found).
    QString ownerName;
    QString title;
    qint64 processId = 0; // 0 when unknown
    QRectF frame; // including the window manager's decoration
    // Stacking band: 0 normal, positive kept above others, negative kept below.
    int layer = 0;

    bool operator==(const WindowInfo&) const = default;
};

class WindowList {
public:
    virtual ~WindowList() = default;
    // On-screen windows without desktop elements (desktop, dock), frontmost first; none when the
    // window system cannot be asked or the screens cannot be measured.
    virtual std::optional<std::vector<WindowInfo>> onScreenWindows() const = 0;
};

// Test double: answers with whatever it was given.
class FakeWindowList final : public WindowList {
public:
    std::optional<std::vector<WindowInfo>> windows = std::vector<WindowInfo> {};
    std::optional<std::vector<WindowInfo>> onScreenWindows() const override { return windows; }
};

} // namespace tolvane
