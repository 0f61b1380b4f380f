#include "worker/contract/operations/TextObjectsContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

#include <limits>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kPath = QStringLiteral("path");
const QString kPage = QStringLiteral("page");
const QString kObjects = QStringLiteral("objects");
const QString kObject = QStringLiteral("object");
const QString kText = QStringLiteral("text");
const QString kSize = QStringLiteral("size");
const QString kNestedForms = QStringLiteral("nestedForms");
const QString kOutput = QStringLiteral("output");

constexpr double kAnyNumber = std::numeric_limits<double>::max();
constexpr qsizetype kAnyLength = std::numeric_limits<qsizetype>::max();

std::optional<ListedTextObject> readListed(const QJsonValue& value)
{
    const QJsonObject entry = value.toObject();
    const std::optional<qint64> object = JsonFields::integer(entry, kObject, 0, kMaxPageObjects - 1);
    const std::optional<QString> text = JsonFields::string(entry, kText, kMaxEditTextUnits);
    const std::optional<double> size = JsonFields::number(entry, kSize, -kAnyNumber, kAnyNumber);
    if (!value.isObject() || !object || !text || !size)
        return std::nullopt;
    return ListedTextObject{*object, *text, *size};
}

} // namespace

QJsonObject TextObjectsRequest::toJson() const
{
    return QJsonObject{
        {QStringLiteral("operation"), QStringLiteral("textObjects")}, {kPath, path}, {kPage, page}};
}

TextObjectsRequest TextObjectsRequest::fromJson(const QJsonObject& json)
{
    return TextObjectsRequest{json.value(kPath).toString(), JsonFields::index(json, kPage, kMaxPageIndex)};
}

QJsonObject TextObjectsReply::toJson() const
{
    QJsonArray list;
    for (const ListedTextObject& listed : objects)
        list.append(QJsonObject{{kObject, listed.object}, {kText, listed.text}, {kSize, listed.size}});
    return QJsonObject{{QStringLiteral("ok"), true}, {kObjects, list}, {kNestedForms, nestedForms}};
}

TextObjectsReply TextObjectsReply::fromJson(const QJsonObject& json)
{
    TextObjectsReply reply;
    const QJsonArray list = json.value(kObjects).toArray();
    for (const QJsonValue& value : list) {
        if (reply.objects.size() >= kMaxListedTextObjects)
            break;
        if (const std::optional<ListedTextObject> listed = readListed(value))
            reply.objects.append(*listed);
    }
    reply.nestedForms = JsonFields::integer(json, kNestedForms, 0, kMaxPageObjects).value_or(0);
    return reply;
}

QJsonObject TextObjectEditRequest::toJson() const
{
    const QString operation = deleting ? QStringLiteral("deleteText") : QStringLiteral("replaceText");
    QJsonObject json{{QStringLiteral("operation"), operation},
                     {kPage, page},
                     {kObject, object},
                     {kText, text}};
    if (!path.isEmpty())
        json.insert(kPath, path);
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

TextObjectEditRequest TextObjectEditRequest::fromJson(const QJsonObject& json)
{
    TextObjectEditRequest request;
    request.deleting = json.value(QStringLiteral("operation")).toString() == QLatin1String("deleteText");
    request.path = json.value(kPath).toString();
    request.page = JsonFields::index(json, kPage, kMaxPageIndex);
    request.object = json.value(kObject);
    request.text = JsonFields::string(json, kText, kAnyLength).value_or(QString());
    request.output = JsonFields::string(json, kOutput, kAnyLength).value_or(QString());
    return request;
}

qint64 TextObjectEditRequest::objectIndex() const
{
    return JsonFields::integer(object, 0, kMaxPageObjects - 1).value_or(-1);
}

} // namespace velk
