#include "signing/network/EvidenceTransfer.h"

#include "signing/network/EvidenceLimits.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTimer>

#include <memory>

namespace velk {

namespace {

const char* const kTransferFailed = "OCSP/CRL/TSA yanıtı alınamadı veya sınırı aştı; BELİRSİZ.";

// The state of one reply while it runs; after an abort nothing more is read.
struct ReplyWatch {
    QByteArray body;
    bool tooLarge = false;
    bool aborted = false;
};

// An announced length above the limit, or one that is not a plain number,
// ends the transfer before any body byte is read.
bool announcesTooMuch(const QNetworkReply& reply)
{
    if (!reply.hasRawHeader("Content-Length"))
        return false;
    bool ok = false;
    const qint64 length = reply.rawHeader("Content-Length").trimmed().toLongLong(&ok);
    return !ok || length < 0 || length > evidence::kMaxBodyBytes;
}

void abortReply(QNetworkReply& reply, ReplyWatch& watch)
{
    if (watch.aborted)
        return;
    watch.aborted = true;
    reply.abort();
}

void readAvailable(QNetworkReply& reply, ReplyWatch& watch)
{
    while (!watch.aborted && reply.bytesAvailable() > 0) {
        const qint64 room = evidence::kMaxBodyBytes + 1 - watch.body.size();
        watch.body += reply.read(qMin(room, evidence::kReadBufferBytes));
        if (watch.body.size() > evidence::kMaxBodyBytes) {
            watch.tooLarge = true;
            abortReply(reply, watch);
        }
    }
}

bool timeIsUp(const EvidenceFetchContext& context, const QElapsedTimer& requestTimer)
{
    return context.isCancelled() || requestTimer.elapsed() > evidence::kRequestTimeLimitMs
           || context.elapsed.elapsed() > evidence::kContextTimeLimitMs;
}

} // namespace

QNetworkRequest EvidenceTransfer::buildRequest(const QUrl& url, const QHostAddress& address,
                                               const QByteArray& contentType)
{
    QUrl pinned = url;
    pinned.setHost(address.toString());
    QNetworkRequest request(pinned);

    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    request.setSslConfiguration(tls);
    // The name check and SNI use the URL's host, not the pinned address.
    request.setPeerVerifyName(url.host(QUrl::FullyEncoded));

    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Over HTTP/2 Qt would send the address as :authority and drop Host.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // HTTP needs ASCII: an internationalised host goes out in its ACE form.
    request.setRawHeader("Host", url.authority(QUrl::FullyEncoded).toLatin1());
    request.setRawHeader("Content-Type", contentType);
    request.setRawHeader("Accept", contentType == "application/timestamp-query" ? "application/timestamp-reply"
                                                                                 : "*/*");
    return request;
}

QByteArray EvidenceTransfer::run(EvidenceFetchContext& context, const QUrl& url, const QHostAddress& address,
                                 const QByteArray& body, const QByteArray& contentType, QString& error)
{
    QElapsedTimer requestTimer;
    requestTimer.start();
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    manager.setStrictTransportSecurityEnabled(false);
    const QNetworkRequest request = buildRequest(url, address, contentType);
    std::unique_ptr<QNetworkReply> reply(body.isEmpty() ? manager.get(request) : manager.post(request, body));
    reply->setReadBufferSize(evidence::kReadBufferBytes);

    ReplyWatch watch;
    QEventLoop loop;
    QTimer watchdog;
    watchdog.setInterval(evidence::kWatchIntervalMs);
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        if (announcesTooMuch(*reply)) {
            watch.tooLarge = true;
            abortReply(*reply, watch);
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] { readAvailable(*reply, watch); });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // Qt reports some failures (a decompression bomb) without finishing the
    // reply: the error alone ends the transfer, and it is not aborted twice.
    QObject::connect(reply.get(), &QNetworkReply::errorOccurred, &loop, [&] {
        watch.aborted = true;
        loop.quit();
    });
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        if (timeIsUp(context, requestTimer))
            abortReply(*reply, watch);
    });
    watchdog.start();
    if (!reply->isFinished() && !watch.aborted)
        loop.exec();
    watchdog.stop();
    if (!watch.aborted)
        readAvailable(*reply, watch);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = !watch.aborted && !watch.tooLarge && watch.body.size() <= evidence::kMaxBodyBytes
                    && reply->error() == QNetworkReply::NoError && status == 200 && !watch.body.isEmpty();
    if (!ok) {
        error = QString::fromUtf8(kTransferFailed);
        return {};
    }
    return watch.body;
}

} // namespace velk
