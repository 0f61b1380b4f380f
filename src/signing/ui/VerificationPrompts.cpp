#include "signing/ui/VerificationPrompts.h"

#include "signing/ui/VerificationResultDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace velk {

namespace {

VerificationChoice askTrust(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("İmza doğrulama"),
                    QStringLiteral("Her imzanın bütünlüğü, zaman damgası, NES profili ve belge değişiklikleri "
                                   "kontrol edilir. OCSP/CRL için sertifika adreslerine bağlanılır; belge içeriği "
                                   "gönderilmez. Ağ veya güvenilir kanıt yoksa iptal durumu BELİRSİZ olur."),
                    QMessageBox::Cancel, parent);
    QPushButton* system = box.addButton(QStringLiteral("Sistem deposuyla kontrol et"), QMessageBox::AcceptRole);
    QPushButton* pem = box.addButton(QStringLiteral("PEM sertifika dosyası seç…"), QMessageBox::ActionRole);
    auto* network = new QCheckBox(QStringLiteral("OCSP/CRL için ağ erişimine izin ver"), &box);
    network->setChecked(true);
    box.setCheckBox(network);
    box.exec();

    VerificationChoice choice;
    choice.networkAllowed = network->isChecked();
    if (box.clickedButton() == system)
        choice.trust = VerificationChoice::Trust::SystemStore;
    else if (box.clickedButton() == pem)
        choice.trust = VerificationChoice::Trust::PemFile;
    return choice;
}

QString askPemFile(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

void showResultWindow(QWidget* parent, const QString& text)
{
    const std::unique_ptr<QDialog> dialog = createVerificationResultDialog(parent, text);
    dialog->exec();
}

} // namespace

VerificationPrompts VerificationPrompts::dialogs()
{
    return {askTrust, askPemFile, showResultWindow};
}

VerificationPrompts VerificationPrompts::completed(VerificationPrompts prompts)
{
    if (!prompts.question)
        prompts.question = askTrust;
    if (!prompts.pemFile)
        prompts.pemFile = askPemFile;
    if (!prompts.showResults)
        prompts.showResults = showResultWindow;
    return prompts;
}

} // namespace velk
