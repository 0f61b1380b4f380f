#include "SignatureFill.h"

#include "SignedPdfFixtures.h"

#include <QCryptographicHash>
#include <QFile>

namespace velk::test {

namespace {

constexpr qsizetype kContentsHexDigits = 65536;
constexpr int kMarkerBytes = 16;
const QByteArray kRangePlaceholders[] = {"1111111111", "2222222222", "3333333333"};

QByteArray contentsPlaceholder()
{
    return '<' + QByteArray("a5").repeated(kMarkerBytes) + QByteArray("00").repeated(32768 - kMarkerBytes) + '>';
}

qsizetype onlyOccurrence(const QByteArray& file, const QByteArray& text)
{
    const qsizetype first = file.indexOf(text);
    if (first < 0 || file.indexOf(text, first + 1) >= 0)
        return -1;
    return first;
}

QString tsaConfig(TestPki& pki, const TestCertificate& tsa)
{
    const QString path = pki.directory() + QStringLiteral("/tsa.cnf");
    const QString serial = pki.directory() + QStringLiteral("/tsa-serial");
    writeFile(serial, "01\n");
    writeFile(path, "[ tsa ]\ndefault_tsa = velk_tsa\n[ velk_tsa ]\nserial = " + serial.toUtf8()
                        + "\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n"
                          "digests = sha256\ness_cert_id_alg = sha256\naccuracy = secs:1\nordering = yes\n"
                          "tsa_name = no\ness_cert_id_chain = no\nsigner_cert = "
                        + tsa.certificatePath.toUtf8() + "\nsigner_key = " + tsa.keyPath.toUtf8() + "\n");
    return path;
}

} // namespace

PlaceholderLocation locateSignaturePlaceholder(QByteArray& file)
{
    PlaceholderLocation location;
    const qsizetype start = onlyOccurrence(file, contentsPlaceholder());
    if (start < 0)
        return location;
    const qsizetype end = start + kContentsHexDigits + 2;
    const qint64 values[] = {start, end, file.size() - end};
    for (int i = 0; i < 3; ++i) {
        const qsizetype at = onlyOccurrence(file, kRangePlaceholders[i]);
        if (at < 0)
            return location;
        file.replace(at, 10, QByteArray::number(values[i]).rightJustified(10, ' '));
    }
    location.start = start;
    location.end = end;
    location.digest = QCryptographicHash::hash(coveredBytes(file, location), QCryptographicHash::Sha256);
    return location;
}

QByteArray coveredBytes(const QByteArray& file, const PlaceholderLocation& location)
{
    return file.left(location.start) + file.mid(location.end);
}

bool writeSignatureValue(QByteArray& file, const PlaceholderLocation& location, const QByteArray& value)
{
    const QByteArray hex = value.toHex();
    if (!location.isValid() || value.isEmpty() || hex.size() > kContentsHexDigits)
        return false;
    file.replace(location.start + 1, kContentsHexDigits, hex.leftJustified(kContentsHexDigits, '0'));
    return true;
}

QByteArray cadesSignature(TestPki& pki, const TestCertificate& signer, const QByteArray& data)
{
    const QString in = pki.directory() + QStringLiteral("/fill-data.bin");
    const QString out = pki.directory() + QStringLiteral("/fill-signature.der");
    QFile::remove(out);
    if (!writeFile(in, data)
        || !pki.openssl({"cms", "-sign", "-binary", "-outform", "DER", "-md", "sha256", "-cades", "-signer",
                         signer.certificatePath, "-inkey", signer.keyPath, "-in", in, "-out", out}))
        return {};
    return readFile(out);
}

QByteArray timeStampToken(TestPki& pki, const TestCertificate& tsa, const QByteArray& data, const QString& fakeTime)
{
    const QString dir = pki.directory();
    const QString in = dir + QStringLiteral("/ts-data.bin");
    const QString query = dir + QStringLiteral("/ts-query.tsq");
    const QString token = dir + QStringLiteral("/ts-token.der");
    QFile::remove(token);
    if (!writeFile(in, data)
        || !pki.openssl({"ts", "-query", "-data", in, "-sha256", "-cert", "-no_nonce", "-out", query}))
        return {};
    if (!pki.opensslAt(fakeTime, {"ts", "-reply", "-config", tsaConfig(pki, tsa), "-queryfile", query, "-token_out",
                                  "-out", token}))
        return {};
    return readFile(token);
}

QByteArray fillSignature(const QByteArray& prepared, TestPki& pki, const TestCertificate& signer)
{
    QByteArray file = prepared;
    const PlaceholderLocation location = locateSignaturePlaceholder(file);
    if (!location.isValid())
        return {};
    const QByteArray cms = cadesSignature(pki, signer, coveredBytes(file, location));
    return writeSignatureValue(file, location, cms) ? file : QByteArray();
}

QByteArray fillTimeStamp(const QByteArray& prepared, TestPki& pki, const TestCertificate& tsa)
{
    QByteArray file = prepared;
    const PlaceholderLocation location = locateSignaturePlaceholder(file);
    if (!location.isValid())
        return {};
    const QByteArray token = timeStampToken(pki, tsa, coveredBytes(file, location));
    return writeSignatureValue(file, location, token) ? file : QByteArray();
}

} // namespace velk::test
