#include "update/PackageDownload.h"

#include "update/UpdateLimits.h"

#include <QNetworkReply>
#include <QTimer>

#include <algorithm>

namespace velk {

PackageDownload::PackageDownload(QNetworkReply* reply, std::unique_ptr<AtomicFileWriter> file, qint64 size,
                                 const QByteArray& sha256, CancelFlag cancel, QObject* parent)
    : QObject(parent)
    , m_reply(reply)
    , m_file(std::move(file))
    , m_size(size)
    , m_sha256(sha256)
    , m_cancel(std::move(cancel))
{
    reply->setReadBufferSize(UpdateLimits::kPackageReadBufferBytes);
    m_timer = new QTimer(reply);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::readyRead, this, &PackageDownload::readChunks);
    connect(reply, &QNetworkReply::downloadProgress, this, &PackageDownload::progress);
    connect(reply, &QNetworkReply::finished, this, &PackageDownload::finish);
    m_timer->start(timeLimitMs(size));
}

PackageDownload::~PackageDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

int PackageDownload::timeLimitMs(qint64 size)
{
    const qint64 seconds = UpdateLimits::kDownloadBaseSeconds
        + std::max<qint64>(size, 0) / UpdateLimits::kDownloadBytesPerSecond;
    return int(std::min(seconds, UpdateLimits::kMaxDownloadSeconds) * 1000);
}

void PackageDownload::abort()
{
    if (m_reply)
        m_reply->abort();
}

bool PackageDownload::commit()
{
    return m_file && m_file->commit();
}

// Runs while the reply holds bytes, one piece of at most 64 KiB at a time.
void PackageDownload::readChunks()
{
    while (!m_failed && m_reply && m_reply->isOpen() && m_reply->bytesAvailable() > 0) {
        const QByteArray piece = m_reply->read(UpdateLimits::kPackageChunkBytes);
        if (piece.isEmpty())
            return;
        m_received += piece.size();
        // More than announced is cut off at once; nothing beyond the size
        // reaches the disk.
        if (m_received > m_size || !m_file || !m_file->writeAll(piece)) {
            m_failed = true;
            m_reply->abort();
            return;
        }
        m_digest.addData(piece);
    }
}

void PackageDownload::finish()
{
    m_timer->stop();
    // The last bytes may arrive together with the end: drain them all.
    readChunks();
    QNetworkReply* reply = m_reply;
    const bool succeeded = reply->error() == QNetworkReply::NoError
        && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200
        && !(m_cancel && m_cancel->load()) && !m_failed && m_received == m_size
        && m_digest.result().toHex() == m_sha256;
    reply->disconnect(this);
    m_reply = nullptr;
    reply->deleteLater();
    Q_EMIT ended(succeeded);
}

} // namespace velk
