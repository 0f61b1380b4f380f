#include "app/ToolsPanel.h"

#include "app/AppIdentity.h"
#include "app/ShellLabel.h"
#include "app/ToolButton.h"

#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kSectionGap = 12;

void addSection(QVBoxLayout* layout, const QString& title, bool gapBefore)
{
    if (gapBefore)
        layout->addSpacing(kSectionGap);
    layout->addWidget(makeShellLabel(title, QStringLiteral("panelSection"), layout->parentWidget()));
}

void addTool(QVBoxLayout* layout, QAction* action, const QString& text)
{
    layout->addWidget(makeToolButton(layout->parentWidget(), action, text, false));
}

} // namespace

ToolsPanel::ToolsPanel(const ToolActions& actions, bool officeConversionAvailable, QWidget* parent)
    : QDockWidget(QStringLiteral("Tüm araçlar"), parent)
{
    setObjectName(QStringLiteral("toolsPanel"));
    setAllowedAreas(Qt::LeftDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable);
    setMinimumWidth(kMinimumWidth);
    setMaximumWidth(kMaximumWidth);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("toolScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(makeContent(actions, officeConversionAvailable));
    setWidget(scroll);
}

QWidget* ToolsPanel::makeContent(const ToolActions& actions, bool officeConversionAvailable)
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 16, 16, 20);
    layout->setSpacing(12);

    addSection(layout, QStringLiteral("DOSYA"), false);
    addTool(layout, actions.open, QStringLiteral("PDF aç"));

    addSection(layout, QStringLiteral("OLUŞTUR VE DÖNÜŞTÜR"), true);
    addTool(layout, actions.blankPdf, QStringLiteral("Boş PDF oluştur"));
    addTool(layout, actions.imagesToPdf, QStringLiteral("Görsellerden PDF"));
    if (officeConversionAvailable)
        addTool(layout, actions.officeToPdf, QStringLiteral("Word'den PDF"));

    addSection(layout, QStringLiteral("DÜZENLE"), true);
    addTool(layout, actions.editText, QStringLiteral("Metni düzenle"));
    addTool(layout, actions.fillForm, QStringLiteral("PDF formunu doldur"));

    addSection(layout, QStringLiteral("SAYFA İŞLEMLERİ"), true);
    addTool(layout, actions.organizePages, QStringLiteral("Sayfaları düzenle"));
    addTool(layout, actions.merge, QStringLiteral("PDF birleştir"));
    addTool(layout, actions.ocr, QStringLiteral("Metni tanı (OCR)"));

    layout->addStretch();
    const QString footer = QStringLiteral("Velk PDF\nSürüm %1").arg(QString::fromUtf8(kApplicationVersion));
    layout->addWidget(makeShellLabel(footer, QStringLiteral("panelFooter"), content));
    return content;
}

} // namespace velk
