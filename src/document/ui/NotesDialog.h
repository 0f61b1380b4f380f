#pragma once

// The modal list of a document's sticky notes: read-only text and a Close
// button. Shown by the document tab on the GUI thread, on the stack.

#include <QDialog>

class QPlainTextEdit;

namespace velk {

class NotesDialog : public QDialog {
    Q_OBJECT

public:
    explicit NotesDialog(const QString& notesText, QWidget* parent = nullptr);

    QString text() const;

private:
    QPlainTextEdit* m_text = nullptr;
};

} // namespace velk
