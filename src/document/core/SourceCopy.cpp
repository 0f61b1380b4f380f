#include "document/core/SourceCopy.h"

#include "document/core/DocumentLimits.h"
#include "document/core/FileCopier.h"

#include <QFile>
#include <QFileInfo>

namespace velk {

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
    switch (FileCopier::copy(in, out, DocumentLimits::kMaxPdfBytes, cancel, copied)) {
    case FileCopier::Outcome::Copied:
        break;
    case FileCopier::Outcome::Cancelled:
        return QStringLiteral("Belge açma iptal edildi.");
    case FileCopier::Outcome::ReadFailed:
        return QStringLiteral("PDF okunurken hata oluştu.");
    case FileCopier::Outcome::TooLarge:
    case FileCopier::Outcome::WriteFailed:
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
