#include "signatures/SignaturePolicyOperation.h"

#include "ErrorReply.h"
#include "PdfWorkerLimits.h"
#include "qpdf/Qpdf.h"
#include "qpdf/RevisionSnapshot.h"
#include "signatures/DssEvidence.h"
#include "signatures/PermissionAnalysis.h"
#include "worker/contract/JsonFields.h"

#include <QFileInfo>

#include <optional>

namespace velk {

namespace {

constexpr qsizetype kMaxPathLength = 32767;

// Absent means false; present, it must be a boolean.
std::optional<bool> flag(const QJsonObject& request, const QString& key)
{
    if (!request.contains(key))
        return false;
    return JsonFields::boolean(request, key);
}

QJsonObject policy(const QString& path, bool snapshot, bool evidence)
{
    const QFileInfo info(path);
    if (path.contains(QChar(0)) || !info.isFile() || info.size() > PdfWorkerLimits::kMaxPdfFileBytes)
        throw QpdfFailure("read");
    Qpdf qpdf;
    if (!qpdf.bindQpdf())
        throw QpdfFailure("read");
    qpdf.readFile(path);
    const qpdf_oh catalog = qpdf.root();
    QJsonObject result = PermissionAnalysis::permissions(qpdf, catalog);
    if (snapshot)
        result.insert(QStringLiteral("snapshot"), RevisionSnapshot::build(qpdf));
    if (evidence)
        DssEvidence::read(qpdf, catalog, result);
    return result;
}

} // namespace

void SignaturePolicyOperation::run(QJsonObject& reply, const QJsonObject& request)
{
    const std::optional<QString> path = JsonFields::string(request, QStringLiteral("path"), kMaxPathLength);
    const std::optional<bool> snapshot = flag(request, QStringLiteral("snapshot"));
    const std::optional<bool> evidence = flag(request, QStringLiteral("evidence"));
    try {
        if (!path || !snapshot || !evidence)
            throw QpdfFailure("read");
        reply = policy(*path, *snapshot, *evidence);
    } catch (const std::exception&) {
        // qpdf's own failures, the layer's limits and a failed allocation
        // all end the analysis the same way.
        reply = errorReply(QStringLiteral("DocMDP/FieldMDP izinleri güvenle çözümlenemedi."));
    }
}

} // namespace velk
