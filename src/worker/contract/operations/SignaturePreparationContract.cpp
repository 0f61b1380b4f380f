#include "worker/contract/operations/SignaturePreparationContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <climits>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kPath = QStringLiteral("path");
const QString kOutput = QStringLiteral("output");
const QString kPage = QStringLiteral("page");
const QString kVisible = QStringLiteral("visible");
const QString kDocumentTimestamp = QStringLiteral("documentTimestamp");
const QString kReason = QStringLiteral("reason");
const QString kSigner = QStringLiteral("signer");
const QString kVri = QStringLiteral("vri");
const QString kSources = QStringLiteral("sources");
const QString kKind = QStringLiteral("kind");

// An optional flag: absent is the default, present must be a boolean.
std::optional<bool> flag(const QJsonObject& json, const QString& key, bool absent)
{
    return json.contains(key) ? JsonFields::boolean(json, key) : std::optional<bool>(absent);
}

std::optional<QString> text(const QJsonObject& json, const QString& key)
{
    return json.contains(key) ? JsonFields::string(json, key, kMaxSignatureRequestTextLength)
                              : std::optional<QString>(QString());
}

bool knownKind(const QString& kind)
{
    return kind == QLatin1String("Certs") || kind == QLatin1String("OCSPs") || kind == QLatin1String("CRLs");
}

// Nothing when the entry is refused; a source with an empty kind when it
// is of another kind and left out.
std::optional<DssSourceFile> readSource(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto kind = JsonFields::string(object, kKind, kMaxSignatureRequestPathLength);
    const auto vri = flag(object, kVri, true);
    if (!kind || !vri)
        return std::nullopt;
    if (!knownKind(*kind))
        return DssSourceFile{};
    const auto path = JsonFields::string(object, kPath, kMaxSignatureRequestPathLength);
    if (!path)
        return std::nullopt;
    return DssSourceFile{*kind, *path, *vri};
}

bool isVriKey(const QString& key)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9A-F]{40}$"));
    return pattern.match(key).hasMatch();
}

} // namespace

QJsonObject PrepareSignatureRequest::toJson() const
{
    QJsonObject json{{QStringLiteral("operation"), QStringLiteral("prepareSignature")},
                     {kPath, path},
                     {kOutput, output},
                     {kPage, page},
                     {kVisible, visible},
                     {kReason, reason},
                     {kSigner, signer}};
    if (documentTimestamp)
        json.insert(kDocumentTimestamp, true);
    return json;
}

std::optional<PrepareSignatureRequest> PrepareSignatureRequest::fromJson(const QJsonObject& json)
{
    const auto path = JsonFields::string(json, kPath, kMaxSignatureRequestPathLength);
    const auto output = JsonFields::string(json, kOutput, kMaxSignatureRequestPathLength);
    const auto page =
        json.contains(kPage) ? JsonFields::integer(json, kPage, INT_MIN, INT_MAX) : std::optional<qint64>(-1);
    const auto visible = flag(json, kVisible, false);
    const auto timestamp = flag(json, kDocumentTimestamp, false);
    const auto reason = text(json, kReason);
    const auto signer = text(json, kSigner);
    if (!path || !output || !page || !visible || !timestamp || !reason || !signer)
        return std::nullopt;
    return PrepareSignatureRequest{*path, *output, int(*page), *visible, *timestamp, *reason, *signer};
}

QJsonObject AppendDssRequest::toJson() const
{
    QJsonArray list;
    for (const DssSourceFile& source : sources)
        list.append(QJsonObject{{kKind, source.kind}, {kPath, source.path}, {kVri, source.vri}});
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("appendDss")},
                       {kPath, path},
                       {kOutput, output},
                       {kVri, vri},
                       {kDocumentTimestamp, documentTimestamp},
                       {kSources, list}};
}

std::optional<AppendDssRequest> AppendDssRequest::fromJson(const QJsonObject& json)
{
    const auto path = JsonFields::string(json, kPath, kMaxSignatureRequestPathLength);
    const auto output = JsonFields::string(json, kOutput, kMaxSignatureRequestPathLength);
    const auto vri = JsonFields::string(json, kVri, kVriKeyLength + 1);
    const auto timestamp = flag(json, kDocumentTimestamp, false);
    const auto sources = json.contains(kSources) ? JsonFields::array(json, kSources, kMaxEvidenceSources)
                                                 : std::optional<QJsonArray>(QJsonArray());
    if (!path || !output || !vri || !isVriKey(*vri) || !timestamp || !sources)
        return std::nullopt;
    AppendDssRequest request{*path, *output, *vri, *timestamp, {}};
    for (const QJsonValue& value : *sources) {
        const std::optional<DssSourceFile> source = readSource(value);
        if (!source)
            return std::nullopt;
        if (!source->kind.isEmpty())
            request.sources.append(*source);
    }
    return request;
}

} // namespace velk
