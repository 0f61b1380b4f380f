#include "TestPki.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace velk::test {

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.flush();
}

QStringList keyArguments(const QString& algorithm, const QString& keyPath)
{
    if (algorithm.startsWith(QLatin1String("ec:")))
        return {QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("EC"),
                QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:") + algorithm.mid(3),
                QStringLiteral("-out"), keyPath};
    if (algorithm == QLatin1String("ed25519"))
        return {QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("ED25519"),
                QStringLiteral("-out"), keyPath};
    const QString bits = algorithm.startsWith(QLatin1String("rsa:")) ? algorithm.mid(4) : QStringLiteral("2048");
    return {QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("RSA"), QStringLiteral("-pkeyopt"),
            QStringLiteral("rsa_keygen_bits:") + bits, QStringLiteral("-out"), keyPath};
}

} // namespace

QStringList fakeTimeArguments(const QString& fakeTime)
{
    // "+301s" and "-2d" shift the clock; anything else is an absolute time.
    if (fakeTime.startsWith(QLatin1Char('+')) || fakeTime.startsWith(QLatin1Char('-')))
        return {QStringLiteral("-f"), fakeTime, QStringLiteral("openssl")};
    return {fakeTime, QStringLiteral("openssl")};
}

TestPki::TestPki(const QString& directory) : m_directory(directory)
{
    QDir().mkpath(m_directory);
    m_root = makeRoot();
}

bool TestPki::openssl(const QStringList& arguments, QByteArray* output, const QByteArray& input)
{
    return opensslAt(QString(), arguments, output, input);
}

bool TestPki::opensslAt(const QString& fakeTime, const QStringList& arguments, QByteArray* output,
                        const QByteArray& input)
{
    QProcess process;
    process.setWorkingDirectory(m_directory);
    if (fakeTime.isEmpty())
        process.start(QStringLiteral("openssl"), arguments);
    else
        process.start(QStringLiteral("faketime"), fakeTimeArguments(fakeTime) + arguments);
    if (!process.waitForStarted(10000)) {
        m_error = QStringLiteral("openssl did not start");
        return false;
    }
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(1000);
        m_error = QStringLiteral("openssl timed out: ") + arguments.join(QLatin1Char(' '));
        return false;
    }
    const QByteArray out = process.readAllStandardOutput();
    if (output != nullptr)
        *output = out;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = QStringLiteral("openssl ") + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ")
                  + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    return true;
}

TestCertificate TestPki::makeRoot()
{
    CertificateRequest request;
    request.name = QStringLiteral("root");
    request.subject = QStringLiteral("/C=TR/O=Velk Test/CN=Velk Test Root");
    request.extensions = {QStringLiteral("basicConstraints=critical,CA:TRUE"),
                          QStringLiteral("keyUsage=critical,keyCertSign,cRLSign"),
                          QStringLiteral("subjectKeyIdentifier=hash")};
    request.days = 3650;
    return issue(request, TestCertificate());
}

