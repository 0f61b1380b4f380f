#include "app/StartPage.h"

#include "app/DocumentEmblem.h"
#include "app/ShellLabel.h"
#include "app/PrimaryWidget.h"
#include "app/RecentDocumentsList.h"
#include "app/ToolButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kCardRowMaximumWidth = 580;
constexpr int kOpenButtonMaximumWidth = 280;

void addCentredLabel(QVBoxLayout* layout, const QString& text, const QString& objectName)
{
    QLabel* label = makeShellLabel(text, objectName, layout->parentWidget());
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

} // namespace

StartPage::StartPage(QAction* openAction, QAction* blankPdfAction, QAction* imagesToPdfAction,
                     QWidget* parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("startPage"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);

    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("startContent"));
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(24, 32, 24, 32);
    layout->setSpacing(16);

    layout->addStretch(1);
    layout->addWidget(new DocumentEmblem(content), 0, Qt::AlignHCenter);
    addCentredLabel(layout, QStringLiteral("Velk PDF  /  ÇALIŞMA ALANI"), QStringLiteral("eyebrow"));
    addCentredLabel(layout, QStringLiteral("Belgelerinizle çalışmaya başlayın"), QStringLiteral("workspaceTitle"));
    addCentredLabel(layout,
                    QStringLiteral("Yeni bir PDF oluşturun veya görsellerinizi tek bir belgede bir araya getirin."),
                    QStringLiteral("secondaryText"));
    layout->addWidget(makeCardRow(blankPdfAction, imagesToPdfAction, content), 0, Qt::AlignHCenter);

    m_openButton = makeToolButton(content, openAction, QStringLiteral("Bilgisayardan PDF aç"), false);
    m_openButton->setMaximumWidth(kOpenButtonMaximumWidth);
    setPrimary(m_openButton);
    layout->addWidget(m_openButton, 0, Qt::AlignHCenter);
    m_recentList = new RecentDocumentsList(content);
    layout->addWidget(m_recentList, 0, Qt::AlignHCenter);

    layout->addStretch(1);
    addCentredLabel(layout, QStringLiteral("Dosyalarınız cihazınızda kalır. Belge içeriği buluta yüklenmez."),
                    QStringLiteral("privacyNote"));
    setWidget(content);
}

QWidget* StartPage::makeCardRow(QAction* blankPdfAction, QAction* imagesToPdfAction, QWidget* parent)
{
    auto* row = new QWidget(parent);
    row->setMaximumWidth(kCardRowMaximumWidth);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 8, 0, 8);
    layout->setSpacing(16);
    m_blankPdfCard = makeToolButton(row, blankPdfAction, QStringLiteral("Boş PDF oluştur"), true);
    m_imagesToPdfCard = makeToolButton(row, imagesToPdfAction, QStringLiteral("Görsellerden PDF"), true);
    layout->addWidget(m_blankPdfCard);
    layout->addWidget(m_imagesToPdfCard);
    return row;
}

} // namespace velk
