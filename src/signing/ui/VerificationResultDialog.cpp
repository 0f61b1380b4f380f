#include "signing/ui/VerificationResultDialog.h"

#include "signing/ui/SignatureNotice.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

std::unique_ptr<QDialog> createVerificationResultDialog(QWidget* parent, const QString& text)
{
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(QStringLiteral("verificationResultDialog"));
    dialog->setWindowTitle(QStringLiteral("İmza kontrol sonucu"));
    dialog->resize(760, 620);
    dialog->setStyleSheet(QStringLiteral(
        "QDialog, QPlainTextEdit { background: #F8FAFC; color: #0F172A; font-family: Roboto; font-weight: 600; } "
        "QPlainTextEdit { background: white; border: 1px solid #E2E8F0; padding: 16px; }"));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addWidget(createSignatureNotice(dialog.get()));
    auto* view = new QPlainTextEdit(dialog.get());
    view->setObjectName(QStringLiteral("verificationResultText"));
    view->setReadOnly(true);
    view->setPlainText(text);
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog.get());
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Kapat"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    layout->addWidget(buttons);
    return dialog;
}

} // namespace velk
