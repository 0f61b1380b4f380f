#pragma once

// The form-filling dialog: one row per field entry of the worker's
// "fields" reply, in reply order (entries the listing contract does not
// accept are left out), and on "Uygula ve farklı kaydet…" a "fillFields"
// request holding only what the user changed.
//
// GUI thread. Modal, created on the stack by fillFormDialog; owns its
// widgets and radio groups through Qt parenting. The message functions
// are called while the dialog stays open.

#include "operations/FormFieldWidgets.h"

#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>

#include <functional>
#include <optional>

class QPushButton;

namespace velk {

class FormFillDialog : public QDialog {
    Q_OBJECT

public:
    using Message = std::function<void(QWidget* parent, const QString& title, const QString& text)>;

    FormFillDialog(QJsonArray fields, Message warning, Message information, QWidget* parent = nullptr);

    // Set once the dialog was accepted.
    std::optional<QJsonObject> request() const { return m_request; }

    // The widget of field entry i, in reply order.
    QWidget* fieldWidget(int i) const { return m_widgets.value(i); }
    QPushButton* applyButton() const { return m_apply; }

private:
    QWidget* buildRows();
    void buildButtons();
    void apply();

    QList<FormFieldEntry> m_fields;
    Message m_warning;
    Message m_information;
    RadioGroups m_groups;
    QList<QWidget*> m_widgets;
    QPushButton* m_apply = nullptr;
    std::optional<QJsonObject> m_request;
};

} // namespace velk
