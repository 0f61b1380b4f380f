#pragma once

// The update channel of the tests: an HTTPS server on 127.0.0.1:443 inside
// the test's private network, answering each path from a script and
// logging every request. Plain HTTP/1.1, one request per connection, each
// answer with its length unless told otherwise; a body may drip out in
// pieces, or stop part way and hold the connection open. Runs on the
// test's thread; the client's network thread does the other end.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QString>
#include <QStringList>

namespace velk::test {

struct ChannelAnswer {
    int status = 200;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    // The Content-Length sent; -1: the body's own size; -2: none (the
    // body ends when the connection closes).
    qint64 announcedLength = -1;
    // 0: the whole body in one write, else pieces of this size...
    qsizetype pieceBytes = 0;
    // ...this many milliseconds apart.
    int intervalMs = 0;
    // Stop sending after this many body bytes and hold the connection; -1: send all.
    qsizetype stopAfter = -1;
};

class UpdateChannel : public QObject {
    Q_OBJECT

public:
    explicit UpdateChannel(QObject* parent = nullptr);

    // Listens on 127.0.0.1:443 with the given certificate and key (PEM files).
    bool start(const QString& certificatePath, const QString& keyPath, QString* error);
    void stop();

    void setAnswer(const QString& path, const ChannelAnswer& answer);
    void clear();
    // "GET /path" per request, in arrival order.
    QStringList requests() const { return m_requests; }
    // The User-Agent of each request, in the same order.
    QList<QByteArray> userAgents() const { return m_userAgents; }
    // Paths answered so far, and what a second request for one gets.
    void setNextAnswer(const QString& path, const ChannelAnswer& answer);

private:
    void accept();
    void serve(QSslSocket* socket);
    void sendPiece(QSslSocket* socket, ChannelAnswer answer, qsizetype offset);

    QSslServer m_server;
    QMap<QString, QList<ChannelAnswer>> m_answers;
    QStringList m_requests;
    QList<QByteArray> m_userAgents;
};

} // namespace velk::test
