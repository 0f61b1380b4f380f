#pragma once

// The questions and warnings of the main window, as replaceable functions:
// the shipped program answers them with Qt's file dialogs and message
// boxes, tests answer them directly. Called on the GUI thread; parent is
// the main window.

#include "document/ui/TabPrompts.h"
#include "signing/ui/VerificationPrompts.h"

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

namespace velk {

struct MainWindowPrompts {
    // A file to open; empty when the user cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)> openFileName;
    // A file to write, starting from proposedName; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& proposedName,
                          const QString& filter)>
        saveFileName;
    // A warning box with one sentence, shown until the user closes it.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
    // The questions each document tab asks.
    TabPrompts document;
    // Several files to read, in the order chosen; empty when cancelled.
    std::function<QStringList(QWidget* parent, const QString& title, const QString& filter)> openFileNames;
    // "Hakkında", shown until the user closes it.
    std::function<void(QWidget* parent)> about;
    // The system print dialog on printer for a document of pageCount pages;
    // false when the user cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer, int pageCount)> printSetup;
    // The questions and result window of "İmzaları doğrula…".
    VerificationPrompts verification;

    // Qt's file dialogs, warning boxes and the tabs' standard dialogs.
    static MainWindowPrompts dialogs();
    // The standard answer wherever prompts leaves a question unanswered.
    static MainWindowPrompts completed(MainWindowPrompts prompts);
};

} // namespace velk
