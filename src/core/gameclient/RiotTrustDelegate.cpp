#include "core/gameclient/RiotTrustDelegate.h"

#include "core/support/Log.h"
#include "core/support/ResourceBundle.h"

#include <QCryptographicHash>
#include <QFile>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QStringDecoder>

#include <memory>

#include <openssl/evp.h>
#include <openssl/sha.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

TOLVANE_LOG_CATEGORY(lcTls, "tls")

namespace tolvane {

namespace {

struct X509Free {
    void operator()(X509* x) const { X509_free(x); }
};
using X509Ptr = std::unique_ptr<X509, X509Free>;

X509Ptr toX509(const QSslCertificate& certificate)
{
    const QByteArray der = certificate.toDer();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(der.constData());
    return X509Ptr(d2i_X509(nullptr, &p, der.size()));
}

bool isBase64Char(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'+' || c == u'/'
        || c == u'=';
}

} // namespace

RiotTrustDelegate::RiotTrustDelegate()
    : anchor_(riotAnchor())
{
    static const auto rejections = std::make_shared<log::RepeatedLine>();
    rejections_ = rejections;
}

RiotTrustDelegate::RiotTrustDelegate(std::optional<QSslCertificate> anchor, log::RepeatedLine::Clock clock)
    : anchor_(std::move(anchor))
    , rejections_(std::make_shared<log::RepeatedLine>(std::chrono::minutes(1), std::move(clock)))
{
}

bool RiotTrustDelegate::pins(const QUrl& url) const
{
    // Exactly the IPv4 loopback address: "localhost" and "::1" keep the default handling.
    return url.host() == QLatin1String("127.0.0.1");
}

void RiotTrustDelegate::prepare(QNetworkRequest& request) const
{
    if (!anchor_)
        return;
    QSslConfiguration config = request.sslConfiguration();
    config.setCaCertificates({*anchor_});
    request.setSslConfiguration(config);
}

TlsTrustPolicy::Decision RiotTrustDelegate::evaluate(const QUrl& url, const QList<QSslCertificate>& chain) const
{
    if (!pins(url))
        return Decision::defaultHandling;
    if (!anchor_) {
        log::error(lcTls(),
            QStringLiteral("Riot trust anchor unavailable (bundled riotgames.pem missing or invalid) — "
                           "deferring to default handling for 127.0.0.1"));
        return Decision::defaultHandling;
    }
    if (evaluatePinned(chain, *anchor_))
        return Decision::accept;
    switch (rejections_->occurred()) {
    case log::RepeatedLine::Say::line:
        log::error(lcTls(),
            QStringLiteral("Riot TLS pin REJECTED the cert presented on 127.0.0.1 — not signed by Riot's CA "
                           "(possible MITM or cert rotation)"));
        break;
    case log::RepeatedLine::Say::count:
        log::error(lcTls(),
            QStringLiteral("Riot TLS pin rejected %1 more certs presented on 127.0.0.1 since it last said so")
                .arg(rejections_->count()));
        break;
    case log::RepeatedLine::Say::nothing:
        break;
    }
    return Decision::reject;
}

QByteArray RiotTrustDelegate::identity() const
{
    return anchor_ ? QByteArrayLiteral("riot-anchor:") + anchor_->digest(QCryptographicHash::Sha256).toHex()
                   : QByteArrayLiteral("riot-anchor:none");
}

const std::optional<QSslCertificate>& RiotTrustDelegate::riotAnchor()
{
    static const std::optional<QSslCertificate> anchor = loadRiotAnchor();
    return anchor;
}

std::optional<QSslCertificate> RiotTrustDelegate::loadRiotAnchor()
{
    return loadAnchor(
        tolvaneCoreBundle().url(QStringLiteral("riotgames"), QStringLiteral("pem")), QString::fromLatin1(pinnedDigest));
}

std::optional<QSslCertificate> RiotTrustDelegate::loadAnchor(const std::optional<QString>& path, const QString& digest)
{
    const QString notFound = QStringLiteral("riotgames.pem not found in bundle");
    if (!path) {
        log::error(lcTls(), notFound);
        return std::nullopt;
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        log::error(lcTls(), notFound);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        log::error(lcTls(), notFound);
        return std::nullopt;
    }
    const std::optional<QByteArray> der = derFromPEM(text);
    if (!der) {
        log::error(lcTls(), QStringLiteral("riotgames.pem could not be base64-decoded"));
        return std::nullopt;
    }
    const QString hex = sha256Hex(*der);
    if (hex != digest) {
        log::error(
            lcTls(), QStringLiteral("riotgames.pem fingerprint mismatch (%1) — refusing to use anchor").arg(hex));
        return std::nullopt;
    }
    QSslCertificate certificate(*der, QSsl::Der);
    if (certificate.isNull()) {
        log::error(lcTls(), QStringLiteral("SecCertificateCreateWithData failed for riotgames.pem"));
        return std::nullopt;
    }
    return certificate;
}

std::optional<QByteArray> RiotTrustDelegate::derFromPEM(const QString& text)
{
    static const QRegularExpression lineBreaks(
        QStringLiteral("\r\n|[\n\v\f\r\u0085\u2028\u2029]"), QRegularExpression::UseUnicodePropertiesOption);
    QString joined;
    for (const QString& line : text.split(lineBreaks, Qt::SkipEmptyParts)) {
        if (!line.contains(QLatin1String("-----")))
            joined += line;
    }
    QByteArray base64;
    base64.reserve(joined.size());
    for (QChar c : joined)
        if (isBase64Char(c.unicode()))
            base64.append(static_cast<char>(c.unicode()));
    if (base64.isEmpty())
        return QByteArray();
    // Strict decoding: whole groups of four, padding only at the end.
    if (base64.size() % 4 != 0)
        return std::nullopt;
    const qsizetype firstPad = base64.indexOf('=');
    if (firstPad >= 0 && (firstPad < base64.size() - 2 || base64.mid(firstPad).count('=') != base64.size() - firstPad))
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return decoded.decoded;
}

QString RiotTrustDelegate::sha256Hex(const QByteArray& bytes)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<size_t>(bytes.size()), digest);
    QString hex;
    hex.reserve(2 * SHA256_DIGEST_LENGTH);
    for (unsigned char b : digest)
        hex += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
    return hex;
}

