#include "ScriptedPrompts.h"

namespace velk::test {

namespace {

template <typename T>
std::optional<T> next(QList<std::optional<T>>& answers)
{
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

} // namespace

TabPrompts ScriptedPrompts::prompts()
{
    TabPrompts prompts;
    prompts.password = [this](QWidget*, const QString& notice) {
        ++passwordQuestions;
        passwordNotices.append(notice);
        return next(passwords);
    };
    prompts.text = [this](QWidget*, const QString& title, const QString& label) {
        textQuestions.append({title, label});
        return next(texts);
    };
    prompts.number = [this](QWidget*, const NumberQuestion& question) {
        numberQuestions.append(question);
        return next(numbers);
    };
    prompts.notes = [this](QWidget*, const QList<PdfNote>& notes) {
        notesShown.append(notesDialogText(notes));
        return notePageAnswer;
    };
    return prompts;
}

} // namespace velk::test
