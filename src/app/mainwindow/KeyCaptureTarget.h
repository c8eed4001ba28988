#pragma once
// Which key binding the settings are waiting to capture; held as an optional, none meaning no
// capture is under way.

namespace tolvane {

enum class KeyCaptureTarget { shop, fallback };

} // namespace tolvane
