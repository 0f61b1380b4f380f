#pragma once

// The modal "Güvenli güncelleme" dialog: the installed version, the update
// service's status sentence and three actions (check, download and verify,
// open the verified installer) enabled by the service's state. It owns one
// service for its lifetime; closing it cancels whatever runs. GUI thread.

#include "update/InstallerHandOff.h"

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velk {

class UpdateService;

class UpdateDialog : public QDialog {
    Q_OBJECT

public:
    // Takes the service; the dialog's prompts answer the installer action.
    UpdateDialog(std::unique_ptr<UpdateService> service, UpdatePrompts prompts, QWidget* parent = nullptr);
    ~UpdateDialog() override;

    UpdateService* service() const { return m_service.get(); }
    QPushButton* checkButton() const { return m_check; }
    QPushButton* downloadButton() const { return m_download; }
    QPushButton* installerButton() const { return m_installer; }
    QLabel* statusLabel() const { return m_status; }
    QProgressBar* progressBar() const { return m_progress; }

    // Cancels what runs and lets the service go: it waits for a running
    // store request and discards an unfinished package.
    void finishService();

private:
    void build();
    void refresh();
    void showProgress(qint64 received, qint64 total);

    std::unique_ptr<UpdateService> m_service;
    UpdatePrompts m_prompts;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_check = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_installer = nullptr;
};

// Builds the dialog with the shipped service, runs it modally, cleans up.
void showUpdateDialog(QWidget* parent);

} // namespace velk
