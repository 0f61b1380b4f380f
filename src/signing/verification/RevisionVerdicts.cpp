#include "signing/verification/RevisionVerdicts.h"

#include "signing/verification/RevisionMarkers.h"
#include "signing/verification/VerificationLimits.h"

#include "worker/contract/JsonFields.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace velk {

namespace {

const QString kPermitted = QStringLiteral(": İZİNLİ");
const QString kForbidden = QStringLiteral(": İZİNSİZ");
// Field names and lock lists come from the document; the worker bounds
// both, and so does the reader here.
constexpr qsizetype kMaxNameUnits = 65536;
constexpr qsizetype kMaxLockFields = 4096;

std::optional<int> docMdpOf(const QJsonObject& policy)
{
    const std::optional<qint64> value = JsonFields::integer(policy, QStringLiteral("docMdp"), 0, 3);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

// The snapshot's "prev": the unparsed /Prev of the revision's trailer.
std::optional<qint64> previousOffset(const QJsonObject& snapshot)
{
    const QString text = snapshot.value(QStringLiteral("prev")).toString();
    if (text.isEmpty() || text.size() > VerificationLimits::kMaxOffsetDigits)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return text.toLongLong();
}

bool differs(const QJsonObject& a, const QJsonObject& b, const QString& key)
{
    return a.value(key) != b.value(key);
}

// The field keys of both snapshots, each once, by object number.
QStringList fieldKeys(const QJsonObject& a, const QJsonObject& b)
{
    QStringList keys = a.keys() + b.keys();
    std::sort(keys.begin(), keys.end(), [](const QString& x, const QString& y) {
        return x.size() != y.size() ? x.size() < y.size() : x < y;
    });
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

QString nameOf(const QJsonObject& record)
{
    return JsonFields::string(record, QStringLiteral("name"), kMaxNameUnits).value_or(QString());
}

bool isTrue(const QJsonObject& record, const QString& key)
{
    return record.value(key).toBool(false);
}

bool samePlace(const QJsonObject& a, const QJsonObject& b)
{
    return a.value(QStringLiteral("structure")) == b.value(QStringLiteral("structure"))
           && a.value(QStringLiteral("page")) == b.value(QStringLiteral("page"));
}

struct ItemList {
    QStringList items;
    bool violation = false;
    bool onlyEvidence = true;
    bool addsTimestamp = false;

    void add(const QString& text, bool forbidden, bool evidence)
    {
        items.append(text + (forbidden ? kForbidden : kPermitted));
        violation = violation || forbidden;
        onlyEvidence = onlyEvidence && evidence && !forbidden;
    }
};

void compareField(ItemList& list, const QJsonObject& a, const QJsonObject& b, int docMdp, const QJsonArray& locks)
{
    const QString name = a.isEmpty() ? nameOf(b) : nameOf(a);
    const bool locked = RevisionVerdicts::isFieldLocked(name, locks)
                        || (!b.isEmpty() && RevisionVerdicts::isFieldLocked(nameOf(b), locks));
    const bool signatureAdded =
        b.value(QStringLiteral("type")).toString() == QStringLiteral("/Sig") && isTrue(b, QStringLiteral("signature"))
        && ((a.isEmpty() && isTrue(b, QStringLiteral("safeSignatureField")))
            || (!a.isEmpty() && !isTrue(a, QStringLiteral("signed")) && samePlace(a, b)));
    const QString suffix = QStringLiteral(" [%1]").arg(name);
    if (signatureAdded) {
        const bool timestamp = isTrue(b, QStringLiteral("timestamp"));
        list.add((timestamp ? QStringLiteral("belge zaman damgası") : QStringLiteral("imza ekleme")) + suffix,
                 locked || (docMdp == 1 && !timestamp), timestamp);
        list.addsTimestamp = list.addsTimestamp || timestamp;
    } else if (!a.isEmpty() && !b.isEmpty() && a.value(QStringLiteral("type")).toString() != QStringLiteral("/Sig")
               && samePlace(a, b)) {
        list.add(QStringLiteral("form doldurma") + suffix, locked || docMdp == 1, false);
    } else {
        list.add(QStringLiteral("alan yapısı/imzası değiştirme") + suffix, locked || docMdp != 0, false);
    }
}

} // namespace

bool RevisionVerdicts::isFieldLocked(const QString& name, const QJsonArray& locks)
{
    for (const QJsonValue& value : locks) {
        const QJsonObject lock = value.toObject();
        const QString action = lock.value(QStringLiteral("action")).toString();
        const std::optional<QJsonArray> fields = JsonFields::array(lock, QStringLiteral("fields"), kMaxLockFields);
        bool match = false;
        for (const QJsonValue& field : fields.value_or(QJsonArray())) {
            const QString entry = JsonFields::string(field, kMaxNameUnits).value_or(QString());
            match = match || (!entry.isEmpty() && (name == entry || name.startsWith(entry + QLatin1Char('.'))));
        }
        if (action == QStringLiteral("/All") || (action == QStringLiteral("/Include") && match)
            || (action == QStringLiteral("/Exclude") && !match))
            return true;
    }
    return false;
}

void RevisionVerdicts::markRevisionsUncertain(SignatureReport& report)
{
    report.revisionUncertain = true;
    report.permissionsText += QStringLiteral("\nBELİRSİZ: incremental revizyon zinciri güvenle sınıflandırılamadı.");
}

RevisionChange RevisionVerdicts::compareRevisions(SignatureReport& report, const QJsonObject& previous,
                                                  const QJsonObject& next, const QJsonObject& policy, int number)
{
    // An unreadable DocMDP value counts as the most restrictive.
    const int docMdp = docMdpOf(policy).value_or(1);
    const QJsonArray locks = policy.value(QStringLiteral("locks")).toArray();
    ItemList list;
    if (differs(previous, next, QStringLiteral("base")) || differs(previous, next, QStringLiteral("form"))
        || differs(previous, next, QStringLiteral("trailer")))
        list.add(QStringLiteral("sayfa/içerik veya belge yapısı değişikliği"), docMdp != 0, false);
    if (differs(previous, next, QStringLiteral("annotations")))
        list.add(QStringLiteral("açıklama ekleme/değiştirme"), docMdp == 1 || docMdp == 2, false);
    if (differs(previous, next, QStringLiteral("dss")))
        list.add(QStringLiteral("DSS/VRI doğrulama verisi"), false, true);

    const QJsonObject before = previous.value(QStringLiteral("fields")).toObject();
    const QJsonObject after = next.value(QStringLiteral("fields")).toObject();
    for (const QString& key : fieldKeys(before, after)) {
        const QJsonObject a = before.value(key).toObject();
        const QJsonObject b = after.value(key).toObject();
        if (a != b)
            compareField(list, a, b, docMdp, locks);
    }

    RevisionChange change;
    change.onlyEvidence = !list.items.isEmpty() && list.onlyEvidence;
    change.addsDocumentTimestamp = list.addsTimestamp;
    if (list.items.isEmpty())
        list.items.append(QStringLiteral("görünür/işlevsel değişiklik yok: İZİNLİ"));
    report.permissionViolation = report.permissionViolation || list.violation;
    report.permissionsText += QStringLiteral("\nRevizyon %1: ").arg(number) + list.items.join(QStringLiteral("; "));
    return change;
}

LaterRevisions RevisionVerdicts::analyseRevisions(SignatureReport& report, const QJsonObject& policy,
                                                  RevisionPolicySource& source)
{
    LaterRevisions later;
    if (report.coversWholeFile) {
        report.permissionsText += QStringLiteral(" — değişiklik yok: İZİNLİ");
        return later;
    }
    QJsonObject snapshot = policy.value(QStringLiteral("snapshot")).toObject();
    if (snapshot.isEmpty() || !docMdpOf(policy)) {
        markRevisionsUncertain(report);
        return later;
    }
    const QByteArray& file = source.file();
    qint64 end = report.coveredLength;
    qint64 previous = -1;
    int number = 0;
    bool onlyEvidence = true;
    RevisionMarkers markers(file);
    while (const std::optional<RevisionMarker> marker = markers.next()) {
        if (marker->start < report.coveredLength) {
            previous = marker->offset;
            continue;
        }
        ++number;
        if (number > VerificationLimits::kMaxLaterRevisions || marker->offset < end
            || marker->offset >= marker->start || previous < 0) {
            markRevisionsUncertain(report);
            return later;
        }
        const PolicyReply reply = source.revisionPolicy(marker->end, false);
        const QJsonObject next = reply.json.value(QStringLiteral("snapshot")).toObject();
        const std::optional<qint64> prev = previousOffset(next);
        if (!reply.error.isEmpty() || next.isEmpty() || !prev || *prev != previous) {
            markRevisionsUncertain(report);
            return later;
        }
        const RevisionChange change = compareRevisions(report, snapshot, next, policy, number);
        onlyEvidence = onlyEvidence && change.onlyEvidence;
        if (change.addsDocumentTimestamp)
            later.timestampRevisions.append({end, marker->end});
        snapshot = next;
        end = marker->end;
        previous = marker->offset;
    }
    if (end != file.size()) {
        markRevisionsUncertain(report);
        return later;
    }
    later.onlyEvidence = onlyEvidence && number > 0;
    return later;
}

} // namespace velk
