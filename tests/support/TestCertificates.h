#pragma once
// Certificates made at run time for the loopback TLS tests: a test CA (the pinned anchor in
// tests), a rogue CA, leaves for 127.0.0.1 and for another host name, an expired leaf, and a
// leaf issued through an intermediate.

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

namespace tolvane::test {

struct Identity {
    QSslCertificate certificate;
    QSslKey key;
    QList<QSslCertificate> chain; // extra certificates the server sends after its own
};

class TestCertificates {
public:
    // Built once per process (key generation is slow under sanitizers).
    static const TestCertificates& instance();

    QSslCertificate anchor; // the test CA
    QByteArray anchorPem;
    Identity loopback; // CN and SAN 127.0.0.1, issued by the anchor
    Identity otherHost; // CN and SAN "other.example", issued by the anchor
    Identity expired; // 127.0.0.1, issued by the anchor, validity ended yesterday
    Identity viaIntermediate; // 127.0.0.1, issued by an intermediate CA under the anchor
    Identity rogue; // 127.0.0.1, issued by an unrelated CA
};

} // namespace tolvane::test
