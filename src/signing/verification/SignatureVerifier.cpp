#include "signing/verification/SignatureVerifier.h"

#include "signing/verification/TimestampChain.h"
#include "signing/verification/VerificationLimits.h"
#include "signing/verification/VerificationRun.h"

#include "worker/contract/operations/SignatureListContract.h"
#include "worker/runner/PdfWorkerRunner.h"

#include <QFile>

#include <optional>

namespace velk {

namespace {

const QString kCancelled = QStringLiteral("İşlem iptal edildi.");

SignatureReports failure(const QString& error)
{
    SignatureReports result;
    result.error = error;
    return result;
}

bool isCancelled(const CancelFlag& cancel)
{
    return cancel && cancel->load();
}

// The working copy's bytes, read once; empty when unreadable or too large.
QByteArray readDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(VerificationLimits::kMaxVerifiedFileBytes + 1);
    return bytes.size() > VerificationLimits::kMaxVerifiedFileBytes ? QByteArray() : bytes;
}

WorkerReply listSignatures(const PdfDocument& document, const CancelFlag& cancel, const QString& applicationDirectory)
{
    const QJsonObject request = SignaturesRequest{document.workingPath}.toJson();
    if (applicationDirectory.isEmpty())
        return runPdfWorker(request, document.password, cancel, VerificationLimits::kWorkerTimeLimitMs);
    return runPdfWorker(request, document.password, cancel, VerificationLimits::kWorkerTimeLimitMs,
                        applicationDirectory);
}

} // namespace

SignatureReports verifySignatures(PdfDocumentPtr document, const QString& trustPath, CancelFlag cancel,
                                  const VerificationOptions& options)
{
    if (!document)
        return failure(QStringLiteral("Açık PDF gerekli."));
    const WorkerReply listing = listSignatures(*document, cancel, options.applicationDirectory);
    if (!listing.error.isEmpty())
        return failure(isCancelled(cancel) ? kCancelled : listing.error);
    const std::optional<SignaturesReply> signatures = SignaturesReply::fromJson(listing.json);
    if (!signatures)
        return failure(QStringLiteral("İmza listesi okunamadı."));
    QByteArray file = readDocument(document->workingPath);
    if (file.isEmpty())
        return failure(QStringLiteral("İmza doğrulama sınırı 128 MiB."));

    RevisionPolicySource source(std::move(file), document->workingPath, cancel, options.applicationDirectory);
    VerificationRun run(source, trustPath, options);
    run.start();
    for (const SignatureEntry& entry : signatures->signatures) {
        if (isCancelled(cancel))
            return failure(kCancelled);
        run.verify(entry);
    }
    QList<SignatureReport>& reports = run.reports();
    TimestampChain::judgeCoverage(reports, run.later());
    TimestampChain::judgeTimestampChain(reports, run.archives(), trustPath);
    TimestampChain::markFailedAdditions(reports);
    // Checks cut short by a late cancellation would read as undetermined.
    if (isCancelled(cancel))
        return failure(kCancelled);
    SignatureReports result;
    result.reports = reports;
    return result;
}

} // namespace velk
