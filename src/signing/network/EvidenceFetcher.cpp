#include "signing/network/EvidenceFetcher.h"

#include "signing/network/EvidenceLimits.h"
#include "signing/network/EvidenceTransfer.h"
#include "signing/network/NetworkAddressPolicy.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QTimer>

namespace velk {

namespace {

const char* const kNetworkOff = "Ağ izni kapalı; iptal durumu BELİRSİZ.";
const char* const kBudgetSpent = "Ağ işlemi iptal edildi veya toplam süre/istek sınırı aşıldı.";
const char* const kBadUrl = "OCSP/CRL/TSA adresi geçersiz; yalnız kimlik bilgisi içermeyen HTTP(S) desteklenir.";
const char* const kNoResolution = "Ağ/DNS erişimi yok; BELİRSİZ.";
const char* const kPrivateAddress = "Sertifikadaki yerel/özel ağ adresine erişim izni yok; BELİRSİZ.";

} // namespace

QByteArray EvidenceFetcher::fetchEvidence(EvidenceFetchContext& context, const QUrl& url, const QByteArray& body,
                                          const QByteArray& contentType, QString& error)
{
    error.clear();
    if (!context.networkAllowed) {
        error = QString::fromUtf8(kNetworkOff);
        return {};
    }
    // The count grows before any other check: a refused address still spends
    // the budget, so a certificate full of bad addresses cannot stall a run.
    if (context.isCancelled() || context.elapsed.elapsed() > evidence::kContextTimeLimitMs
        || ++context.requestCount > evidence::kMaxRequestsPerContext) {
        error = QString::fromUtf8(kBudgetSpent);
        return {};
    }
    if (!isAcceptableUrl(url)) {
        error = QString::fromUtf8(kBadUrl);
        return {};
    }
    const QString host = url.host(QUrl::FullyEncoded);
    const QList<QHostAddress> addresses = context.resolver ? context.resolver(host, evidence::kResolveTimeoutMs)
                                                           : resolveHost(host, evidence::kResolveTimeoutMs);
    if (addresses.isEmpty()) {
        error = QString::fromUtf8(kNoResolution);
        return {};
    }
    const bool privateAllowed = NetworkAddressPolicy::isAllowedPrivateHost(host, context.privateHostAllowList);
    const std::optional<QHostAddress> chosen = NetworkAddressPolicy::chooseAddress(addresses, privateAllowed);
    if (!chosen) {
        error = QString::fromUtf8(kPrivateAddress);
        return {};
    }
    return EvidenceTransfer::run(context, url, *chosen, body, contentType, error);
}

bool EvidenceFetcher::isAcceptableUrl(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasFragment())
        return false;
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return false;
    return url.toEncoded(QUrl::FullyEncoded).size() <= evidence::kMaxEncodedUrlBytes;
}

QList<QHostAddress> EvidenceFetcher::resolveHost(const QString& host, int timeoutMs)
{
    QList<QHostAddress> addresses;
    QEventLoop loop;
    QObject receiver;
    bool answered = false;
    const int lookupId = QHostInfo::lookupHost(host, &receiver, [&](const QHostInfo& info) {
        answered = true;
        if (info.error() == QHostInfo::NoError)
            addresses = info.addresses();
        loop.quit();
    });
    if (!answered) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!answered) {
        QHostInfo::abortHostLookup(lookupId);
        return {};
    }
    return addresses;
}

} // namespace velk
