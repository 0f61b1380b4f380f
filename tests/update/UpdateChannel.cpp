#include "UpdateChannel.h"

#include <QFile>
#include <QSslConfiguration>
#include <QTimer>

#include <algorithm>

namespace velk::test {

namespace {

constexpr quint16 kHttpsPort = 443;
constexpr qsizetype kMaxRequestBytes = 16384;

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

UpdateChannel::UpdateChannel(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, &UpdateChannel::accept);
}

bool UpdateChannel::start(const QString& certificatePath, const QString& keyPath, QString* error)
{
    const QList<QSslCertificate> certificates = QSslCertificate::fromData(readFile(certificatePath));
    const QSslKey key(readFile(keyPath), QSsl::Rsa);
    if (certificates.isEmpty() || key.isNull()) {
        *error = QStringLiteral("server certificate or key unreadable");
        return false;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificates.first());
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_server.setSslConfiguration(tls);
    if (!m_server.listen(QHostAddress::LocalHost, kHttpsPort)) {
        *error = m_server.errorString();
        return false;
    }
    return true;
}

void UpdateChannel::stop()
{
    m_server.close();
}

void UpdateChannel::setAnswer(const QString& path, const ChannelAnswer& answer)
{
    m_answers.insert(path, {answer});
}

void UpdateChannel::setNextAnswer(const QString& path, const ChannelAnswer& answer)
{
    m_answers[path].append(answer);
}

void UpdateChannel::clear()
{
    m_answers.clear();
    m_requests.clear();
    m_userAgents.clear();
}

void UpdateChannel::accept()
{
    while (QTcpSocket* pending = m_server.nextPendingConnection()) {
        auto* socket = qobject_cast<QSslSocket*>(pending);
        socket->setParent(this);
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { serve(socket); });
        if (socket->bytesAvailable() > 0)
            serve(socket);
    }
}

void UpdateChannel::serve(QSslSocket* socket)
{
    if (socket->property("served").toBool())
        return;
    QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", received);
    if (!received.contains("\r\n\r\n")) {
        if (received.size() > kMaxRequestBytes)
            socket->abort();
        return;
    }
    socket->setProperty("served", true);
    const QList<QByteArray> line = received.left(received.indexOf("\r\n")).split(' ');
    const QString path = QString::fromLatin1(line.value(1));
    m_requests.append(QString::fromLatin1(line.value(0)) + QLatin1Char(' ') + path);
    QByteArray userAgent;
    for (const QByteArray& header : received.left(received.indexOf("\r\n\r\n")).split('\n')) {
        if (header.toLower().startsWith("user-agent:"))
            userAgent = header.mid(11).trimmed();
    }
    m_userAgents.append(userAgent);
    QList<ChannelAnswer>& queue = m_answers[path];
    ChannelAnswer answer;
    answer.status = 404;
    if (!queue.isEmpty())
        answer = queue.size() > 1 ? queue.takeFirst() : queue.first();
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) + "\r\n";
    const qint64 length = answer.announcedLength >= 0 ? answer.announcedLength : answer.body.size();
    if (answer.announcedLength != -2)
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    head += "Connection: close\r\n";
    for (const auto& [name, value] : answer.headers)
        head += name + ": " + value + "\r\n";
    socket->write(head + "\r\n");
    sendPiece(socket, answer, 0);
}

void UpdateChannel::sendPiece(QSslSocket* socket, ChannelAnswer answer, qsizetype offset)
{
    const qsizetype end = answer.stopAfter >= 0 ? std::min(answer.stopAfter, answer.body.size()) : answer.body.size();
    const qsizetype piece = answer.pieceBytes > 0 ? answer.pieceBytes : end - offset;
    const qsizetype next = std::min(end, offset + piece);
    socket->write(answer.body.mid(offset, next - offset));
    socket->flush();
    if (next < end) {
        QTimer::singleShot(answer.intervalMs, socket, [this, socket, answer, next] { sendPiece(socket, answer, next); });
        return;
    }
    // A stopped answer holds the connection open until the client goes.
    if (answer.stopAfter < 0)
        socket->disconnectFromHost();
}

} // namespace velk::test
