#include "app/MainWindowPrompts.h"

#include "app/AboutDialog.h"
#include "app/FileDialogFolders.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QSettings>

namespace velk {

namespace {

// Every dialog starts in the folder last used for its kind; Qt's dialog
// asks before a save replaces an existing file.
QString askOpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QSettings settings;
    const QString chosen = QFileDialog::getOpenFileName(
        parent, title, FileDialogFolders::startFolder(settings, DialogFolderKind::Open), filter);
    FileDialogFolders::remember(settings, DialogFolderKind::Open, chosen);
    return chosen;
}

QStringList askOpenFileNames(QWidget* parent, const QString& title, const QString& filter)
{
    QSettings settings;
    const QStringList chosen = QFileDialog::getOpenFileNames(
        parent, title, FileDialogFolders::startFolder(settings, DialogFolderKind::Open), filter);
    FileDialogFolders::remember(settings, DialogFolderKind::Open, chosen.value(0));
    return chosen;
}

QString askSaveFileName(QWidget* parent, const QString& title, const QString& proposedName, const QString& filter)
{
    QSettings settings;
    const QString chosen = QFileDialog::getSaveFileName(
        parent, title, FileDialogFolders::saveStartPath(settings, proposedName), filter);
    FileDialogFolders::remember(settings, DialogFolderKind::Save, chosen);
    return chosen;
}

void showWarning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::warning(parent, title, text);
}

bool askPrintSetup(QWidget* parent, QPrinter& printer, int pageCount)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Yazdır"));
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    return dialog.exec() == QDialog::Accepted;
}

void showAbout(QWidget* parent)
{
    AboutDialog dialog(AboutDialog::installedNoticesPath(), parent);
    dialog.exec();
}

} // namespace

MainWindowPrompts MainWindowPrompts::dialogs()
{
    return {askOpenFileName, askSaveFileName, showWarning, TabPrompts::dialogs(), askOpenFileNames, showAbout, askPrintSetup,
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
    if (!prompts.about)
        prompts.about = showAbout;
    if (!prompts.printSetup)
        prompts.printSetup = askPrintSetup;
    prompts.verification = VerificationPrompts::completed(std::move(prompts.verification));
    // The tab fills in its own missing questions.
    return prompts;
}

} // namespace velk
