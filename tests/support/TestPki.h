#pragma once

// A throw-away public-key infrastructure for tests, made at test time by the
// `openssl` program in a directory the test owns: a root authority, and
// certificates issued by any authority with the extensions the test names.
// Every file is PEM; the DER of each certificate is kept for convenience.
// Fixed names and serials keep the output stable where a test compares it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk::test {

struct TestCertificate {
    QString name;
    QString certificatePath; // PEM
    QString keyPath;         // PEM, unencrypted PKCS#8
    QByteArray der;
    bool isValid() const { return !der.isEmpty(); }
};

struct CertificateRequest {
    QString name;                 // file stem and common name
    QString subject;              // "/CN=..." style; default "/C=TR/O=Velk Test/CN=<name>"
    QString keyAlgorithm = QStringLiteral("rsa:2048"); // or "ec:prime256v1", "ed25519"
    // OpenSSL extension lines, e.g. "basicConstraints=critical,CA:TRUE",
    // "extendedKeyUsage=critical,timeStamping", "authorityInfoAccess=OCSP;URI:http://127.0.0.1:1/".
    QStringList extensions;
    // Explicit validity (YYYYMMDDHHMMSSZ or YYMMDDHHMMSSZ); empty
    // notBefore means now, empty notAfter means `days` from now.
    QString notBefore;
    QString notAfter;
    int days = 365;
    qint64 serial = 0; // 0: next serial of this PKI
};

// The arguments of `faketime` that run `openssl` at the given time: "+301s"
// or "-2d" shift the clock, anything else ("2026-01-01 12:00:00") is absolute.
QStringList fakeTimeArguments(const QString& fakeTime);

class TestPki {
public:
    // Makes the directory's root authority ("Velk Test Root", RSA 2048).
    explicit TestPki(const QString& directory);

    bool isValid() const { return m_root.isValid(); }
    QString error() const { return m_error; }
    QString directory() const { return m_directory; }
    const TestCertificate& root() const { return m_root; }

    // Issues a certificate signed by `issuer`; an invalid certificate and
    // error() on failure.
    TestCertificate issue(const CertificateRequest& request, const TestCertificate& issuer);

    // Common shapes.
    TestCertificate issueAuthority(const QString& name, const TestCertificate& issuer);
    TestCertificate issueSigner(const QString& name, const TestCertificate& issuer,
                                const QStringList& extraExtensions = {});
    TestCertificate issueTimeStampAuthority(const QString& name, const TestCertificate& issuer);
    TestCertificate issueOcspResponder(const QString& name, const TestCertificate& issuer);

    // A PKCS#12 bundle of the certificate, its key and `chain`, with the
    // given password (may be empty); empty path on failure.
    QString exportPkcs12(const TestCertificate& certificate, const QList<TestCertificate>& chain,
                         const QString& password, const QString& friendlyName);

    // Runs `openssl` with the arguments in the PKI directory; true on exit
    // status 0. Standard output is returned through `output` when given.
    bool openssl(const QStringList& arguments, QByteArray* output = nullptr, const QByteArray& input = {});

    // The same under `faketime <fakeTime>` (for example "2026-01-01 12:00:00"
    // or "+301s"); plain `openssl` when fakeTime is empty.
    bool opensslAt(const QString& fakeTime, const QStringList& arguments, QByteArray* output = nullptr,
                   const QByteArray& input = {});

    // The issued-certificate database that `openssl ocsp -index` reads.
    QString indexPath() const { return m_directory + QStringLiteral("/index.txt"); }

    // Marks a certificate issued by `issuer` revoked, at the (fake) time given.
    bool revoke(const TestCertificate& certificate, const TestCertificate& issuer, const QString& fakeTime = {});

    // A DER CRL of `issuer` listing every revoked certificate of the index,
    // issued at the (fake) time given and valid for `hours`; `extensions` are
    // CRL extension lines (e.g. an issuing distribution point). Empty on failure.
    QByteArray makeCrl(const TestCertificate& issuer, int hours, const QString& fakeTime = {},
                       const QStringList& extensions = {});

    // An `openssl ts -reply` configuration for a time-stamp authority whose
    // replies carry `chain`; `digests` is the comma-separated list of accepted imprint
    // algorithms ("sha256", "sha1"...). The configuration's path, or empty.
    QString writeTsaConfig(const TestCertificate& tsa, const QList<TestCertificate>& chain,
                           const QString& digests = QStringLiteral("sha256, sha384, sha512"));

private:
    TestCertificate makeRoot();

    QString m_directory;
    QString m_error;
    TestCertificate m_root;
    qint64 m_nextSerial = 0x1000;
};

} // namespace velk::test
