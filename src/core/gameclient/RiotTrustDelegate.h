#pragma once
// Trust for the game's loopback interfaces: a server on 127.0.0.1 is accepted only when its
// chain leads to the publisher's root certificate (shipped as "riotgames.pem" and vetted by its
// SHA-256). The chain and its dates are checked; host names and IP addresses are not. Every other
// host keeps the default verification.

#include "core/support/HttpSession.h"
#include "core/support/Log.h"

#include <QByteArray>
#include <QSslCertificate>
#include <QString>

#include <memory>
#include <optional>

namespace tolvane {

class RiotTrustDelegate : public TlsTrustPolicy {
public:
    // The SHA-256 of the DER bytes of the bundled anchor.
    static constexpr const char* pinnedDigest = "ca8c9d325b4cdc464c6c94a585c85e91ec23d40ba5bf3ae2822b951a4a504ea3";

    // Uses the bundled anchor, loaded once per process. Rejections are counted process-wide.
    RiotTrustDelegate();
    // Uses an explicit anchor (tests); none behaves like a missing resource. Rejections are
    // counted by this delegate alone, on the given clock.
    explicit RiotTrustDelegate(std::optional<QSslCertificate> anchor, log::RepeatedLine::Clock clock = {});

    bool pins(const QUrl& url) const override;
    void prepare(QNetworkRequest& request) const override;
    Decision evaluate(const QUrl& url, const QList<QSslCertificate>& chain) const override;
    // Two delegates with the same anchor decide alike.
    QByteArray identity() const override;

    // The bundled anchor: loaded on first read, and a missing one is remembered too.
    static const std::optional<QSslCertificate>& riotAnchor();
    static std::optional<QSslCertificate> loadRiotAnchor();
    // The loader behind loadRiotAnchor, for a given file (none: not in the bundle) and digest.
    static std::optional<QSslCertificate> loadAnchor(const std::optional<QString>& path, const QString& digest);
    static std::optional<QByteArray> derFromPEM(const QString& text);
    static QString sha256Hex(const QByteArray& bytes);
    // Chain (leaf first) against the anchor alone: chain and validity dates, no host check.
    static bool evaluatePinned(const QList<QSslCertificate>& chain, const QSslCertificate& anchor);

private:
    std::optional<QSslCertificate> anchor_;
    // Something else on the loopback port refuses the pin at every handshake, several times a
    // second for as long as it listens: the rejection is said once, then counted.
    std::shared_ptr<log::RepeatedLine> rejections_;
};

} // namespace tolvane
