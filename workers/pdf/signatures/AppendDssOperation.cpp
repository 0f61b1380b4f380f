#include "signatures/AppendDssOperation.h"

#include "ErrorReply.h"
#include "qpdf/Qpdf.h"
#include "qpdf/QpdfLimits.h"
#include "signatures/DssUpdate.h"
#include "signatures/PermissionAnalysis.h"
#include "signatures/SignatureLimits.h"
#include "worker/contract/JsonFields.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <optional>

namespace velk {

namespace {

struct SourceFile {
    QString kind;
    QString path;
    bool vri = true;
};

struct DssRequest {
    QString path;
    QString output;
    QByteArray vri;
    bool documentTimestamp = false;
    QList<SourceFile> sources;
};

bool knownKind(const QString& kind)
{
    return kind == QLatin1String("Certs") || kind == QLatin1String("OCSPs") || kind == QLatin1String("CRLs");
}

std::optional<SourceFile> readSource(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto kind = JsonFields::string(object, QStringLiteral("kind"), SignatureLimits::kMaxRequestPathLength);
    const auto path = JsonFields::string(object, QStringLiteral("path"), SignatureLimits::kMaxRequestPathLength);
    const auto vri = object.contains(QStringLiteral("vri")) ? JsonFields::boolean(object, QStringLiteral("vri"))
                                                             : std::optional<bool>(true);
    if (!kind || !vri)
        return std::nullopt;
    if (!knownKind(*kind))
        return SourceFile{*kind, {}, false};
    if (!path)
        throw QpdfFailure("evidence file");
    return SourceFile{*kind, *path, *vri};
}

DssRequest readRequest(const QJsonObject& request)
{
    const auto path = JsonFields::string(request, QStringLiteral("path"), SignatureLimits::kMaxRequestPathLength);
    const auto output =
        JsonFields::string(request, QStringLiteral("output"), SignatureLimits::kMaxRequestPathLength);
    const auto vri = JsonFields::string(request, QStringLiteral("vri"), SignatureLimits::kVriKeyLength + 1);
    const auto timestamp = request.contains(QStringLiteral("documentTimestamp"))
                               ? JsonFields::boolean(request, QStringLiteral("documentTimestamp"))
                               : std::optional<bool>(false);
    const auto sources = request.contains(QStringLiteral("sources"))
                             ? JsonFields::array(request, QStringLiteral("sources"),
                                                 SignatureLimits::kMaxEvidenceSources)
                             : std::optional<QJsonArray>(QJsonArray());
    if (!path || !output || !timestamp || !sources)
        throw QpdfFailure("read");
    static const QRegularExpression vriPattern(QStringLiteral("^[0-9A-F]{40}$"));
    if (!vri || !vriPattern.match(*vri).hasMatch())
        throw QpdfFailure("vri");
    DssRequest result{*path, *output, vri->toLatin1(), *timestamp, {}};
    for (const QJsonValue& value : *sources) {
        const std::optional<SourceFile> source = readSource(value);
        if (!source)
            throw QpdfFailure("evidence file");
        if (knownKind(source->kind))
            result.sources << *source;
    }
    return result;
}

// Sizes are summed before anything is read: the files together must fit
// the largest output beside the document.
void checkFiles(const DssRequest& request)
{
    const QFileInfo input(request.path);
    const QFileInfo output(request.output);
    if (request.path.contains(QChar(0)) || !input.isFile() || input.size() > QpdfLimits::kMaxIncrementalBytes)
        throw QpdfFailure("read");
    if (request.output.contains(QChar(0)) || !output.isAbsolute() || output.exists() || output.isSymLink())
        throw QpdfFailure("write");
    qint64 total = input.size();
    for (const SourceFile& source : request.sources) {
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

void append(const DssRequest& request)
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
    for (const SourceFile& source : request.sources)
        sources << EvidenceSource{source.kind, readEvidence(source.path), source.vri};
    DssUpdate::build(qpdf, catalog, request.vri, request.documentTimestamp, sources);
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
