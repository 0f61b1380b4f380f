#pragma once

// Answers a document tab's questions from lists prepared by the test and
// records every question asked. An exhausted list answers "cancelled".
// Must outlive the tab it answers for.

#include "document/ui/TabPrompts.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <optional>

namespace velk::test {

struct ScriptedPrompts {
    QList<std::optional<QString>> passwords;
    QList<std::optional<QString>> texts;
    QList<std::optional<double>> numbers;

    int passwordQuestions = 0;
    // The notice shown with each password question, in order.
    QStringList passwordNotices;
    // Title and label of each text question.
    QList<QPair<QString, QString>> textQuestions;
    QList<NumberQuestion> numberQuestions;
    QStringList notesShown;
    // The page the notes list answers with, as if its note was double-clicked.
    std::optional<int> notePageAnswer;

    int questionCount() const
    {
        return passwordQuestions + int(textQuestions.size()) + int(numberQuestions.size()) + int(notesShown.size());
    }

    TabPrompts prompts();
};

} // namespace velk::test
