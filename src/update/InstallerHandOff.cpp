#include "update/InstallerHandOff.h"

#include "update/UpdateMessages.h"
#include "update/UpdateService.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace velk {

namespace {

QString sentence(const char* text)
{
    return QString::fromUtf8(text);
}

bool askToOpen(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(sentence(UpdateMessages::kOpenInstaller));
    box.button(QMessageBox::No)->setText(sentence(UpdateMessages::kDecline));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

UpdatePrompts UpdatePrompts::dialogs()
{
    UpdatePrompts prompts;
    prompts.warning = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text);
    };
    prompts.question = askToOpen;
    prompts.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return prompts;
}

void openVerifiedInstaller(UpdateService& service, QWidget* parent, QLabel* status, const UpdatePrompts& prompts)
{
    QString message;
    if (!service.prepareInstaller(&message)) {
        prompts.warning(parent, sentence(UpdateMessages::kInstallerNotOpenedTitle), message);
        return;
    }
    if (!prompts.question(parent, sentence(UpdateMessages::kOpenPackageTitle),
                          sentence(UpdateMessages::kOpenPackageQuestion)))
        return;
    if (prompts.openUrl(QUrl::fromLocalFile(service.packagePath()))) {
        if (status)
            status->setText(sentence(UpdateMessages::kInstallerRequested));
        return;
    }
    prompts.warning(parent, sentence(UpdateMessages::kInstallTitle), sentence(UpdateMessages::kInstallerFailed));
}

} // namespace velk
