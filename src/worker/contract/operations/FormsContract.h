#pragma once

// "fields": every widget of a standard form with its type, flags, value and
// options; "fillFields": changes to some of them, written as a new PDF that
// answers {"ok": true}.

#include "worker/contract/PdfiumCodes.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace velk {

struct FieldsRequest {
    QString path;

    QJsonObject toJson() const;
};

struct FieldOption {
    QString label;
    bool selected = false;

    bool operator==(const FieldOption&) const = default;
};

struct FormFieldEntry {
    qint64 page = 0;
    // The widget's index among its page's annotations.
    qint64 annotation = 0;
    FormFieldType type = FormFieldType::Unknown;
    QString name;
    bool readOnly = false;
    bool password = false;
    bool multiline = false;
    bool multiSelect = false;
    bool checked = false;
    // Absent for a password field: its value never leaves the worker.
    std::optional<QString> value;
    // Check boxes and radio buttons only.
    std::optional<QString> exportValue;
    // Combo and list boxes only.
    std::optional<QList<FieldOption>> options;

    bool operator==(const FormFieldEntry&) const = default;

    QJsonObject toJson() const;
    // Refuses a page or annotation that is not a whole number in bounds, a
    // type outside PDFium's codes, a flag that is not a boolean, strings
    // over the form text limit, and more options than the option limit.
    static std::optional<FormFieldEntry> fromJson(const QJsonValue& json);
};

struct FieldsReply {
    QList<FormFieldEntry> fields;

    QJsonObject toJson() const;
    // The entries as the listing gives them to the form dialog.
    QJsonArray fieldsJson() const;
    // Reads at most the listing limit of entries, in order; an entry the
    // entry reader refuses is skipped. An absent list reads as none.
    static FieldsReply fromJson(const QJsonObject& json);
};

// One change to one widget; the key present says what changes.
struct FieldChange {
    // -1 when the update's page or annotation is not a whole number in
    // bounds: no widget has it.
    qint64 page = -1;
    qint64 annotation = -1;
    // A text field's new text (a value of another JSON type is absent).
    std::optional<QString> value;
    // A check box's or radio button's new state.
    std::optional<bool> checked;
    // A choice's selected option indices; an entry that is not a whole
    // number from 0 reads as -1, which no option has.
    std::optional<QList<qint64>> selection;

    bool operator==(const FieldChange&) const = default;

    QJsonObject toJson() const;
    // Reads any value: what is not an object is a change to no widget.
    static FieldChange fromJson(const QJsonValue& json);
};

struct FillFieldsRequest {
    QString path;
    QList<FieldChange> updates;
    QString output;

    // The path and output are left out while empty: the task that runs the
    // request sets them.
    QJsonObject toJson() const;
    // Refuses updates that are absent, not a list, empty or more than the
    // update limit.
    static std::optional<FillFieldsRequest> fromJson(const QJsonObject& json);
};

} // namespace velk
