#include "signing/revocation/CertificateStatus.h"

#include "signing/revocation/CrlEvidence.h"
#include "signing/revocation/OcspEvidence.h"
#include "signing/network/EvidenceFetcher.h"

#include <QUrl>

namespace velk {

namespace {

int combine(int current, int found)
{
    return current == kStatusRevoked ? current : found;
}

} // namespace

int CertificateStatus::statusOf(RevocationRun& run, X509* certificate, X509* issuer)
{
    int status = fromKnownEvidence(run, certificate, issuer);
    if (status == kStatusUndetermined)
        status = fromOcspResponders(run, certificate, issuer);
    if (status == kStatusUndetermined)
        status = fromCrlDistributionPoints(run, certificate, issuer);
    return status;
}

int CertificateStatus::fromKnownEvidence(RevocationRun& run, X509* certificate, X509* issuer)
{
    int status = kStatusUndetermined;
    for (const QByteArray& response : run.knownOcsp) {
        const int found = OcspEvidence::checkOcspResponse(response, certificate, issuer, run.store, run.untrusted,
                                                          nullptr, run.referenceTime, run.allowEarlier);
        if (found != kStatusUndetermined) {
            run.report.ocspResponses.append(response);
            run.notes.append(QStringLiteral("DSS OCSP"));
            status = combine(status, found);
        }
    }
    for (const QByteArray& crl : run.knownCrls) {
        const int found = CrlEvidence::checkCrl(crl, certificate, issuer, run.referenceTime);
        if (found != kStatusUndetermined) {
            run.report.crls.append(crl);
            run.notes.append(QStringLiteral("DSS CRL"));
            status = combine(status, found);
        }
    }
    return status;
}

int CertificateStatus::fromOcspResponders(RevocationRun& run, X509* certificate, X509* issuer)
{
    for (const QString& url : OcspEvidence::ocspUrlsOf(certificate)) {
        OcspRequestPtr request = OcspEvidence::buildRequest(certificate, issuer);
        const QByteArray body = request ? OcspEvidence::encode(request.get()) : QByteArray();
        if (body.isEmpty())
            continue;
        QString error;
        const QByteArray answer =
            EvidenceFetcher::fetchEvidence(run.context, QUrl(url), body, "application/ocsp-request", error);
        if (!error.isEmpty())
            run.lastFetchError = error;
        if (answer.isEmpty())
            continue;
        // A fresh answer must echo our nonce: a replayed one proves nothing now.
        const int found = OcspEvidence::checkOcspResponse(answer, certificate, issuer, run.store, run.untrusted,
                                                          request.get(), QDateTime(), false);
        if (found != kStatusUndetermined) {
            run.report.ocspResponses.append(answer);
            run.notes.append(QString::fromUtf8("OCSP (nonce doğrulandı)"));
            return found;
        }
    }
    return kStatusUndetermined;
}

int CertificateStatus::fromCrlDistributionPoints(RevocationRun& run, X509* certificate, X509* issuer)
{
    for (const QString& url : CrlEvidence::crlUrlsOf(certificate)) {
        QString error;
        const QByteArray crl = EvidenceFetcher::fetchEvidence(run.context, QUrl(url), {}, "application/pkix-crl", error);
        if (!error.isEmpty())
            run.lastFetchError = error;
        if (crl.isEmpty())
            continue;
        const int found = CrlEvidence::checkCrl(crl, certificate, issuer, QDateTime());
        if (found != kStatusUndetermined) {
            run.report.crls.append(crl);
            run.notes.append(QStringLiteral("CRL"));
            return found;
        }
    }
    return kStatusUndetermined;
}

} // namespace velk
