#pragma once

// The questions of the verification window, as replaceable functions: the
// shipped program asks with a message box and a file dialog, tests answer
// directly. Called on the GUI thread.

#include <QString>

#include <functional>

class QWidget;

namespace velk {

struct VerificationChoice {
    enum class Trust { Cancel, SystemStore, PemFile };
    Trust trust = Trust::Cancel;
    bool networkAllowed = true;
};

struct VerificationPrompts {
    // Where trust comes from and whether the network may be used.
    std::function<VerificationChoice(QWidget* parent)> question;
    // A PEM file of trust anchors; empty when the user cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)> pemFile;
    // Shows the result texts until the user closes them.
    std::function<void(QWidget* parent, const QString& text)> showResults;

    // The message box, Qt's file dialog and the result window.
    static VerificationPrompts dialogs();
    // The standard answer wherever prompts leaves a question unanswered.
    static VerificationPrompts completed(VerificationPrompts prompts);
};

} // namespace velk
