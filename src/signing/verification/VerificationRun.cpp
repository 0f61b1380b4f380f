#include "signing/verification/VerificationRun.h"

#include "signing/verification/HistoricalCheck.h"
#include "signing/verification/SignatureEntryCheck.h"
#include "signing/verification/VerificationLimits.h"

#include "signing/certificates/CertificatePolicy.h"
#include "signing/cms/CmsVerification.h"
#include "signing/revocation/RevocationChecker.h"
#include "signing/revocation/RevocationLimits.h"
#include "signing/timestamps/Timestamp.h"
#include "worker/contract/JsonFields.h"

#include <QCryptographicHash>
#include <QJsonArray>

namespace velk {

namespace {

const QString kTimestampFilter = QStringLiteral("ETSI.RFC3161");

// One kind of stored evidence ("Certs", "OCSPs", "CRLs") of a policy reply.
QList<QByteArray> evidenceOf(const QJsonObject& policy, const QString& kind)
{
    QList<QByteArray> items;
    const std::optional<QJsonArray> list = JsonFields::array(policy, kind, VerificationLimits::kMaxStoredEvidenceItems);
    for (const QJsonValue& value : list.value_or(QJsonArray())) {
        const QJsonObject holder{{kind, value}};
        if (const std::optional<QByteArray> item = JsonFields::base64(holder, kind, revocation::kMaxEvidenceBytes))
            items.append(*item);
    }
    return items;
}

QString permissionSummary(const QJsonObject& policy)
{
    const qint64 docMdp = JsonFields::integer(policy, QStringLiteral("docMdp"), 0, 3).value_or(0);
    const QString fieldMdp = policy.value(QStringLiteral("fieldMdp")).toString();
    return QStringLiteral("DocMDP: %1; FieldMDP: %2")
        .arg(docMdp == 0 ? QStringLiteral("yok") : QString::number(docMdp),
             fieldMdp.isEmpty() ? QStringLiteral("yok") : fieldMdp);
}

} // namespace

VerificationRun::VerificationRun(RevisionPolicySource& source, QString trustPath, const VerificationOptions& options)
    : m_source(source)
    , m_trustPath(std::move(trustPath))
{
    m_context.networkAllowed = options.networkAllowed;
    m_context.privateHostAllowList = options.privateHostAllowList;
    m_context.cancelled = source.cancel();
}

void VerificationRun::start()
{
    m_document = m_source.documentPolicy();
}

bool VerificationRun::checkBytes(SignatureReport& report, const SignatureEntry& entry, QByteArray& contents,
                                 QByteArray& signedBytes)
{
    const QByteArray& file = m_source.file();
    const std::optional<SignedRange> range = SignatureEntryCheck::checkRange(entry, file);
    if (!range) {
        report.verdict = QStringLiteral("ByteRange, Contents veya imza biçimi geçersiz/desteklenmiyor.");
        return false;
    }
    if (!entry.cms || !SignatureEntryCheck::contentsMatch(file, *range, *entry.cms)) {
        report.verdict = QStringLiteral("İmza dışındaki baytlar Contents aralığına gizlenmiş olabilir.");
        return false;
    }
    contents = *entry.cms;
    signedBytes = file.left(range->gapStart) + file.mid(range->gapEnd, range->tailLength);
    report.coveredLength = range->gapEnd + range->tailLength;
    report.coversWholeFile = report.coveredLength == file.size();
    return true;
}

void VerificationRun::checkCryptography(SignatureReport& report, const QString& filter, const QByteArray& contents,
                                        const QByteArray& signedBytes)
{
    if (filter == kTimestampFilter) {
        const QByteArray imprint = QCryptographicHash::hash(signedBytes, QCryptographicHash::Sha256);
        report.integrityValid = Timestamp::verifyTimestampToken(contents, imprint, m_trustPath, report);
        report.chainTrusted = report.timestampValid;
        report.signerName += QStringLiteral(" — Belge zaman damgası (TSA)");
    } else {
        const int number = report.number;
        const qint64 covered = report.coveredLength;
        const bool whole = report.coversWholeFile;
        report = CmsVerification::verifyCmsSignature(contents, signedBytes, m_trustPath,
                                    filter == QStringLiteral("ETSI.CAdES.detached"));
        report.number = number;
        report.coveredLength = covered;
        report.coversWholeFile = whole;
    }
    report.isDocumentTimestamp = filter == kTimestampFilter;
}

void VerificationRun::verify(const SignatureEntry& entry)
{
    SignatureReport report;
    report.number = int(m_reports.size()) + 1;
    QByteArray contents;
    QByteArray signedBytes;
    if (!checkBytes(report, entry, contents, signedBytes)) {
        finish(report, report, LaterRevisions());
        return;
    }
    checkCryptography(report, entry.filter, contents, signedBytes);
    if (report.declaredSigningTime.isEmpty())
        report.declaredSigningTime = SignatureEntryCheck::declaredTime(entry.time);

    PolicyReply policy = m_document;
    if (!report.coversWholeFile)
        policy = m_source.revisionPolicy(report.coveredLength, true);
    const QJsonObject& evidence = report.isDocumentTimestamp ? policy.json : m_document.json;
    report.certificates += evidenceOf(evidence, QStringLiteral("Certs"));
    report.ocspResponses += evidenceOf(evidence, QStringLiteral("OCSPs"));
    report.crls += evidenceOf(evidence, QStringLiteral("CRLs"));
    const SignatureReport archive = report;

    if (report.integrityValid)
        validate(report);
    report.verdict += QLatin1Char(' ') + SignatureReport::statusWord(report.revocationStatus) + QStringLiteral(": ")
                      + report.revocationText;

    report.revisionUncertain = !policy.error.isEmpty();
    report.permissionsText = policy.error.isEmpty() ? permissionSummary(policy.json) : policy.error;
    const LaterRevisions later = RevisionVerdicts::analyseRevisions(report, policy.json, m_source);
    finish(report, archive, later);
}

void VerificationRun::validate(SignatureReport& report)
{
    HistoricalCheck::checkHistorical(report, m_trustPath);
    RevocationChecker::checkRevocation(report, m_trustPath, m_context, 0, QDateTime(), false);
    CertificatePolicy::checkNesProfile(report);
    if (report.isDocumentTimestamp)
        report.tsaRevocationStatus = report.revocationStatus;
    else if (report.timestampValid)
        checkAuthority(report);
    report.verdict = SignatureReport::verdictSentence(report);
}

// The signature time stamp's authority, checked now with the document's
// stored evidence.
void VerificationRun::checkAuthority(SignatureReport& report)
{
    SignatureReport authority;
    Timestamp::inspectTimestampToken(report.timestampToken, true, authority);
    authority.certificates += report.certificates;
    authority.ocspResponses = evidenceOf(m_document.json, QStringLiteral("OCSPs"));
    authority.crls = evidenceOf(m_document.json, QStringLiteral("CRLs"));
    RevocationChecker::checkRevocation(authority, m_trustPath, m_context, 0, QDateTime(), false);
    report.tsaRevocationStatus = authority.revocationStatus;
    report.certificates += authority.certificates;
    report.ocspResponses += authority.ocspResponses;
    report.crls += authority.crls;
}

void VerificationRun::finish(SignatureReport report, const SignatureReport& archive, const LaterRevisions& later)
{
    m_reports.append(std::move(report));
    m_archives.append(archive);
    m_later.append(later);
}

} // namespace velk
