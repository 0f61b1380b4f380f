#include "OperationTestFiles.h"

#include "support/PdfFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace velk::test {

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.readAll();
    return bytes.isNull() ? QByteArray("") : bytes;
}

QStringList entriesOf(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

void useTemporaryDirectory(const QString& directory)
{
    qputenv("TMPDIR", QFile::encodeName(directory));
}

QString popplerText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                                QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray uncompressed(const QString& path, const QString& scratchDirectory)
{
    const QString plain = QDir(scratchDirectory).filePath(QStringLiteral("uncompressed.pdf"));
    QFile::remove(plain);
    // qpdf exits 3 on warnings; the file is still written then.
    runQpdf({QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), path, plain});
    const QByteArray bytes = readBytes(plain);
    QFile::remove(plain);
    return bytes;
}

PdfDocumentPtr describedDocument(const QString& sourcePath, const QString& workingPath, int pageCount,
                                 int signatureCount, bool encrypted)
{
    auto document = std::make_shared<PdfDocument>();
    document->sourcePath = sourcePath;
    document->workingPath = workingPath;
    for (int page = 0; page < pageCount; ++page)
        document->pageSizes.append(QSizeF(595, 842));
    document->signatureCount = signatureCount;
    // The described signatures stand for signed fields.
    document->protection.signedDocument = signatureCount != 0;
    document->protection.encrypted = encrypted;
    return document;
}

PdfDocumentPtr withExtraPage(const PdfDocumentPtr& document)
{
    auto described = std::make_shared<PdfDocument>(*document);
    described->pageSizes.append(described->pageSizes.value(0, QSizeF(595, 842)));
    return described;
}

} // namespace velk::test
