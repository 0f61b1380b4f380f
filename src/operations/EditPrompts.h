#pragma once

// The questions and messages of the editing commands, as replaceable
// functions: the shipped program answers them with Qt's file, item and
// message dialogs, tests answer them directly. Called on the GUI thread.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace velk {

class TextObjectEditDialog;

struct EditPrompts {
    // A file to write, starting from proposedName; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& proposedName,
                          const QString& filter)>
        saveFileName;
    // One of the items (non-editable, the first preselected) by position;
    // nothing when cancelled.
    std::function<std::optional<int>(QWidget* parent, const QString& title, const QString& label,
                                     const QStringList& items)>
        chooseItem;
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
    std::function<void(QWidget* parent, const QString& title, const QString& text)> information;
    // Runs the text-object dialog until it closes and returns its result
    // code (QDialog::Accepted or QDialog::Rejected).
    std::function<int(TextObjectEditDialog& dialog)> runTextObjectDialog;

    // Qt's dialogs and message boxes.
    static EditPrompts dialogs();
    // The standard answer wherever prompts leaves a question unanswered.
    static EditPrompts completed(EditPrompts prompts);
};

} // namespace velk
