#include "operations/EditPrompts.h"

#include "operations/TextObjectEditDialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace velk {

namespace {

QString askSaveFileName(QWidget* parent, const QString& title, const QString& proposedName, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposedName, filter);
}

std::optional<int> askItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
    const int index = int(items.indexOf(chosen));
    return ok && index >= 0 ? std::optional<int>(index) : std::nullopt;
}

void showWarning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::warning(parent, title, text);
}

void showInformation(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text);
}

int runDialog(TextObjectEditDialog& dialog)
{
    return dialog.exec();
}

} // namespace

EditPrompts EditPrompts::dialogs()
{
    return {askSaveFileName, askItem, showWarning, showInformation, runDialog};
}

EditPrompts EditPrompts::completed(EditPrompts prompts)
{
    const EditPrompts standard = dialogs();
    if (!prompts.saveFileName)
        prompts.saveFileName = standard.saveFileName;
    if (!prompts.chooseItem)
        prompts.chooseItem = standard.chooseItem;
    if (!prompts.warning)
        prompts.warning = standard.warning;
    if (!prompts.information)
        prompts.information = standard.information;
    if (!prompts.runTextObjectDialog)
        prompts.runTextObjectDialog = standard.runTextObjectDialog;
    return prompts;
}

} // namespace velk
