#include "operations/TextObjectEntries.h"

#include "operations/OperationLimits.h"

#include "worker/contract/operations/TextObjectsContract.h"

namespace velk {

QList<TextObjectEntry> TextObjectEntries::read(const QJsonObject& reply)
{
    QList<TextObjectEntry> entries;
    for (const ListedTextObject& listed : TextObjectsReply::fromJson(reply).objects)
        entries.append({listed.text, QJsonValue(listed.object)});
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
