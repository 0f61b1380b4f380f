#include "document/ui/TabPrompts.h"

#include "document/ui/NotesDialog.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QLineEdit>

namespace velk {

namespace {

std::optional<QString> askPassword(QWidget* parent, const QString& notice)
{
    bool ok = false;
    const QString label = notice.isEmpty() ? QStringLiteral("Belge parolası")
                                           : notice + QStringLiteral("\n\nBelge parolası");
    const QString password =
        QInputDialog::getText(parent, QStringLiteral("Şifreli PDF"), label, QLineEdit::Password, QString(), &ok);
    return ok ? std::optional<QString>(password) : std::nullopt;
}

std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label)
{
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(parent, title, label, QString(), &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<double> askNumber(QWidget* parent, const NumberQuestion& question)
{
    bool ok = false;
    const double value = QInputDialog::getDouble(parent, question.title, question.label, question.value,
                                                 question.minimum, question.maximum, question.decimals, &ok,
                                                 Qt::WindowFlags(), question.step);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> showNotesDialog(QWidget* parent, const QList<PdfNote>& notes)
{
    NotesDialog dialog(notes, parent);
    dialog.exec();
    return dialog.chosenPage();
}

bool askYesNo(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bağlantı"), question, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Aç"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Vazgeç"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == yes;
}

bool openOnDesktop(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace

TabPrompts TabPrompts::dialogs()
{
    return TabPrompts{askPassword, askText, askNumber, showNotesDialog, askYesNo, openOnDesktop};
}

} // namespace velk