TestCertificate TestPki::issue(const CertificateRequest& request, const TestCertificate& issuer)
{
    TestCertificate result;
    result.name = request.name;
    result.keyPath = m_directory + QLatin1Char('/') + request.name + QStringLiteral(".key.pem");
    result.certificatePath = m_directory + QLatin1Char('/') + request.name + QStringLiteral(".pem");
    const QString csrPath = m_directory + QLatin1Char('/') + request.name + QStringLiteral(".csr");
    const QString extPath = m_directory + QLatin1Char('/') + request.name + QStringLiteral(".ext");
    const QString subject = request.subject.isEmpty()
                                ? QStringLiteral("/C=TR/O=Velk Test/CN=") + request.name
                                : request.subject;

    if (!openssl(keyArguments(request.keyAlgorithm, result.keyPath)))
        return TestCertificate();
    QByteArray extensions = "[ext]\n";
    for (const QString& line : request.extensions)
        extensions += line.toUtf8() + '\n';
    if (!issuer.isValid() && !request.extensions.join(QString()).contains(QLatin1String("subjectKeyIdentifier")))
        extensions += "subjectKeyIdentifier=hash\n";
    if (issuer.isValid())
        extensions += "authorityKeyIdentifier=keyid\n";
    if (!writeAll(extPath, extensions)) {
        m_error = QStringLiteral("cannot write ") + extPath;
        return TestCertificate();
    }
    // -utf8: subjects with Turkish letters are read as UTF-8, not Latin-1.
    if (!openssl({QStringLiteral("req"), QStringLiteral("-new"), QStringLiteral("-utf8"), QStringLiteral("-key"),
                  result.keyPath, QStringLiteral("-subj"), subject, QStringLiteral("-out"), csrPath}))
        return TestCertificate();

    // `openssl ca` rather than `x509 -req`: OpenSSL 3.0's x509 cannot set
    // explicit validity dates, which tests of expired and not-yet-valid
    // certificates need.
    const qint64 serial = request.serial != 0 ? request.serial : m_nextSerial++;
    const QString base = m_directory + QLatin1Char('/');
    QDir().mkpath(base + QStringLiteral("issued"));
    QByteArray serialHex = QByteArray::number(serial, 16);
    if (serialHex.size() % 2 != 0)
        serialHex.prepend('0');
    const QByteArray config = "[ca]\ndefault_ca = ca_default\n[ca_default]\n"
                              "database = " + (base + QStringLiteral("index.txt")).toUtf8() + "\n"
                              "new_certs_dir = " + (base + QStringLiteral("issued")).toUtf8() + "\n"
                              "serial = " + (base + QStringLiteral("serial")).toUtf8() + "\n"
                              "default_md = sha256\npolicy = policy_any\nunique_subject = no\n"
                              "email_in_dn = no\ncopy_extensions = none\n"
                              "[policy_any]\ncountryName = optional\norganizationName = optional\n"
                              "commonName = supplied\n";
    if (!QFile::exists(base + QStringLiteral("index.txt")) && !writeAll(base + QStringLiteral("index.txt"), {})) {
        m_error = QStringLiteral("cannot write the certificate index");
        return TestCertificate();
    }
    if (!writeAll(base + QStringLiteral("ca.cnf"), config) || !writeAll(base + QStringLiteral("serial"), serialHex + '\n')) {
        m_error = QStringLiteral("cannot write the authority configuration");
        return TestCertificate();
    }
    QStringList arguments = {QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-notext"),
                             QStringLiteral("-config"), base + QStringLiteral("ca.cnf"), QStringLiteral("-in"), csrPath,
                             QStringLiteral("-extfile"), extPath, QStringLiteral("-extensions"), QStringLiteral("ext"),
                             QStringLiteral("-preserveDN"), QStringLiteral("-out"), result.certificatePath};
    if (issuer.isValid())
        arguments << QStringLiteral("-cert") << issuer.certificatePath << QStringLiteral("-keyfile") << issuer.keyPath;
    else
        arguments << QStringLiteral("-selfsign") << QStringLiteral("-keyfile") << result.keyPath;
    if (!request.notBefore.isEmpty())
        arguments << QStringLiteral("-startdate") << request.notBefore;
    if (!request.notAfter.isEmpty())
        arguments << QStringLiteral("-enddate") << request.notAfter;
    else
        arguments << QStringLiteral("-days") << QString::number(request.days);
    if (!openssl(arguments))
        return TestCertificate();

    QByteArray der;
    if (!openssl({QStringLiteral("x509"), QStringLiteral("-in"), result.certificatePath, QStringLiteral("-outform"),
                  QStringLiteral("DER")},
                 &der)
        || der.isEmpty())
        return TestCertificate();
    result.der = der;
    return result;
}

TestCertificate TestPki::issueAuthority(const QString& name, const TestCertificate& issuer)
{
    CertificateRequest request;
    request.name = name;
    request.extensions = {QStringLiteral("basicConstraints=critical,CA:TRUE"),
                          QStringLiteral("keyUsage=critical,keyCertSign,cRLSign"),
                          QStringLiteral("subjectKeyIdentifier=hash")};
    request.days = 1825;
    return issue(request, issuer);
}

TestCertificate TestPki::issueSigner(const QString& name, const TestCertificate& issuer,
                                     const QStringList& extraExtensions)
{
    CertificateRequest request;
    request.name = name;
    request.extensions = QStringList{QStringLiteral("basicConstraints=critical,CA:FALSE"),
                                     QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation"),
                                     QStringLiteral("subjectKeyIdentifier=hash")}
                         + extraExtensions;
    return issue(request, issuer);
}

TestCertificate TestPki::issueTimeStampAuthority(const QString& name, const TestCertificate& issuer)
{
    CertificateRequest request;
    request.name = name;
    request.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                          QStringLiteral("keyUsage=critical,digitalSignature"),
                          QStringLiteral("extendedKeyUsage=critical,timeStamping"),
                          QStringLiteral("subjectKeyIdentifier=hash")};
    return issue(request, issuer);
}

TestCertificate TestPki::issueOcspResponder(const QString& name, const TestCertificate& issuer)
{
    CertificateRequest request;
    request.name = name;
    request.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                          QStringLiteral("keyUsage=critical,digitalSignature"),
                          QStringLiteral("extendedKeyUsage=critical,OCSPSigning"),
                          QStringLiteral("subjectKeyIdentifier=hash")};
    return issue(request, issuer);
}

