#include "operations/TextObjectEntries.h"

#include "operations/OperationLimits.h"

#include <QJsonArray>

namespace velk {

QList<TextObjectEntry> TextObjectEntries::read(const QJsonObject& reply)
{
    QList<TextObjectEntry> entries;
    const QJsonArray objects = reply.value(QStringLiteral("objects")).toArray();
    for (const QJsonValue& value : objects) {
        if (entries.size() >= OperationLimits::kMaxListedTextObjects)
            break;
        if (!value.isObject())
            continue;
        const QJsonObject entry = value.toObject();
        entries.append({entry.value(QStringLiteral("text")).toString(), entry.value(QStringLiteral("object"))});
    }
    return entries;
}

QString TextObjectEntries::rowText(const QString& text)
{
    QString row = text.simplified();
    if (row.size() <= OperationLimits::kListedTextUnits)
        return row;
    row.truncate(OperationLimits::kListedTextUnits);
    if (row.back().isHighSurrogate())
        row.chop(1);
    return row;
}

} // namespace velk
