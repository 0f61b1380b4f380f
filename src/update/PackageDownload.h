#pragma once

// One package download: streams the reply into an unnamed save file in
// pieces of at most 64 KiB while hashing them, cuts the transfer off the
// moment more bytes arrive than the signed size, and bounds the whole
// transfer by a time that grows with the announced size (the stall limit
// of the request stays eight seconds). Nothing of the package is held in
// memory whole. Lives on the GUI thread, owned by the update service;
// destroying it aborts the transfer and discards the unfinished file.

#include "document/files/AtomicFileWriter.h"
#include "worker/runner/CancelFlag.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QObject>
#include <QPointer>

#include <memory>

class QNetworkReply;
class QTimer;

namespace velk {

class PackageDownload : public QObject {
    Q_OBJECT

public:
    // Takes the reply (already started) and the open save file.
    PackageDownload(QNetworkReply* reply, std::unique_ptr<AtomicFileWriter> file, qint64 size,
                    const QByteArray& sha256, CancelFlag cancel, QObject* parent);
    ~PackageDownload() override;

    // The time the whole transfer of a package of this size may take.
    static int timeLimitMs(qint64 size);

    // Aborts the transfer; it then ends as failed.
    void abort();
    // After a successful end: gives the file its name.
    bool commit();

Q_SIGNALS:
    void progress(qint64 received, qint64 total);
    // Once, when the transfer is over: whether every byte arrived, no more,
    // and the digest matched.
    void ended(bool succeeded);

private:
    void readChunks();
    void finish();

    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<AtomicFileWriter> m_file;
    qint64 m_size = 0;
    QByteArray m_sha256;
    CancelFlag m_cancel;
    QCryptographicHash m_digest{QCryptographicHash::Sha256};
    qint64 m_received = 0;
    bool m_failed = false;
    QTimer* m_timer = nullptr;
};

} // namespace velk
