// Feeds arbitrary bytes to every reader of the statistics service's replies: the reply-envelope
// reader, the analysis notation parser, and (on small inputs, where the backtracking reference
// stays fast) checks that the linear record scanner agrees with the regular expressions it stands
// in for. Any crash, sanitizer report or disagreement is a finding.

#include "core/advice/MetrionDSLParser.h"
#include "core/advice/MetrionMCPClient.h"

#include "NotationReference.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&)
{
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = (qInstallMessageHandler(quiet), true);
    (void)installed;

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);

    (void)tolvane::MetrionMCPClient::extractToolText(bytes);
    (void)tolvane::MetrionDSLParser().parse(text);

    if (size <= 4096) {
        if (auto kind = tolvane::test::scannerDisagreement(text)) {
            std::fprintf(stderr, "scanner and patterns disagree on %s\n", qPrintable(*kind));
            std::abort();
        }
    }
    return 0;
}
