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

} // namespace tolvane::test
