#pragma once

// The main window's form command, "PDF formunu doldur…", from the field
// dialog to the filling task handed to the window's background runner.
//
// GUI thread. Created and owned (as a QObject child) by the main window,
// which connects its action here and answers the host functions.

#include "operations/DocumentEditCommands.h"

#include <QObject>

#include <functional>

namespace velk {

struct FormCommandPrompts {
    // A file to write, starting from proposedName; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& proposedName,
                          const QString& filter)>
        saveFileName;
    // The form dialog's warnings.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
};

class FormCommands : public QObject {
    Q_OBJECT

public:
    // window parents every dialog and owns this object.
    FormCommands(QWidget* window, EditCommandHost host, FormCommandPrompts prompts);

public Q_SLOTS:
    void fillForm();

private:
    QWidget* m_window;
    EditCommandHost m_host;
    FormCommandPrompts m_prompts;
};

} // namespace velk
