#include "operations/PdfCreateService.h"

#include "document/core/FileCopier.h"
#include "operations/SameFile.h"
#include "operations/TaskPipeline.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/CreateImagesContract.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

#include <algorithm>

namespace velk {

namespace {

constexpr int kMaxImages = SharedLimits::kMaxImages;
constexpr qint64 kMaxImageBytes = SharedLimits::kMaxImageFileBytes;
constexpr qint64 kMaxTotalBytes = SharedLimits::kMaxPdfBytes;
constexpr int kImagesTimeLimitMs = 60000;

ExportResult failure(const QString& message)
{
    return {false, message};
}

QString copyFailed()
{
    return QStringLiteral("Görsel kopyalama veya toplam 512 MiB sınırı aşıldı.");
}

// Copies while this image stays within 128 MiB and all images together
// within 512 MiB. Empty on success.
QString copyChunks(QFile& in, QFile& out, qint64& total)
{
    qint64 copied = 0;
    const qint64 allowed = std::min(kMaxImageBytes, kMaxTotalBytes - total);
    const FileCopier::Outcome outcome = FileCopier::copy(in, out, allowed, nullptr, copied);
    total += copied;
    return outcome == FileCopier::Outcome::Copied ? QString() : copyFailed();
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
        || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
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
    const TaskPipeline pipeline(QStringLiteral("Görsel çalışma alanı oluşturulamadı."));
    if (const QString error = pipeline.workspaceError(); !error.isEmpty())
        return failure(error);
    CreateImagesRequest request;
    qint64 total = 0;
    for (int index = 0; index < images.size(); ++index) {
        const QString copyPath = pipeline.filePath(QStringLiteral("input-%1.image").arg(index));
        const QString error = copyImage(images.at(index), copyPath, destination, total);
        if (!error.isEmpty())
            return failure(error);
        request.sources.append(copyPath);
    }
    const QString workName = QStringLiteral("images.pdf");
    const QString error = pipeline.write(request.toJson(), workName, kImagesTimeLimitMs);
    if (!error.isEmpty())
        return failure(error);
    return pipeline.publishReopened(workName, int(images.size()), QStringLiteral("Üretilen PDF doğrulanamadı."),
                                    destination);
}

} // namespace velk
