#include "signing/verification/TimestampChain.h"

#include "signing/verification/HistoricalCheck.h"
#include "signing/verification/SignatureEntryCheck.h"

#include <algorithm>

namespace velk {

namespace {

// Indices of the document time stamps by covered length, stable.
QList<int> timestampOrder(const QList<SignatureReport>& reports)
{
    QList<int> order;
    for (int i = 0; i < reports.size(); ++i) {
        if (reports.at(i).isDocumentTimestamp)
            order.append(i);
    }
    std::stable_sort(order.begin(), order.end(), [&reports](int x, int y) {
        return reports.at(x).coveredLength < reports.at(y).coveredLength;
    });
    return order;
}

// A verified document time stamp that ends inside [start, end).
bool verifiedTimestampWithin(const QList<SignatureReport>& reports, qint64 start, qint64 end)
{
    return std::any_of(reports.cbegin(), reports.cend(), [start, end](const SignatureReport& report) {
        return report.isDocumentTimestamp && report.integrityValid && report.chainTrusted
               && report.coveredLength > start && report.coveredLength <= end;
    });
}

bool chainStep(const SignatureReport& stamp, QDateTime& lastTime, qint64& lastLength)
{
    const QDateTime time = SignatureEntryCheck::isoTime(stamp.timestampTime);
    const bool ok = stamp.integrityValid && stamp.historicalStatus == kStatusGood && time.isValid()
                    && (!lastTime.isValid() || time >= lastTime) && lastLength < stamp.coveredLength;
    lastTime = time;
    lastLength = stamp.coveredLength;
    return ok;
}

void protectByTimestamp(SignatureReport& report, const SignatureReport& archive, const SignatureReport& stamp,
                        const QString& trustPath)
{
    SignatureReport copy = archive;
    if (!report.hasTimestamp) {
        copy.timestampTime = stamp.timestampTime;
        copy.timestampToken = stamp.timestampToken;
        copy.timestampValid = true;
    }
    HistoricalCheck::checkHistorical(copy, trustPath);
    if (!report.hasTimestamp && copy.historicalStatus != kStatusUndetermined) {
        report.historicalStatus = copy.historicalStatus;
        report.historicalText = QStringLiteral("DocTimeStamp varlık kanıtının üst sınır zamanı: ") + copy.historicalText;
    }
    if (copy.historicalStatus == kStatusGood)
        report.archiveCovered = true;
}

} // namespace

void TimestampChain::judgeCoverage(QList<SignatureReport>& reports, const QList<LaterRevisions>& later)
{
    for (int i = 0; i < reports.size() && i < later.size(); ++i) {
        SignatureReport& report = reports[i];
        if (report.coversWholeFile)
            continue;
        const LaterRevisions& after = later.at(i);
        bool evidenceOnly = after.onlyEvidence && !report.revisionUncertain && !report.permissionViolation;
        for (const auto& [start, end] : after.timestampRevisions)
            evidenceOnly = evidenceOnly && verifiedTimestampWithin(reports, start, end);
        report.verdict +=
            evidenceOnly
                ? QStringLiteral(" İmzadan sonra yalnızca doğrulama verisi ve belge zaman damgası eklendi; imzalı "
                                 "içerik değişmedi.")
                : QStringLiteral(" İmzadan sonra ek baytlar var; güncel belgenin tamamı bu imzayla korunmuyor. "
                                 "Sonuç: BELİRSİZ.");
    }
}

void TimestampChain::judgeTimestampChain(QList<SignatureReport>& reports, const QList<SignatureReport>& archives,
                                         const QString& trustPath)
{
    const QList<int> order = timestampOrder(reports);
    bool ok = !order.isEmpty();
    QDateTime lastTime;
    qint64 lastLength = 0;
    for (const int index : order) {
        SignatureReport& stamp = reports[index];
        ok = chainStep(stamp, lastTime, lastLength) && ok;
        stamp.archiveCovered = ok;
        stamp.archiveText = ok ? QStringLiteral("DocTimeStamp zinciri GEÇERLİ; önceki revizyonlar ve kanıt baytları "
                                                "kapsanıyor.")
                               : QStringLiteral("DocTimeStamp zinciri BELİRSİZ: sıra, bütünlük veya tarihsel TSA "
                                                "kanıtı eksik.");
    }
    const qint64 lastCovered = order.isEmpty() ? 0 : reports.at(order.constLast()).coveredLength;

    for (int i = 0; i < reports.size(); ++i) {
        SignatureReport& report = reports[i];
        if (report.isDocumentTimestamp)
            continue;
        for (const int index : order) {
            const SignatureReport& stamp = reports.at(index);
            if (stamp.archiveCovered && report.coveredLength < stamp.coveredLength && report.integrityValid)
                protectByTimestamp(report, archives.value(i), stamp, trustPath);
        }
        report.archiveCovered = report.archiveCovered && ok && report.coveredLength < lastCovered;
        report.archiveText = report.archiveCovered
                                 ? QStringLiteral("Sonraki DocTimeStamp zinciri bu imzayı kapsıyor.")
                                 : QStringLiteral("Doğrulanmış DocTimeStamp zinciri kapsamı yok; BELİRSİZ.");
    }
}

void TimestampChain::markFailedAdditions(QList<SignatureReport>& reports)
{
    for (SignatureReport& report : reports) {
        if (report.coversWholeFile)
            continue;
        const bool failedAfter = std::any_of(reports.cbegin(), reports.cend(), [&report](const SignatureReport& other) {
            return &other != &report && !other.integrityValid
                   && (other.coveredLength == 0 || report.coveredLength < other.coveredLength);
        });
        if (failedAfter) {
            report.revisionUncertain = true;
            report.permissionsText +=
                QStringLiteral("\nGenel karar BELİRSİZ: eklenen imza/zaman damgasının bütünlüğü doğrulanamadı.");
        }
    }
}

} // namespace velk
