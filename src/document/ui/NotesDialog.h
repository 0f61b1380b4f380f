#pragma once

// The modal list of a document's sticky notes, one entry per note with its
// page, and a Close button. A double-click (or Enter) on a note closes the
// list and names the note's page. Shown by the document tab on the GUI
// thread, on the stack.

#include "document/view/NoteListing.h"

#include <QDialog>

#include <optional>

class QListWidget;
class QListWidgetItem;

namespace velk {

class NotesDialog : public QDialog {
    Q_OBJECT

public:
    explicit NotesDialog(const QList<PdfNote>& notes, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    // The page of the note chosen, if one was.
    std::optional<int> chosenPage() const { return m_chosenPage; }

private:
    void choose(QListWidgetItem* item);

    QListWidget* m_list = nullptr;
    std::optional<int> m_chosenPage;
};

} // namespace velk
