#include "PdfCreateService.h"

#include "DocumentOpen.h"
#include "PdfWorkerRunner.h"
#include "SameFile.h"
#include "TaskWorkspace.h"

#include "worker/contract/SharedLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace velk {

namespace {

constexpr int kMaxImages = SharedLimits::kMaxImages;
constexpr qint64 kMaxImageBytes = SharedLimits::kMaxImageFileBytes;
constexpr qint64 kMaxTotalBytes = SharedLimits::kMaxPdfBytes;
constexpr qint64 kChunkBytes = 1048576;
constexpr int kImagesTimeLimitMs = 60000;

ExportResult failure(const QString& message)
{
    return {false, message};
}

QString copyFailed()
{
    return QStringLiteral("Görsel kopyalama veya toplam 512 MiB sınırı aşıldı.");
}

// Copies in 1 MiB chunks while this image stays within 128 MiB and all
// images together within 512 MiB. Empty on success.
QString copyChunks(QFile& in, QFile& out, qint64& total)
{
    qint64 copied = 0;
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(kChunkBytes);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError)
                return copyFailed();
            break;
        }
        copied += chunk.size();
        total += chunk.size();
        if (copied > kMaxImageBytes || total > kMaxTotalBytes || out.write(chunk) != chunk.size())
            return copyFailed();
    }
    return {};
}

// A private copy of image `index` in the workspace, free of the user's
// file name. Empty on success, else the sentence for the user.
QString copyImage(const QString& image, const QString& copyPath, const QString& destination, qint64& total)
{
    if (image.isEmpty() || !QFileInfo(image).isFile() || isSameFile(image, destination))
        return QStringLiteral("Görsel okunamıyor veya kaynak üzerine yazma istendi.");
    QFile in(image);
    QFile out(copyPath);
    if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxImageBytes || out.exists()
        || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QStringLiteral("Görsel çalışma kopyası oluşturulamadı.");
    const QString copied = copyChunks(in, out, total);
    out.close();
    return copied;
}

} // namespace

ExportResult createFromImages(const QString& destination, const QStringList& images)
{
    if (images.isEmpty() || images.size() > kMaxImages)
        return failure(QStringLiteral("1–100 görsel seçin."));
    const TaskWorkspace workspace;
    if (!workspace.isValid())
        return failure(QStringLiteral("Görsel çalışma alanı oluşturulamadı."));
    QJsonArray sources;
    qint64 total = 0;
    for (int index = 0; index < images.size(); ++index) {
        const QString copyPath = workspace.filePath(QStringLiteral("input-%1.image").arg(index));
        const QString error = copyImage(images.at(index), copyPath, destination, total);
        if (!error.isEmpty())
            return failure(error);
        sources.append(QJsonObject{{QStringLiteral("path"), copyPath}});
    }
    const QString output = workspace.filePath(QStringLiteral("images.pdf"));
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("createImages")},
                              {QStringLiteral("sources"), sources},
                              {QStringLiteral("output"), output}};
    const WorkerReply reply = runPdfWorker(request, nullptr, kImagesTimeLimitMs);
    if (!reply.error.isEmpty())
        return failure(reply.error);
    const PdfOpenResult opened = openPdfDocument(output, QString(), nullptr);
    if (!opened.document || opened.document->pageCount() != images.size())
        return failure(QStringLiteral("Üretilen PDF doğrulanamadı."));
    return copyWorkingCopy(opened.document, destination);
}

} // namespace velk
