#include "app/MainWindowPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velk {

namespace {

QString askOpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QStringList askOpenFileNames(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString askSaveFileName(QWidget* parent, const QString& title, const QString& proposedName, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposedName, filter);
}

void showWarning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::warning(parent, title, text);
}

} // namespace

MainWindowPrompts MainWindowPrompts::dialogs()
{
    return {askOpenFileName, askSaveFileName, showWarning, TabPrompts::dialogs(), askOpenFileNames,
            VerificationPrompts::dialogs()};
}

MainWindowPrompts MainWindowPrompts::completed(MainWindowPrompts prompts)
{
    if (!prompts.openFileName)
        prompts.openFileName = askOpenFileName;
    if (!prompts.saveFileName)
        prompts.saveFileName = askSaveFileName;
    if (!prompts.warning)
        prompts.warning = showWarning;
    if (!prompts.openFileNames)
        prompts.openFileNames = askOpenFileNames;
    prompts.verification = VerificationPrompts::completed(std::move(prompts.verification));
    // The tab fills in its own missing questions.
    return prompts;
}

} // namespace velk
