#include "SignedPdfFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace velk::test {

namespace {

constexpr char kRangePlaceholder[] = "/ByteRange [0 0000000000 0000000000 0000000000] /Contents <";
constexpr int kToolTimeoutMs = 60000;

QByteArray tenDigits(qint64 value)
{
    return QByteArray::number(value).rightJustified(10, '0');
}

bool runTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return false;
    process.closeWriteChannel();
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

QByteArray signaturePlaceholder(int contentsBytes)
{
    return QByteArray(kRangePlaceholder) + QByteArray(contentsBytes * 2, '0') + '>';
}

QByteArray pdfWithXrefStream(const QList<QByteArray>& bodies)
{
    QByteArray pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    QByteArray entries("\x00\x00\x00\x00\x00\xff\xff", 7);
    for (qsizetype i = 0; i < bodies.size(); ++i) {
        const qint64 offset = pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + bodies.at(i) + "\nendobj\n";
        entries += char(1);
        for (int shift = 24; shift >= 0; shift -= 8)
            entries += char((offset >> shift) & 0xff);
        entries += QByteArray(2, '\0');
    }
    // The stream itself is the last object; its own entry points at it.
    const qint64 xref = pdf.size();
    const qsizetype number = bodies.size() + 1;
    entries += char(1);
    for (int shift = 24; shift >= 0; shift -= 8)
        entries += char((xref >> shift) & 0xff);
    entries += QByteArray(2, '\0');
    pdf += QByteArray::number(number) + " 0 obj\n<< /Type /XRef /Size " + QByteArray::number(number + 1)
           + " /W [1 4 2] /Root 1 0 R /Length " + QByteArray::number(entries.size()) + " >>\nstream\n" + entries
           + "\nendstream\nendobj\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QList<qint64> startXrefs(const QByteArray& pdf)
{
    QList<qint64> result;
    static const QRegularExpression pattern(QStringLiteral("startxref\\s+([0-9]+)"));
    auto matches = pattern.globalMatch(QString::fromLatin1(pdf));
    while (matches.hasNext())
        result << matches.next().captured(1).toLongLong();
    return result;
}

QByteArray appendRevision(const QByteArray& pdf, const QMap<int, QByteArray>& objects, int size,
                          const QByteArray& trailerExtra)
{
    QByteArray update = pdf.endsWith('\n') ? QByteArray() : QByteArray("\n");
    QMap<int, qint64> offsets;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        offsets.insert(it.key(), pdf.size() + update.size());
        update += QByteArray::number(it.key()) + " 0 obj\n" + it.value() + "\nendobj\n";
    }
    const qint64 xref = pdf.size() + update.size();
    update += "xref\n0 1\n0000000000 65535 f \n";
    for (auto it = offsets.cbegin(); it != offsets.cend(); ++it)
        update += QByteArray::number(it.key()) + " 1\n" + tenDigits(it.value()) + " 00000 n \n";
    update += "trailer\n<< /Size " + QByteArray::number(size) + " /Root 1 0 R /Prev "
              + QByteArray::number(startXrefs(pdf).value(startXrefs(pdf).size() - 1)) + ' ' + trailerExtra
              + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf + update;
}

QByteArray signPlaceholder(const QByteArray& pdf, TestPki& pki, const TestCertificate& signer, bool cades)
{
    const qsizetype range = pdf.lastIndexOf(kRangePlaceholder);
    if (range < 0)
        return {};
    const qsizetype contentsStart = range + qsizetype(sizeof(kRangePlaceholder)) - 2;
    const qsizetype contentsEnd = pdf.indexOf('>', contentsStart) + 1;
    QByteArray signedPdf = pdf;
    const QByteArray ranges = "/ByteRange [0 " + tenDigits(contentsStart) + ' ' + tenDigits(contentsEnd) + ' '
                              + tenDigits(pdf.size() - contentsEnd) + "]";
    signedPdf.replace(range, ranges.size(), ranges);
    const QString data = pki.directory() + QStringLiteral("/signed-bytes.bin");
    const QString cms = pki.directory() + QStringLiteral("/signature.der");
    if (!writeFile(data, signedPdf.left(contentsStart) + signedPdf.mid(contentsEnd)))
        return {};
    QStringList arguments{QStringLiteral("cms"),    QStringLiteral("-sign"),  QStringLiteral("-binary"),
                          QStringLiteral("-outform"), QStringLiteral("DER"),  QStringLiteral("-md"),
                          QStringLiteral("sha256"),  QStringLiteral("-signer"), signer.certificatePath,
                          QStringLiteral("-inkey"),  signer.keyPath,         QStringLiteral("-in"),
                          data,                      QStringLiteral("-out"),  cms};
    if (cades)
        arguments << QStringLiteral("-cades");
    if (!pki.openssl(arguments))
        return {};
    const QByteArray hex = readFile(cms).toHex();
    const qsizetype room = contentsEnd - contentsStart - 2;
    if (hex.isEmpty() || hex.size() > room)
        return {};
    signedPdf.replace(contentsStart + 1, hex.size(), hex);
    return signedPdf;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

NssSigner::NssSigner(TestPki& pki, const TestCertificate& signer, const QString& directory)
    : m_database(QStringLiteral("sql:") + directory)
{
    QDir().mkpath(directory);
    const QString bundle = pki.exportPkcs12(signer, {pki.root()}, QString(), QStringLiteral("signer"));
    m_valid = !bundle.isEmpty()
              && runTool(QStringLiteral("certutil"),
                         {QStringLiteral("-N"), QStringLiteral("-d"), m_database, QStringLiteral("--empty-password")})
              && runTool(QStringLiteral("pk12util"), {QStringLiteral("-i"), bundle, QStringLiteral("-d"), m_database,
                                                      QStringLiteral("-W"), QString()});
}

QByteArray NssSigner::pdfsig(const QStringList& arguments, bool* ok) const
{
    QByteArray output;
    const bool finished =
        runTool(QStringLiteral("pdfsig"), QStringList{QStringLiteral("-nssdir"), m_database} + arguments, &output);
    if (ok)
        *ok = finished;
    return output;
}

bool NssSigner::addSignature(const QString& input, const QString& output, const QStringList& extra) const
{
    bool ok = false;
    pdfsig(QStringList{QStringLiteral("-add-signature"), QStringLiteral("-nick"), QStringLiteral("signer")} + extra
               + QStringList{input, output},
           &ok);
    return ok && QFile::exists(output);
}

bool NssSigner::signField(const QString& input, const QString& output, const QString& field) const
{
    bool ok = false;
    pdfsig({QStringLiteral("-sign"), field, QStringLiteral("-nick"), QStringLiteral("signer"), input, output}, &ok);
    return ok && QFile::exists(output);
}

QStringList NssSigner::validations(const QString& path) const
{
    QStringList result;
    for (const QByteArray& line : pdfsig({QStringLiteral("-nocert"), path}, nullptr).split('\n')) {
        const qsizetype at = line.indexOf("Signature Validation:");
        if (at >= 0)
            result << QString::fromUtf8(line.mid(at + 21).trimmed());
    }
    return result;
}

QStringList NssSigner::signedRanges(const QString& path) const
{
    QStringList result;
    for (const QByteArray& line : pdfsig({QStringLiteral("-nocert"), path}, nullptr).split('\n')) {
        const qsizetype at = line.indexOf("Signed Ranges:");
        if (at >= 0)
            result << QString::fromUtf8(line.mid(at + 14).trimmed());
    }
    return result;
}

} // namespace velk::test
