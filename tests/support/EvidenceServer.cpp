#include "EvidenceServer.h"

#include "TestPki.h"

#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace velk::test {

namespace {

constexpr qsizetype kMaxHeaderBytes = 65536;
constexpr qsizetype kMaxRequestBody = 1 << 20;
constexpr int kDripIntervalMs = 200;
constexpr int kHeaderLineIntervalMs = 20;
constexpr int kProgramTimeoutMs = 20000;

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 404: return "Not Found";
    default: return "Status";
    }
}

QByteArray headBytes(const HttpAnswer& answer, bool withLength, qint64 length)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) + "\r\n";
    head += "Content-Type: " + answer.contentType + "\r\nConnection: close\r\n";
    if (withLength)
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    for (const auto& [name, value] : answer.headers)
        head += name + ": " + value + "\r\n";
    return head;
}

// Parses one complete request from the buffer; false while more is needed.
bool parseRequest(const QByteArray& buffer, HttpExchange& exchange)
{
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    exchange.method = requestLine.value(0);
    exchange.path = requestLine.value(1);
    exchange.version = requestLine.value(2);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines.at(i).indexOf(':');
        if (colon > 0)
            exchange.headers.append({lines.at(i).left(colon).trimmed(), lines.at(i).mid(colon + 1).trimmed()});
    }
    bool ok = false;
    const qsizetype length = exchange.header("content-length").toLongLong(&ok);
    const qsizetype bodyLength = ok ? qBound<qsizetype>(0, length, kMaxRequestBody) : 0;
    if (buffer.size() - end - 4 < bodyLength)
        return false;
    exchange.body = buffer.mid(end + 4, bodyLength);
    return true;
}

} // namespace

QByteArray HttpExchange::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

EvidenceServer::EvidenceServer() = default;

EvidenceServer::~EvidenceServer()
{
    if (m_server)
        m_server->close();
}

bool EvidenceServer::listen()
{
    m_server = std::make_unique<QTcpServer>();
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &EvidenceServer::accept);
    return m_server->listen(QHostAddress::LocalHost, 0);
}

bool EvidenceServer::listenTls(const QList<QSslCertificate>& chain, const QSslKey& key, bool offerHttp2)
{
    auto server = std::make_unique<QSslServer>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificateChain(chain);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    if (offerHttp2)
        tls.setAllowedNextProtocols({QSslConfiguration::ALPNProtocolHTTP2, QSslConfiguration::NextProtocolHttp1_1});
    server->setSslConfiguration(tls);
    m_server = std::move(server);
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &EvidenceServer::accept);
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 EvidenceServer::port() const
{
    return m_server ? m_server->serverPort() : 0;
}

QString EvidenceServer::url(const QString& path, const QString& host) const
{
    return QStringLiteral("%1://%2:%3%4")
        .arg(qobject_cast<QSslServer*>(m_server.get()) ? QStringLiteral("https") : QStringLiteral("http"), host)
        .arg(port())
        .arg(path);
}

void EvidenceServer::setRoute(const QByteArray& path, HttpRoute route)
{
    m_routes.insert(path, std::move(route));
}

void EvidenceServer::accept()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        if (auto* tls = qobject_cast<QSslSocket*>(socket))
            m_protocols.append(tls->sslConfiguration().nextNegotiatedProtocol());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_buffers.remove(socket); });
        if (socket->bytesAvailable() > 0)
            serve(socket);
    }
}

void EvidenceServer::serve(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    if (buffer.size() > kMaxHeaderBytes + kMaxRequestBody) {
        socket->abort();
        return;
    }
    HttpExchange exchange;
    if (!parseRequest(buffer, exchange))
        return;
    buffer.clear();
    m_exchanges.append(exchange);
    respond(socket, exchange);
}

void EvidenceServer::respond(QTcpSocket* socket, const HttpExchange& exchange)
{
    const QByteArray path = exchange.path.left(exchange.path.indexOf('?') < 0 ? exchange.path.size()
                                                                              : exchange.path.indexOf('?'));
    const auto route = m_routes.constFind(path);
    if (route == m_routes.constEnd()) {
        HttpAnswer missing;
        missing.status = 404;
        missing.body = "missing";
        send(socket, missing);
        return;
    }
    send(socket, (*route)(exchange));
}

void EvidenceServer::send(QTcpSocket* socket, const HttpAnswer& answer)
{
    switch (answer.shape) {
    case HttpAnswer::Shape::Plain:
        socket->write(headBytes(answer, true, answer.body.size()) + "\r\n" + answer.body);
        socket->disconnectFromHost();
        return;
    case HttpAnswer::Shape::Chunked: {
        QByteArray out = headBytes(answer, false, 0) + "Transfer-Encoding: chunked\r\n\r\n";
        for (qsizetype at = 0; at < answer.body.size(); at += 65536) {
            const QByteArray piece = answer.body.mid(at, 65536);
            out += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
        }
        socket->write(out + "0\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    case HttpAnswer::Shape::Silent:
        socket->write(headBytes(answer, true, answer.announcedLength) + "\r\n" + answer.body);
        return;
    case HttpAnswer::Shape::Drip: {
        socket->write(headBytes(answer, true, answer.body.size()) + "\r\n");
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        connect(timer, &QTimer::timeout, socket, [socket, timer, sent, body = answer.body] {
            if (*sent >= body.size()) {
                timer->stop();
                socket->disconnectFromHost();
                return;
            }
            socket->write(body.mid((*sent)++, 1));
        });
        timer->start(kDripIntervalMs);
        return;
    }
    case HttpAnswer::Shape::EndlessHeaders: {
        socket->write("HTTP/1.1 200 OK\r\n");
        auto* timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [socket] { socket->write("X-Padding: endless\r\n"); });
        timer->start(kHeaderLineIntervalMs);
        return;
    }
    }
}

HttpRoute EvidenceServer::file(const QByteArray& body, const QByteArray& contentType)
{
    HttpAnswer answer;
    answer.body = body;
    answer.contentType = contentType;
    return EvidenceServer::answer(answer);
}

HttpRoute EvidenceServer::answer(const HttpAnswer& answer)
{
    return [answer](const HttpExchange&) { return answer; };
}

QByteArray EvidenceServer::runProgram(const ProgramRun& run, const QByteArray& input, bool* ok)
{
    QProcess process;
    process.setWorkingDirectory(run.workingDirectory);
    if (run.fakeTime.isEmpty())
        process.start(QStringLiteral("openssl"), run.arguments);
    else
        process.start(QStringLiteral("faketime"), fakeTimeArguments(run.fakeTime) + run.arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(kProgramTimeoutMs);
    if (!finished)
        process.kill();
    const bool success = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (ok != nullptr)
        *ok = success;
    return success ? process.readAllStandardOutput() : QByteArray();
}

HttpRoute EvidenceServer::openssl(const ProgramRun& run, const QByteArray& contentType)
{
    return [run, contentType](const HttpExchange& exchange) {
        bool ok = false;
        HttpAnswer answer;
        answer.contentType = contentType;
        answer.body = runProgram(run, exchange.body, &ok);
        if (!ok)
            answer.status = 500;
        return answer;
    };
}

} // namespace velk::test
