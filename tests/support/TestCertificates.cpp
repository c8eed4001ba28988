#include "TestCertificates.h"

#include <memory>
#include <stdexcept>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace tolvane::test {

namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

KeyPtr makeKey()
{
    // EC keys are quick to make, even under sanitizers.
    return KeyPtr(EVP_EC_gen("P-256"), EVP_PKEY_free);
}

void addExtension(X509* cert, X509* issuer, int nid, const char* value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext)
        throw std::runtime_error("extension");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

CertPtr makeCert(const char* cn, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey, bool ca, const char* san,
    long notBeforeSecs, long notAfterSecs)
{
    static long serial = 1;
    CertPtr cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial++);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), notBeforeSecs);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), notAfterSecs);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(cn), -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    if (ca) {
        addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        addExtension(cert.get(), signer, NID_basic_constraints, "CA:FALSE");
        addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
    }
    if (san)
        addExtension(cert.get(), signer, NID_subject_alt_name, san);
    if (!X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()))
        throw std::runtime_error("sign");
    return cert;
}

QSslCertificate toQt(X509* cert)
{
    unsigned char* der = nullptr;
    int len = i2d_X509(cert, &der);
    QSslCertificate out(QByteArray(reinterpret_cast<char*>(der), len), QSsl::Der);
    OPENSSL_free(der);
    return out;
}

QSslKey toQt(EVP_PKEY* key)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
    PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    long len = BIO_get_mem_data(bio.get(), &data);
    return QSslKey(QByteArray(data, len), QSsl::Ec);
}

constexpr long kDay = 24 * 3600;

} // namespace

const TestCertificates& TestCertificates::instance()
{
    static const TestCertificates certs = [] {
        TestCertificates c;
        KeyPtr caKey = makeKey();
        CertPtr ca = makeCert("Tolvane Test Root", caKey.get(), nullptr, nullptr, true, nullptr, -kDay, 365 * kDay);
        c.anchor = toQt(ca.get());
        c.anchorPem = c.anchor.toPem();

        auto leaf = [&](const char* cn, const char* san, X509* issuer, EVP_PKEY* issuerKey, long from, long to) {
            KeyPtr key = makeKey();
            CertPtr cert = makeCert(cn, key.get(), issuer, issuerKey, false, san, from, to);
            return Identity {toQt(cert.get()), toQt(key.get()), {}};
        };
        c.loopback = leaf("127.0.0.1", "IP:127.0.0.1", ca.get(), caKey.get(), -kDay, 30 * kDay);
        c.otherHost = leaf("other.example", "DNS:other.example", ca.get(), caKey.get(), -kDay, 30 * kDay);
        c.expired = leaf("127.0.0.1", "IP:127.0.0.1", ca.get(), caKey.get(), -10 * kDay, -kDay);

        KeyPtr midKey = makeKey();
        CertPtr mid = makeCert(
            "Tolvane Test Intermediate", midKey.get(), ca.get(), caKey.get(), true, nullptr, -kDay, 100 * kDay);
        c.viaIntermediate = leaf("127.0.0.1", "IP:127.0.0.1", mid.get(), midKey.get(), -kDay, 30 * kDay);
        c.viaIntermediate.chain = {toQt(mid.get())};

        KeyPtr rogueKey = makeKey();
        CertPtr rogueCa = makeCert("Rogue Root", rogueKey.get(), nullptr, nullptr, true, nullptr, -kDay, 365 * kDay);
        c.rogue = leaf("127.0.0.1", "IP:127.0.0.1", rogueCa.get(), rogueKey.get(), -kDay, 30 * kDay);
        return c;
    }();
    return certs;
}

} // namespace tolvane::test
