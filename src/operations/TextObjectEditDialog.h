#pragma once

// The dialog that picks one text object of a page and either gives it new
// text or marks it for deletion. Shows one list row per object and the
// whole text of the current one in an editor; "Uygula ve farklı kaydet…"
// checks the text and closes with a "replaceText" or "deleteText" request.
//
// GUI thread. Modal, created on the stack by editTextObjectDialog; owns its
// widgets through Qt parenting. The warning function is called while the
// dialog stays open.

#include "operations/TextObjectEntries.h"

#include <QDialog>
#include <QJsonObject>
#include <QList>

#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace velk {

class TextObjectEditDialog : public QDialog {
    Q_OBJECT

public:
    using Warning = std::function<void(QWidget* parent, const QString& title, const QString& text)>;

    // page is 0-based; entries must not be empty.
    TextObjectEditDialog(int page, QList<TextObjectEntry> entries, Warning warning, QWidget* parent = nullptr);

    // Set once the dialog was accepted.
    std::optional<QJsonObject> request() const { return m_request; }

    QListWidget* objectList() const { return m_list; }
    QPlainTextEdit* editor() const { return m_editor; }
    QCheckBox* deleteBox() const { return m_delete; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QWidget* buildPanes();
    void buildButtons();
    void showEntry(int row);
    void apply();

    int m_page;
    QList<TextObjectEntry> m_entries;
    Warning m_warning;
    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_editor = nullptr;
    QCheckBox* m_delete = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    std::optional<QJsonObject> m_request;
};

} // namespace velk
