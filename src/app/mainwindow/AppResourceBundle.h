#pragma once
// The application module's resource folder ("Tolvane_TolvaneApp.bundle": the wordmark, icons),
// searched like the core module's and just as fatal when missing.

#include "core/support/ResourceBundle.h"

namespace tolvane {

inline const QString tolvaneAppBundleName = QStringLiteral("Tolvane_TolvaneApp.bundle");

// Searched once on first use (thread-safe); a miss stops the program.
const ResourceBundle& tolvaneAppBundle();

} // namespace tolvane
