#include "update/UpdateDialog.h"

#include "app/PrimaryWidget.h"
#include "update/UpdateService.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velk {

namespace {

constexpr int kMargin = 24;
constexpr int kSpacing = 12;
constexpr int kWidth = 700;
constexpr int kHeight = 440;
constexpr char kInstalledVersion[] = VELK_VERSION;

QPushButton* button(const QString& text, const QString& toolTip)
{
    auto* result = new QPushButton(text);
    result->setToolTip(toolTip);
    return result;
}

} // namespace

UpdateDialog::UpdateDialog(std::unique_ptr<UpdateService> service, UpdatePrompts prompts, QWidget* parent)
    : QDialog(parent)
    , m_service(std::move(service))
    , m_prompts(std::move(prompts))
{
    setWindowTitle(QStringLiteral("Güvenli güncelleme"));
    resize(kWidth, kHeight);
    build();
    connect(m_service.get(), &UpdateService::changed, this, &UpdateDialog::refresh);
    connect(m_service.get(), &UpdateService::progress, this, &UpdateDialog::showProgress);
    connect(m_check, &QPushButton::clicked, m_service.get(), &UpdateService::check);
    connect(m_download, &QPushButton::clicked, m_service.get(), &UpdateService::download);
    connect(m_installer, &QPushButton::clicked, this,
            [this] { openVerifiedInstaller(*m_service, this, m_status, m_prompts); });
    refresh();
}

UpdateDialog::~UpdateDialog()
{
    finishService();
}

void UpdateDialog::finishService()
{
    if (!m_service)
        return;
    m_service->disconnect(this);
    m_service->cancel();
    m_service.reset();
}

void UpdateDialog::build()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    auto* title = new QLabel(QStringLiteral("Güvenli güncelleme"));
    title->setObjectName(QStringLiteral("dialogTitle"));
    auto* subtitle = new QLabel(QStringLiteral("Yayın imzası, sürüm sırası ve paket özeti doğrulanmadan yükleyici "
                                               "açılmaz. Kurulumu başlatmak sizin seçiminizdir."));
    subtitle->setObjectName(QStringLiteral("dialogSubtitle"));
    subtitle->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(subtitle);

    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("statusPanel"));
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    inner->setSpacing(kSpacing);
    inner->addWidget(new QLabel(QStringLiteral("Yüklü sürüm: %1").arg(QLatin1String(kInstalledVersion))));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("updateStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    inner->addWidget(m_status, 1);
    m_progress = new QProgressBar;
    m_progress->setRange(0, 100);
    m_progress->hide();
    inner->addWidget(m_progress);
    layout->addWidget(panel, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    m_check = button(QStringLiteral("Güncellemeleri kontrol et"),
                     QStringLiteral("Yalnız yapılandırılmış HTTPS kanalındaki imzalı yayın bilgisini al"));
    m_check->setObjectName(QStringLiteral("checkUpdatesButton"));
    setPrimary(m_check);
    m_download = button(QStringLiteral("Paketi indir ve doğrula"),
                        QStringLiteral("İmzalı bilgilerle boyut ve özet denetimi yaparak kurulum paketini indir"));
    row->addWidget(m_check);
    row->addWidget(m_download);
    layout->addLayout(row);
    m_installer = button(QStringLiteral("Doğrulanmış yükleyiciyi aç…"),
                         QStringLiteral("Paketi yeniden denetleyip işletim sisteminin kurulum uygulamasına gönder"));
    layout->addWidget(m_installer);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Kapat / İptal"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void UpdateDialog::refresh()
{
    const int state = m_service->state();
    m_status->setText(m_service->status());
    m_check->setEnabled(m_service->isConfigured() && state != UpdateService::Checking
                        && state != UpdateService::Downloading);
    m_download->setEnabled(state == UpdateService::Available);
    m_installer->setEnabled(state == UpdateService::Downloaded);
    m_progress->setVisible(state == UpdateService::Downloading);
}

void UpdateDialog::showProgress(qint64 received, qint64 total)
{
    if (total <= 0) {
        m_progress->setRange(0, 0);
        return;
    }
    m_progress->setRange(0, 100);
    // At most 512 MiB times 100: no overflow in 64 bits.
    m_progress->setValue(int(std::min<qint64>(received * 100 / total, 100)));
}

void showUpdateDialog(QWidget* parent)
{
    UpdateDialog dialog(std::make_unique<UpdateService>(), UpdatePrompts::dialogs(), parent);
    dialog.exec();
    dialog.finishService();
}

} // namespace velk
