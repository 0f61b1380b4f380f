#include "SourceCopy.h"

#include "DocumentLimits.h"

#include <QFile>
#include <QFileInfo>

namespace velk {

namespace {

bool isCancelled(const std::shared_ptr<std::atomic<bool>>& cancel)
{
    return cancel && cancel->load();
}

} // namespace

SourceSnapshot SourceCopy::snapshot(const QString& path)
{
    const QFileInfo info(path);
    return {info.size(), info.fileTime(QFileDevice::FileModificationTime)};
}

QString SourceCopy::copy(const QString& source, const QString& target, const SourceSnapshot& before,
                         const std::shared_ptr<std::atomic<bool>>& cancel)
{
    QFile in(source);
    QFile out(target);
    // Unbuffered, so that a write the disk cannot take is seen at once.
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return QStringLiteral("PDF çalışma kopyası oluşturulamadı.");
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    qint64 copied = 0;
    QByteArray chunk;
    for (;;) {
        if (isCancelled(cancel))
            return QStringLiteral("Belge açma iptal edildi.");
        chunk = in.read(DocumentLimits::kCopyChunkBytes);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError)
                return QStringLiteral("PDF okunurken hata oluştu.");
            break;
        }
        copied += chunk.size();
        if (copied > DocumentLimits::kMaxPdfBytes || out.write(chunk) != chunk.size())
            return QStringLiteral("PDF çalışma kopyası kaydedilemedi.");
    }
    if (!out.flush())
        return QStringLiteral("PDF çalışma kopyası tamamlanamadı.");
    out.close();

    const SourceSnapshot after = snapshot(source);
    if (copied != before.size || after.modified != before.modified)
        return QStringLiteral("PDF açılırken kaynak dosya değişti. Yeniden açın.");
    return {};
}

} // namespace velk
