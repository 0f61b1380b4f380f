#include "InspectionReply.h"

#include "DocumentLimits.h"

#include <QJsonArray>

#include <cmath>

namespace velk {

namespace {

bool isValidSide(const QJsonValue& value)
{
    if (!value.isDouble())
        return false;
    const double side = value.toDouble();
    return std::isfinite(side) && side > 0.0 && side <= DocumentLimits::kMaxPageSide;
}

} // namespace

QString InspectionReply::apply(const QJsonObject& reply, PdfDocument& document)
{
    const QJsonValue pagesValue = reply.value(QStringLiteral("pages"));
    const QJsonArray pages = pagesValue.toArray();
    if (!pagesValue.isArray() || pages.isEmpty() || pages.size() > DocumentLimits::kMaxPages)
        return QStringLiteral("PDF sayfa bilgisi geçersiz.");

    QList<QSizeF> sizes;
    sizes.reserve(pages.size());
    for (const QJsonValue& entry : pages) {
        const QJsonArray pair = entry.toArray();
        if (!entry.isArray() || pair.size() != 2)
            return QStringLiteral("PDF sayfa bilgisi eksik.");
        if (!isValidSide(pair.at(0)) || !isValidSide(pair.at(1)))
            return QStringLiteral("PDF sayfa ölçüleri geçersiz.");
        sizes.append(QSizeF(pair.at(0).toDouble(), pair.at(1).toDouble()));
    }
    document.pageSizes = sizes;
    document.signatureCount = reply.value(QStringLiteral("signatures")).toInt(0);
    document.encrypted = reply.value(QStringLiteral("encrypted")).toBool(false);
    return {};
}

} // namespace velk
