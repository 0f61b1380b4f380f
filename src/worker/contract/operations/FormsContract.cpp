#include "worker/contract/operations/FormsContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <limits>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kPath = QStringLiteral("path");
const QString kOutput = QStringLiteral("output");
const QString kFields = QStringLiteral("fields");
const QString kUpdates = QStringLiteral("updates");
const QString kPage = QStringLiteral("page");
const QString kAnnotation = QStringLiteral("annotation");
const QString kType = QStringLiteral("type");
const QString kName = QStringLiteral("name");
const QString kReadOnly = QStringLiteral("readOnly");
const QString kPassword = QStringLiteral("password");
const QString kMultiline = QStringLiteral("multiline");
const QString kMultiSelect = QStringLiteral("multiSelect");
const QString kChecked = QStringLiteral("checked");
const QString kValue = QStringLiteral("value");
const QString kExportValue = QStringLiteral("exportValue");
const QString kOptions = QStringLiteral("options");
const QString kLabel = QStringLiteral("label");
const QString kSelected = QStringLiteral("selected");
const QString kSelection = QStringLiteral("selection");

constexpr qint64 kMaxAnnotationIndex = kMaxAnnotationsPerPage - 1;
constexpr qsizetype kAnyLength = std::numeric_limits<qsizetype>::max();

// Present and a string within the limit; absent; or refused (nothing).
std::optional<std::optional<QString>> optionalText(const QJsonObject& json, const QString& key)
{
    if (!json.contains(key))
        return std::optional<QString>();
    const std::optional<QString> text = JsonFields::string(json, key, kMaxFieldTextUnits);
    if (!text)
        return std::nullopt;
    return std::optional<QString>(*text);
}

std::optional<QList<FieldOption>> readOptions(const QJsonObject& json)
{
    const std::optional<QJsonArray> list = JsonFields::array(json, kOptions, kMaxFieldOptions);
    if (!list)
        return std::nullopt;
    QList<FieldOption> options;
    for (const QJsonValue& value : *list) {
        const QJsonObject option = value.toObject();
        const std::optional<QString> label = JsonFields::string(option, kLabel, kMaxFieldTextUnits);
        const std::optional<bool> selected = JsonFields::boolean(option, kSelected);
        if (!label || !selected)
            return std::nullopt;
        options.append(FieldOption{*label, *selected});
    }
    return options;
}

bool readFlags(const QJsonObject& json, FormFieldEntry& entry)
{
    const std::optional<bool> readOnly = JsonFields::boolean(json, kReadOnly);
    const std::optional<bool> password = JsonFields::boolean(json, kPassword);
    const std::optional<bool> multiline = JsonFields::boolean(json, kMultiline);
    const std::optional<bool> multiSelect = JsonFields::boolean(json, kMultiSelect);
    const std::optional<bool> checked = JsonFields::boolean(json, kChecked);
    if (!readOnly || !password || !multiline || !multiSelect || !checked)
        return false;
    entry.readOnly = *readOnly;
    entry.password = *password;
    entry.multiline = *multiline;
    entry.multiSelect = *multiSelect;
    entry.checked = *checked;
    return true;
}

} // namespace

QJsonObject FieldsRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("fields")}, {kPath, path}};
}

QJsonObject FormFieldEntry::toJson() const
{
    QJsonObject json{{kPage, page},          {kAnnotation, annotation}, {kType, int(type)},
                     {kName, name},          {kReadOnly, readOnly},     {kPassword, password},
                     {kMultiline, multiline}, {kMultiSelect, multiSelect}, {kChecked, checked}};
    if (value)
        json.insert(kValue, *value);
    if (exportValue)
        json.insert(kExportValue, *exportValue);
    if (options) {
        QJsonArray list;
        for (const FieldOption& option : *options)
            list.append(QJsonObject{{kLabel, option.label}, {kSelected, option.selected}});
        json.insert(kOptions, list);
    }
    return json;
}

