#include "operations/EditPrompts.h"

#include "operations/TextObjectEditDialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <algorithm>

namespace velk {

namespace {

QString askSaveFileName(QWidget* parent, const QString& title, const QString& proposedName, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposedName, filter);
}

// Room for the title bar's buttons beside the title.
constexpr int kTitleBarReserve = 160;
constexpr int kMinItemDialogWidth = 320;

std::optional<int> askItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    // A small dialog would cut its own title short.
    dialog.setMinimumWidth(
        std::max(kMinItemDialogWidth, dialog.fontMetrics().horizontalAdvance(title) + kTitleBarReserve));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const int index = int(items.indexOf(dialog.textValue()));
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
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
