#pragma once
// The key toggle of the build panels: a press of the shop key (or the fallback key) latches them
// on, the next press off; Esc and leaving the match clear it.

namespace tolvane {

class ShopLatch {
public:
    bool isLatched() const { return isLatched_; }
    void shopKeyEdge() { isLatched_ = !isLatched_; }
    void escEdge() { isLatched_ = false; }
    void leftGame() { escEdge(); }

private:
    bool isLatched_ = false;
};

} // namespace tolvane