QString TestPki::exportPkcs12(const TestCertificate& certificate, const QList<TestCertificate>& chain,
                              const QString& password, const QString& friendlyName)
{
    const QString chainPath = m_directory + QLatin1Char('/') + certificate.name + QStringLiteral(".chain.pem");
    QByteArray chainPem;
    for (const TestCertificate& member : chain)
        chainPem += readAll(member.certificatePath);
    if (!writeAll(chainPath, chainPem))
        return QString();
    const QString out = m_directory + QLatin1Char('/') + certificate.name + QStringLiteral(".p12");
    QStringList arguments = {QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-in"),
                             certificate.certificatePath, QStringLiteral("-inkey"), certificate.keyPath,
                             QStringLiteral("-name"), friendlyName, QStringLiteral("-passout"),
                             QStringLiteral("pass:") + password, QStringLiteral("-out"), out};
    if (!chain.isEmpty())
        arguments << QStringLiteral("-certfile") << chainPath;
    return openssl(arguments) ? out : QString();
}

bool TestPki::revoke(const TestCertificate& certificate, const TestCertificate& issuer, const QString& fakeTime)
{
    return opensslAt(fakeTime, {QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-config"),
                                m_directory + QStringLiteral("/ca.cnf"), QStringLiteral("-cert"), issuer.certificatePath,
                                QStringLiteral("-keyfile"), issuer.keyPath, QStringLiteral("-revoke"),
                                certificate.certificatePath});
}

QByteArray TestPki::makeCrl(const TestCertificate& issuer, int hours, const QString& fakeTime,
                            const QStringList& extensions)
{
    const QString base = m_directory + QLatin1Char('/');
    QByteArray config = readAll(base + QStringLiteral("ca.cnf"));
    config += "[crl_ext]\n";
    for (const QString& line : extensions)
        config += line.toUtf8() + '\n';
    const QString configPath = base + issuer.name + QStringLiteral(".crl.cnf");
    const QString pemPath = base + issuer.name + QStringLiteral(".crl.pem");
    if (!writeAll(configPath, config))
        return {};
    QStringList arguments = {QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-gencrl"),
                             QStringLiteral("-config"), configPath, QStringLiteral("-cert"), issuer.certificatePath,
                             QStringLiteral("-keyfile"), issuer.keyPath, QStringLiteral("-crlhours"),
                             QString::number(hours), QStringLiteral("-out"), pemPath};
    if (!extensions.isEmpty())
        arguments << QStringLiteral("-crlexts") << QStringLiteral("crl_ext");
    QByteArray der;
    if (!opensslAt(fakeTime, arguments)
        || !openssl({QStringLiteral("crl"), QStringLiteral("-in"), pemPath, QStringLiteral("-outform"),
                     QStringLiteral("DER")},
                    &der))
        return {};
    return der;
}

QString TestPki::writeTsaConfig(const TestCertificate& tsa, const QList<TestCertificate>& chain,
                                const QString& digests)
{
    const QString base = m_directory + QLatin1Char('/');
    QByteArray chainPem;
    for (const TestCertificate& member : chain)
        chainPem += readAll(member.certificatePath);
    const QString chainPath = base + tsa.name + QStringLiteral(".tsachain.pem");
    const QString serialPath = base + tsa.name + QStringLiteral(".tsaserial");
    QString digestNames = digests;
    digestNames.remove(QLatin1Char(' ')).replace(QLatin1Char(','), QLatin1Char('-'));
    const QString configPath = base + tsa.name + QLatin1Char('.') + digestNames + QStringLiteral(".tsa.cnf");
    const QByteArray config = "[tsa]\ndefault_tsa = tsa_config\n[tsa_config]\n"
                              "serial = " + serialPath.toUtf8() + "\n"
                              "crypto_device = builtin\n"
                              "signer_cert = " + tsa.certificatePath.toUtf8() + "\n"
                              "certs = " + chainPath.toUtf8() + "\n"
                              "signer_key = " + tsa.keyPath.toUtf8() + "\n"
                              "signer_digest = sha256\n"
                              "default_policy = 1.3.6.1.4.1.99999.1\n"
                              "digests = " + digests.toUtf8() + "\n"
                              "accuracy = secs:1\nordering = no\ntsa_name = yes\n"
                              "ess_cert_id_chain = no\ness_cert_id_alg = sha256\n";
    if (!writeAll(chainPath, chainPem) || !writeAll(configPath, config)
        || (!QFile::exists(serialPath) && !writeAll(serialPath, "01\n")))
        return QString();
    return configPath;
}

} // namespace velk::test