std::optional<FormFieldEntry> FormFieldEntry::fromJson(const QJsonValue& value)
{
    const QJsonObject json = value.toObject();
    const std::optional<qint64> page = JsonFields::integer(json, kPage, 0, kMaxPageIndex);
    const std::optional<qint64> annotation = JsonFields::integer(json, kAnnotation, 0, kMaxAnnotationIndex);
    const std::optional<qint64> type =
        JsonFields::integer(json, kType, int(FormFieldType::Unknown), int(FormFieldType::Signature));
    const std::optional<QString> name = JsonFields::string(json, kName, kMaxFieldTextUnits);
    FormFieldEntry entry;
    if (!value.isObject() || !page || !annotation || !type || !name || !readFlags(json, entry))
        return std::nullopt;
    const std::optional<std::optional<QString>> text = optionalText(json, kValue);
    const std::optional<std::optional<QString>> exportValue = optionalText(json, kExportValue);
    if (!text || !exportValue)
        return std::nullopt;
    if (json.contains(kOptions)) {
        entry.options = readOptions(json);
        if (!entry.options)
            return std::nullopt;
    }
    entry.page = *page;
    entry.annotation = *annotation;
    entry.type = FormFieldType(*type);
    entry.name = *name;
    entry.value = *text;
    entry.exportValue = *exportValue;
    return entry;
}

QJsonObject FieldsReply::toJson() const
{
    return QJsonObject{{QStringLiteral("ok"), true}, {kFields, fieldsJson()}};
}

QJsonArray FieldsReply::fieldsJson() const
{
    QJsonArray list;
    for (const FormFieldEntry& entry : fields)
        list.append(entry.toJson());
    return list;
}

FieldsReply FieldsReply::fromJson(const QJsonObject& json)
{
    FieldsReply reply;
    const QJsonArray list = json.value(kFields).toArray();
    for (const QJsonValue& value : list) {
        if (reply.fields.size() >= kMaxListedFields)
            break;
        if (const std::optional<FormFieldEntry> entry = FormFieldEntry::fromJson(value))
            reply.fields.append(*entry);
    }
    return reply;
}

QJsonObject FieldChange::toJson() const
{
    QJsonObject json{{kPage, page}, {kAnnotation, annotation}};
    if (value)
        json.insert(kValue, *value);
    if (checked)
        json.insert(kChecked, *checked);
    if (selection) {
        QJsonArray list;
        for (const qint64 index : *selection)
            list.append(index);
        json.insert(kSelection, list);
    }
    return json;
}

FieldChange FieldChange::fromJson(const QJsonValue& value)
{
    const QJsonObject json = value.toObject();
    FieldChange change;
    change.page = JsonFields::index(json, kPage, kMaxPageIndex);
    change.annotation = JsonFields::index(json, kAnnotation, kMaxAnnotationIndex);
    change.value = JsonFields::string(json, kValue, kAnyLength);
    change.checked = JsonFields::boolean(json, kChecked);
    if (const std::optional<QJsonArray> list = JsonFields::array(json, kSelection, kMaxFieldOptions)) {
        QList<qint64> selection;
        for (const QJsonValue& index : *list)
            selection.append(JsonFields::integer(index, 0, kMaxFieldOptions - 1).value_or(-1));
        change.selection = selection;
    }
    return change;
}

QJsonObject FillFieldsRequest::toJson() const
{
    QJsonArray list;
    for (const FieldChange& change : updates)
        list.append(change.toJson());
    QJsonObject json{{QStringLiteral("operation"), QStringLiteral("fillFields")}, {kUpdates, list}};
    if (!path.isEmpty())
        json.insert(kPath, path);
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

std::optional<FillFieldsRequest> FillFieldsRequest::fromJson(const QJsonObject& json)
{
    const std::optional<QJsonArray> list = JsonFields::array(json, kUpdates, kMaxFieldUpdates);
    if (!list || list->isEmpty())
        return std::nullopt;
    FillFieldsRequest request;
    request.path = json.value(kPath).toString();
    request.output = json.value(kOutput).toString();
    for (const QJsonValue& value : *list)
        request.updates.append(FieldChange::fromJson(value));
    return request;
}

} // namespace velk
