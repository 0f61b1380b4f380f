#include "signing/verification/HistoricalCheck.h"

#include "signing/verification/SignatureEntryCheck.h"

#include "signing/network/EvidenceFetchContext.h"
#include "signing/revocation/RevocationChecker.h"
#include "signing/timestamps/Timestamp.h"

namespace velk {

void HistoricalCheck::checkHistorical(SignatureReport& report, const QString& trustPath)
{
    report.historicalStatus = kStatusUndetermined;
    report.historicalText =
        QStringLiteral("BELİRSİZ: doğrulanmış TSA zamanı yok; beyan edilen imza zamanı kullanılmaz.");
    const QDateTime stampTime = SignatureEntryCheck::isoTime(report.timestampTime);
    if (!report.integrityValid || !report.timestampValid || !stampTime.isValid())
        return;

    // Offline: the evidence must already be in the document.
    EvidenceFetchContext offline;
    offline.networkAllowed = false;

    SignatureReport authority;
    Timestamp::inspectTimestampToken(report.timestampToken, true, authority);
    authority.certificates += report.certificates;
    authority.ocspResponses = report.ocspResponses;
    authority.crls = report.crls;
    RevocationChecker::checkRevocation(authority, trustPath, offline, 0, stampTime, true);
    const int authorityStatus = authority.revocationStatus;

    SignatureReport signer = report;
    RevocationChecker::checkRevocation(signer, trustPath, offline, 0, stampTime, report.isDocumentTimestamp);
    if (authorityStatus == kStatusGood && signer.chainTrusted && (report.isDocumentTimestamp || signer.purposeValid))
        report.historicalStatus = signer.revocationStatus;
    report.historicalText = SignatureReport::statusWord(report.historicalStatus) + QStringLiteral(" — TSA zamanı: ")
                            + report.timestampTime + QStringLiteral("; TSA: ")
                            + SignatureReport::statusWord(authorityStatus) + QStringLiteral("; ")
                            + signer.revocationText;
}

} // namespace velk
