#pragma once

// A loopback HTTP(S) server for evidence tests: 127.0.0.1 on a port the
// system picks, one answer per connection. Routes map a path to a function
// that answers a request; the helpers give fixed files, an RFC 3161 time-stamp
// authority (`openssl ts -reply` per request), an OCSP responder (`openssl
// ocsp -reqin/-respout` per request, so no openssl listener is ever opened)
// and the misbehaving servers the fetcher must survive. Lives on the test's
// thread: the client's local event loops drive it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

#include <functional>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace velk::test {

struct HttpExchange {
    QByteArray method;
    QByteArray path;
    QByteArray version; // "HTTP/1.1"
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    QByteArray header(const QByteArray& name) const;
};

struct HttpAnswer {
    enum class Shape {
        Plain,          // status, headers, Content-Length, body
        Chunked,        // body sent with chunked transfer coding
        Drip,           // Content-Length announced, then one byte every 200 ms
        EndlessHeaders, // header lines that never end
        Silent,         // headers announcing `announcedLength`, then nothing
    };
    int status = 200;
    QByteArray contentType = "application/octet-stream";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    Shape shape = Shape::Plain;
    qint64 announcedLength = -1; // Silent: the Content-Length to announce
};

using HttpRoute = std::function<HttpAnswer(const HttpExchange&)>;

struct ProgramRun {
    QStringList arguments;     // after the program name
    QString workingDirectory;
    QString fakeTime;          // non-empty: run under `faketime <fakeTime>`
};

class EvidenceServer : public QObject {
    Q_OBJECT
public:
    EvidenceServer();
    ~EvidenceServer() override;

    // Plain HTTP, or TLS with the given certificate chain and key; with
    // `offerHttp2` the server offers "h2" before "http/1.1" by ALPN.
    bool listen();
    bool listenTls(const QList<QSslCertificate>& chain, const QSslKey& key, bool offerHttp2 = false);
    quint16 port() const;
    QString url(const QString& path, const QString& host = QStringLiteral("127.0.0.1")) const;

    void setRoute(const QByteArray& path, HttpRoute route);
    QList<HttpExchange> exchanges() const { return m_exchanges; }
    QList<QByteArray> negotiatedProtocols() const { return m_protocols; }

    static HttpRoute file(const QByteArray& body, const QByteArray& contentType = "application/octet-stream");
    static HttpRoute answer(const HttpAnswer& answer);
    // Runs `openssl` with the request body on standard input and answers its
    // standard output (500 when it fails).
    static HttpRoute openssl(const ProgramRun& run, const QByteArray& contentType);
    // Runs a program with input and returns its standard output, or empty.
    static QByteArray runProgram(const ProgramRun& run, const QByteArray& input, bool* ok = nullptr);

private:
    void accept();
    void serve(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const HttpExchange& exchange);
    void send(QTcpSocket* socket, const HttpAnswer& answer);

    std::unique_ptr<QTcpServer> m_server;
    QHash<QByteArray, HttpRoute> m_routes;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<HttpExchange> m_exchanges;
    QList<QByteArray> m_protocols;
};

} // namespace velk::test
