#include "document/ui/DocumentToolbars.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>

namespace velk {

namespace {

constexpr int kPageSpinMaxWidth = 150;
constexpr int kSearchEditMaxWidth = 360;

QComboBox* comboBox(QWidget* owner, const QStringList& items, const QString& toolTip)
{
    auto* combo = new QComboBox(owner);
    combo->addItems(items);
    combo->setToolTip(toolTip);
    return combo;
}

QToolBar* toolBar(QWidget* owner, const QString& objectName)
{
    auto* bar = new QToolBar(owner);
    bar->setObjectName(objectName);
    bar->setMovable(false);
    bar->setEnabled(false);
    return bar;
}

QAction* action(QToolBar* bar, const QString& text, const QString& toolTip = QString())
{
    QAction* added = bar->addAction(text);
    if (!toolTip.isEmpty())
        added->setToolTip(toolTip);
    return added;
}

} // namespace

DocumentToolbars::DocumentToolbars(QWidget* owner)
{
    documentBar = toolBar(owner, QStringLiteral("documentToolbar"));
    pageSpin = new QSpinBox(owner);
    pageSpin->setPrefix(QStringLiteral("Sayfa "));
    pageSpin->setToolTip(QStringLiteral("Sayfaya git"));
    pageSpin->setMaximumWidth(kPageSpinMaxWidth);
    pageSpin->setRange(1, 1);
    pageCountLabel = new QLabel(owner);
    zoomCombo = comboBox(owner,
                         {QStringLiteral("Genişliğe sığdır"), QStringLiteral("Sayfaya sığdır"), QStringLiteral("%100"),
                          QStringLiteral("%150"), QStringLiteral("%200")},
                         QStringLiteral("Yakınlaştırma"));
    // A typed percentage is applied, never added to the list.
    zoomCombo->setEditable(true);
    zoomCombo->setInsertPolicy(QComboBox::NoInsert);
    viewModeCombo = comboBox(owner, {QStringLiteral("Sürekli"), QStringLiteral("Tek sayfa"), QStringLiteral("Çift sayfa")},
                             QStringLiteral("Sayfa yerleşimi"));
    viewModeCombo->setObjectName(QStringLiteral("pageViewMode"));
    filterCombo = comboBox(owner, {QStringLiteral("Normal"), QStringLiteral("Gece"), QStringLiteral("Göz koruma")},
                           QStringLiteral("Okuma filtresi; dosyanın renklerini değiştirmez"));
    filterCombo->setObjectName(QStringLiteral("readingFilter"));
    documentBar->addWidget(pageSpin);
    documentBar->addWidget(pageCountLabel);
    documentBar->addWidget(zoomCombo);
    documentBar->addWidget(viewModeCombo);
    documentBar->addWidget(filterCombo);

    searchBar = toolBar(owner, QStringLiteral("searchToolbar"));
    searchEdit = new QLineEdit(owner);
    searchEdit->setPlaceholderText(QStringLiteral("Belgede ara…"));
    searchEdit->setToolTip(QStringLiteral("Metni yazın ve Enter ile sonraki eşleşmeye gidin"));
    searchEdit->setMaximumWidth(kSearchEditMaxWidth);
    searchBar->addWidget(searchEdit);
    findAction = action(searchBar, QStringLiteral("Sonrakini bul"));
    searchBar->addSeparator();
    textAction = action(searchBar, QStringLiteral("Metin ekle"),
                        QStringLiteral("Metni yazın, ardından sayfadaki yerine tıklayın; yeni PDF olarak kaydedilir"));
    noteAction = action(searchBar, QStringLiteral("Yapışkan not ekle"), QStringLiteral("Sayfaya kalıcı açıklama notu ekle"));
    notesAction = action(searchBar, QStringLiteral("Notları göster"),
                         QStringLiteral("Belgedeki yapışkan notların içeriklerini oku"));
}

void DocumentToolbars::setPageCount(int count)
{
    // The range change must not navigate: the view is not showing it yet.
    const QSignalBlocker blocker(pageSpin);
    pageSpin->setRange(1, count);
    pageCountLabel->setText(QStringLiteral(" / %1 ").arg(count));
}

void DocumentToolbars::setEnabled(bool enabled)
{
    documentBar->setEnabled(enabled);
    searchBar->setEnabled(enabled);
}

} // namespace velk
