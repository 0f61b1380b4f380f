#include "signing/revocation/EvidenceFiles.h"

#include "signing/revocation/RevocationLimits.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonObject>
#include <QSaveFile>

namespace velk {

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

bool EvidenceFiles::writeEvidenceFiles(EvidenceSink& sink, const QList<QByteArray>& items, const QString& kind,
                                       bool vri)
{
    for (const QByteArray& item : items) {
        const QByteArray key = kind.toLatin1() + QCryptographicHash::hash(item, QCryptographicHash::Sha256);
        if (sink.keys.contains(key))
            continue;
        sink.keys.insert(key);
        sink.totalBytes += item.size();
        if (sink.totalBytes > revocation::kMaxEvidenceBytes)
            return false;
        if (sink.sources.size() >= revocation::kMaxEvidenceFiles)
            return false;
        const QString path =
            QDir(sink.directory).filePath(QStringLiteral("evidence-%1.der").arg(sink.sources.size()));
        if (!writeFile(path, item))
            return false;
        sink.sources.append(QJsonObject{{QStringLiteral("path"), path},
                                        {QStringLiteral("kind"), kind},
                                        {QStringLiteral("vri"), vri}});
    }
    return true;
}

} // namespace velk
