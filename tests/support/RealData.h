#pragma once
// The real documents the tests read in place, from the folder the build names
// (TOLVANE_REALDATA_DIR). Without that folder, a test that asks for one is skipped, saying where
// it looked; under CI=true it fails instead, since there a missing folder is a broken set-up.

#include <QByteArray>
#include <QString>

namespace tolvane::test {

// The path of a document, for readers that open it themselves.
QString realDataPath(const QString& relativePath);
// A document's bytes.
QByteArray realData(const QString& relativePath);

// For fixtures whose tests first read a document inside the event loop (a peer's handler, a
// loader), where a missing folder cannot end the test: called from SetUp, it ends the test there,
// skipped (failed under CI), before its body runs.
void requireRealData();

} // namespace tolvane::test
