#include "signatures/AppendDssOperation.h"

#include "ErrorReply.h"
#include "qpdf/Qpdf.h"
#include "qpdf/QpdfLimits.h"
#include "signatures/DssUpdate.h"
#include "signatures/PermissionAnalysis.h"
#include "signatures/SignatureLimits.h"
#include "worker/contract/operations/SignaturePreparationContract.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace velk {

namespace {

AppendDssRequest readRequest(const QJsonObject& json)
{
    std::optional<AppendDssRequest> request = AppendDssRequest::fromJson(json);
    if (!request)
        throw QpdfFailure("read");
    return std::move(*request);
}

// Sizes are summed before anything is read: the files together must fit
// the largest output beside the document.
void checkFiles(const AppendDssRequest& request)
{
    const QFileInfo input(request.path);
    const QFileInfo output(request.output);
    if (request.path.contains(QChar(0)) || !input.isFile() || input.size() > QpdfLimits::kMaxIncrementalBytes)
        throw QpdfFailure("read");
    if (request.output.contains(QChar(0)) || !output.isAbsolute() || output.exists() || output.isSymLink())
        throw QpdfFailure("write");
    qint64 total = input.size();
    for (const DssSourceFile& source : request.sources) {
        const QFileInfo file(source.path);
        if (source.path.contains(QChar(0)) || !file.isFile()
            || file.size() > SignatureLimits::kMaxEvidenceStreamBytes)
            throw QpdfFailure("evidence file");
        if (file.size() == 0)
            throw QpdfFailure("evidence size");
        total += file.size();
        if (total > QpdfLimits::kMaxIncrementalBytes)
            throw QpdfFailure("evidence file");
    }
}

QByteArray readEvidence(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > SignatureLimits::kMaxEvidenceStreamBytes)
        throw QpdfFailure("evidence file");
    // Read at its own size: a read of the largest allowed size would keep
    // that much capacity for every file, however small.
    const qint64 size = file.size();
    const QByteArray data = file.read(size);
    if (data.isEmpty() || data.size() != size || !file.atEnd())
        throw QpdfFailure("evidence size");
    return data;
}

void append(const AppendDssRequest& request)
{
    checkFiles(request);
    Qpdf qpdf;
    if (!qpdf.bindQpdf())
        throw QpdfFailure("read");
    qpdf.readFile(request.path);
    const qpdf_oh catalog = qpdf.root();
    const QJsonObject permissions = PermissionAnalysis::permissions(qpdf, catalog);
    if (permissions.value(QStringLiteral("docMdp")).toInt() != 0
        || !permissions.value(QStringLiteral("fieldMdp")).toString().isEmpty())
        throw QpdfFailure("permissions");
    QList<EvidenceSource> sources;
    for (const DssSourceFile& source : request.sources)
        sources << EvidenceSource{source.kind, readEvidence(source.path), source.vri};
    DssUpdate::build(qpdf, catalog, request.vri.toLatin1(), request.documentTimestamp, sources);
    qpdf.addDocumentExtensions(catalog);
    if (!qpdf.writeIncrementalUpdate(request.path, request.output))
        throw QpdfFailure("write");
}

} // namespace

void AppendDssOperation::run(QJsonObject& reply, const QJsonObject& request)
{
    try {
        append(readRequest(request));
        reply = QJsonObject{{QStringLiteral("ok"), true}};
    } catch (const std::exception&) {
        // The internal reason stays inside; the user gets one sentence.
        reply = errorReply(QStringLiteral("DSS doğrulama kanıtları incremental olarak eklenemedi."));
    }
}

} // namespace velk
