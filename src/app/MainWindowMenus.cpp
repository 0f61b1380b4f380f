#include "app/MainWindowMenus.h"

#include "app/MainWindowActions.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace velk {

namespace {

QLabel* makeBrandLabel(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

QMenu* addMainMenus(QMainWindow& window, const MainWindowActions& a)
{
    QMenuBar* bar = window.menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&Dosya"));
    file->addActions({a.open, a.saveCopy, a.blankPdf, a.imagesToPdf, a.officeToPdf});
    file->addSeparator();
    // Filled by the window from the recent-documents list when shown.
    QMenu* recent = file->addMenu(QStringLiteral("Son açılanlar"));
    recent->setObjectName(QStringLiteral("recentMenu"));
    file->addAction(a.print);
    file->addAction(a.closeTab);
    file->addSeparator();
    file->addAction(a.quit);

    QMenu* view = bar->addMenu(QStringLiteral("&Görünüm"));
    view->addAction(a.fullScreen);
    view->addActions({a.nextTab, a.previousTab});

    QMenu* document = bar->addMenu(QStringLiteral("&Belge"));
    document->addActions({a.editText, a.addShape, a.fillForm, a.organizePages, a.merge, a.ocr});

    QMenu* signature = bar->addMenu(QStringLiteral("&E-imza"));
    signature->addActions({a.signDocument, a.verifySignatures});

    QMenu* help = bar->addMenu(QStringLiteral("&Yardım"));
    help->addAction(a.secureUpdate);
    help->addAction(a.about);
    return view;
}

QToolBar* addMainToolbar(QMainWindow& window, const MainWindowActions& a)
{
    auto* toolbar = new QToolBar(QStringLiteral("Dosya araçları"), &window);
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->setIconSize(QSize(20, 20));
    toolbar->addWidget(makeBrandLabel(QStringLiteral("PDF"), QStringLiteral("brandBadge"), toolbar));
    toolbar->addWidget(makeBrandLabel(QStringLiteral("Velk PDF"), QStringLiteral("brandName"), toolbar));
    toolbar->addSeparator();
    toolbar->addActions({a.open, a.blankPdf, a.imagesToPdf});
    window.addToolBar(toolbar);
    return toolbar;
}

} // namespace velk
