#include "worker/contract/operations/InspectContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

#include <climits>
#include <cmath>

namespace velk {

namespace {

const QString kPages = QStringLiteral("pages");
const QString kSignatures = QStringLiteral("signatures");
const QString kPermissions = QStringLiteral("permissions");
constexpr qint64 kMaxPermissions = 0xffffffffLL;

bool isValidSide(const QJsonValue& value)
{
    if (!value.isDouble())
        return false;
    const double side = value.toDouble();
    return std::isfinite(side) && side > 0.0 && side <= SharedLimits::kMaxPageSide;
}

Decoded<QList<QSizeF>> readPages(const QJsonObject& json)
{
    using Result = Decoded<QList<QSizeF>>;
    const std::optional<QJsonArray> pages = JsonFields::array(json, kPages, SharedLimits::kMaxPageCount);
    if (!pages || pages->isEmpty())
        return Result::refused(QStringLiteral("PDF sayfa bilgisi geçersiz."));
    QList<QSizeF> sizes;
    sizes.reserve(pages->size());
    for (const QJsonValue& entry : *pages) {
        const QJsonArray pair = entry.toArray();
        if (!entry.isArray() || pair.size() != 2)
            return Result::refused(QStringLiteral("PDF sayfa bilgisi eksik."));
        if (!isValidSide(pair.at(0)) || !isValidSide(pair.at(1)))
            return Result::refused(QStringLiteral("PDF sayfa ölçüleri geçersiz."));
        sizes.append(QSizeF(pair.at(0).toDouble(), pair.at(1).toDouble()));
    }
    return Result{sizes, {}};
}

// An absent field reads as its default; a present one must be usable.
std::optional<qint64> optionalInteger(const QJsonObject& json, const QString& key, qint64 minimum, qint64 maximum,
                                      qint64 absent)
{
    if (!json.contains(key))
        return absent;
    return JsonFields::integer(json, key, minimum, maximum);
}

} // namespace

QJsonObject InspectRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("inspect")}, {QStringLiteral("path"), path}};
}

QJsonObject InspectReply::toJson() const
{
    QJsonArray pages;
    for (const QSizeF& size : pageSizes)
        pages.append(QJsonArray{size.width(), size.height()});
    QJsonObject json{{QStringLiteral("ok"), true},
                     {kPages, pages},
                     {kSignatures, signatureCount},
                     {kPermissions, permissions}};
    protection.writeTo(json);
    return json;
}

Decoded<InspectReply> InspectReply::fromJson(const QJsonObject& json)
{
    const Decoded<QList<QSizeF>> pages = readPages(json);
    if (!pages.value)
        return Decoded<InspectReply>::refused(pages.error);
    const std::optional<qint64> signatures = optionalInteger(json, kSignatures, -1, INT_MAX, 0);
    const std::optional<qint64> permissions = optionalInteger(json, kPermissions, 0, kMaxPermissions, 0);
    const std::optional<DocumentProtection> protection = DocumentProtection::fromJson(json);
    if (!signatures || !permissions || !protection)
        return Decoded<InspectReply>::refused();
    return Decoded<InspectReply>{InspectReply{*pages.value, int(*signatures), *protection, *permissions}, {}};
}

} // namespace velk
