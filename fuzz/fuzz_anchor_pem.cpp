// Feeds arbitrary bytes to the loading of the pinned trust's anchor, as the bundled PEM file
// could hold them, and to the pin itself as a presented chain. Checks that the PEM reader's
// result does not depend on line ends and reads back from a PEM written from it, that a file
// vetted against its own digest gives a usable anchor, that only the bundled certificate passes
// the pinned digest, and that no chain made of the input passes the pin unless it is the anchor.

#include "core/gameclient/RiotTrustDelegate.h"

#include "FuzzCheck.h"

#include <QByteArray>
#include <QSslCertificate>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <optional>

namespace {

using namespace tolvane;
using fuzz::require;

QString pemOf(const QByteArray& der)
{
    const QByteArray base64 = der.toBase64();
    QString pem = QStringLiteral("-----BEGIN CERTIFICATE-----\n");
    for (qsizetype at = 0; at < base64.size(); at += 64)
        pem += QString::fromLatin1(base64.mid(at, 64)) + QLatin1Char('\n');
    return pem + QStringLiteral("-----END CERTIFICATE-----\n");
}

std::optional<QString> utf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    return decoder.hasError() ? std::nullopt : std::optional<QString>(text);
}

void checkAnchorFile(const QByteArray& bytes, const std::optional<QByteArray>& der)
{
    static const QString path = fuzz::scratchFile(QStringLiteral("riotgames.pem"));
    fuzz::writeFile(path, bytes);
    const auto& bundled = RiotTrustDelegate::riotAnchor();
    const auto pinned = RiotTrustDelegate::loadAnchor(path, QString::fromLatin1(RiotTrustDelegate::pinnedDigest));
    require(!pinned || (bundled && pinned->toDer() == bundled->toDer()), "only the bundled certificate passes the pin");
    if (!der)
        return;
    const auto anchor = RiotTrustDelegate::loadAnchor(path, RiotTrustDelegate::sha256Hex(*der));
    if (!anchor)
        return;
    require(!anchor->isNull(), "a loaded anchor is a certificate");
    (void)RiotTrustDelegate::evaluatePinned({*anchor}, *anchor);
}

void checkChain(const QByteArray& bytes)
{
    const auto& bundled = RiotTrustDelegate::riotAnchor();
    require(bundled.has_value(), "the bundled anchor loads");
    for (const QSsl::EncodingFormat format : {QSsl::Pem, QSsl::Der}) {
        const QList<QSslCertificate> chain = QSslCertificate::fromData(bytes, format);
        if (chain.isEmpty())
            continue;
        if (RiotTrustDelegate::evaluatePinned(chain, *bundled))
            require(chain.front().toDer() == bundled->toDer(), "no made-up chain passes the pin");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray bytes = fuzz::bytes(data, size);
    std::optional<QByteArray> der;
    if (const auto text = utf8(bytes)) {
        der = RiotTrustDelegate::derFromPEM(*text);
        QString crlf = *text;
        crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        require(RiotTrustDelegate::derFromPEM(crlf) == der, "line ends do not matter");
        if (der)
            require(RiotTrustDelegate::derFromPEM(pemOf(*der)) == der, "a PEM written from the bytes reads back");
    }
    checkAnchorFile(bytes, der);
    checkChain(bytes);
    return 0;
}