bool RiotTrustDelegate::evaluatePinned(const QList<QSslCertificate>& chain, const QSslCertificate& anchor)
{
    if (chain.isEmpty())
        return false;
    X509Ptr anchorX509 = toX509(anchor);
    X509Ptr leaf = toX509(chain.front());
    if (!anchorX509 || !leaf)
        return false;

    std::unique_ptr<X509_STORE, decltype(&X509_STORE_free)> store(X509_STORE_new(), X509_STORE_free);
    if (!store || X509_STORE_add_cert(store.get(), anchorX509.get()) != 1)
        return false;

    std::unique_ptr<STACK_OF(X509), void (*)(STACK_OF(X509)*)> untrusted(
        sk_X509_new_null(), [](STACK_OF(X509) * s) { sk_X509_pop_free(s, X509_free); });
    if (!untrusted)
        return false;
    for (qsizetype i = 1; i < chain.size(); ++i) {
        X509Ptr cert = toX509(chain[i]);
        if (!cert || sk_X509_push(untrusted.get(), cert.get()) == 0)
            return false;
        cert.release();
    }

    std::unique_ptr<X509_STORE_CTX, decltype(&X509_STORE_CTX_free)> ctx(X509_STORE_CTX_new(), X509_STORE_CTX_free);
    if (!ctx || X509_STORE_CTX_init(ctx.get(), store.get(), leaf.get(), untrusted.get()) != 1)
        return false;
    // Only the anchor is trusted: the store holds nothing else, and no default paths are loaded.
    return X509_verify_cert(ctx.get()) == 1;
}

} // namespace tolvane
