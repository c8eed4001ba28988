#include "RealData.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tolvane::test {

namespace {

const QString folder = QStringLiteral(TOLVANE_REALDATA_DIR);

// Unwinds a test body that asked for a document that is not there; gtest's report of the
// exception is swallowed below, so the test ends as recorded (skipped, or failed under CI).
struct MissingRealData { };

// Once a test is marked for the missing folder, everything else it reports is a consequence of
// the missing documents and is dropped until the test ends.
class DropUntilTestEnd : public ::testing::EmptyTestEventListener {
public:
    static void dropRestOfTest()
    {
        static DropUntilTestEnd* listener = [] {
            auto* made = new DropUntilTestEnd;
            ::testing::UnitTest::GetInstance()->listeners().Append(made); // gtest owns it now
            return made;
        }();
        if (!listener->interceptor_)
            listener->interceptor_ = std::make_unique<::testing::ScopedFakeTestPartResultReporter>(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &listener->dropped_);
    }

    void OnTestEnd(const ::testing::TestInfo&) override { interceptor_.reset(); }

private:
    ::testing::TestPartResultArray dropped_;
    std::unique_ptr<::testing::ScopedFakeTestPartResultReporter> interceptor_;
};

void onMissingFolder()
{
    const QByteArray reason = "real documents not found in " + QFile::encodeName(folder) + " (TOLVANE_REALDATA_DIR)";
    static bool said = false;
    if (!said) {
        said = true;
        std::fprintf(stderr, "%s: the tests that read them are skipped\n", reason.constData());
    }
    if (!::testing::UnitTest::GetInstance()->current_test_info())
        return; // listing parameters before any test runs: the tests themselves will say
    const bool underCi = qEnvironmentVariable("CI") == QLatin1String("true");
    if (underCi)
        [&] { FAIL() << reason.constData(); }();
    else
        [&] { GTEST_SKIP() << reason.constData(); }();
    DropUntilTestEnd::dropRestOfTest();
    // A test body runs outside any event loop and can be unwound; a peer's handler inside one
    // cannot, so there the test goes on without the document and its failures are dropped.
    if (QThread::currentThread()->loopLevel() == 0)
        throw MissingRealData {};
}

} // namespace

QString realDataPath(const QString& relativePath)
{
    if (!QFileInfo(folder).isDir())
        onMissingFolder();
    return folder + QLatin1Char('/') + relativePath;
}

void requireRealData()
{
    if (!QFileInfo(folder).isDir())
        onMissingFolder();
}

QByteArray realData(const QString& relativePath)
{
    QFile file(realDataPath(relativePath));
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo(folder).isDir())
            return {}; // the running test is already marked; see onMissingFolder
        // A document missing from a folder that is there is a fault of the test itself.
        std::fprintf(stderr, "missing real document %s\n", qPrintable(relativePath));
        std::abort();
    }
    return file.readAll();
}

} // namespace tolvane::test
