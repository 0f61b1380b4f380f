#include "app/DetailsPanel.h"

#include "app/ShellLabel.h"

#include <QFrame>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace velk {

namespace {

const QString kNoDocumentTitle = QStringLiteral("Belge açık değil");
const QString kNoDocumentText = QStringLiteral("Başlamak için bir belge oluşturun veya görsellerinizi dönüştürün.");
const QString kDocumentText = QStringLiteral("Görüntüleme araçlarını belgenin üst çubuğundan kullanabilirsiniz.");

QFrame* makeHorizontalLine(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    return line;
}

} // namespace

DetailsPanel::DetailsPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Belge"), parent)
{
    setObjectName(QStringLiteral("detailsPanel"));
    setAllowedAreas(Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable);
    setMinimumWidth(kMinimumWidth);
    setMaximumWidth(kMaximumWidth);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 16, 16, 20);
    layout->setSpacing(16);
    layout->addWidget(makeShellLabel(QStringLiteral("ÇALIŞMA ALANI"), QStringLiteral("panelSection"), content));
    m_title = makeShellLabel(kNoDocumentTitle, QStringLiteral("selectionTitle"), content);
    layout->addWidget(m_title);
    m_text = makeShellLabel(kNoDocumentText, QStringLiteral("secondaryText"), content);
    layout->addWidget(m_text);
    layout->addWidget(makeHorizontalLine(content));
    layout->addWidget(makeShellLabel(QStringLiteral("YEREL İŞLEME"), QStringLiteral("panelSection"), content));
    layout->addWidget(makeShellLabel(QStringLiteral("PDF oluşturma ve görsel dönüştürme bilgisayarınızda gerçekleşir."),
                                     QStringLiteral("secondaryText"), content));
    layout->addStretch();
    setWidget(content);
}

void DetailsPanel::updateDetailsPanel(const QTabWidget& tabs, int index)
{
    const QWidget* page = index < 0 ? nullptr : tabs.widget(index);
    if (!page || page->objectName() == QLatin1String("startPage")) {
        showStartTexts();
        return;
    }
    m_title->setText(tabs.tabText(index));
    m_text->setText(kDocumentText);
}

QString DetailsPanel::title() const
{
    return m_title->text();
}

QString DetailsPanel::text() const
{
    return m_text->text();
}

void DetailsPanel::showStartTexts()
{
    m_title->setText(kNoDocumentTitle);
    m_text->setText(kNoDocumentText);
}

} // namespace velk
