// The document tab's layout and tool bars: object names, items, tool tips
// and limits exactly as users and the style sheet know them, disabled while
// loading, and wired to the page view both ways without a loop.

#include "FixtureDocument.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QToolBar>

using namespace velk;

namespace {

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QToolBar* bar(NativeDocumentTab& tab, const QString& name)
{
    return tab.findChild<QToolBar*>(name);
}

template <typename T>
T* widgetOn(QToolBar* toolBar, int index)
{
    return qobject_cast<T*>(toolBar->widgetForAction(toolBar->actions().value(index)));
}

} // namespace

class DocumentToolbarsTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts m_prompts;

private Q_SLOTS:
    void layoutStacksBarsMessageAndView()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        auto* layout = tab.layout();
        QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(layout->spacing(), 0);
        QCOMPARE(layout->count(), 4);
        QCOMPARE(layout->itemAt(0)->widget(), bar(tab, "documentToolbar"));
        QCOMPARE(layout->itemAt(1)->widget(), bar(tab, "searchToolbar"));
        auto* message = qobject_cast<QLabel*>(layout->itemAt(2)->widget());
        QVERIFY(message);
        QCOMPARE(message->objectName(), QStringLiteral("documentMessage"));
        QCOMPARE(message->text(), QStringLiteral("Belge yükleniyor…"));
        QCOMPARE(message->textFormat(), Qt::PlainText);
        QVERIFY(message->wordWrap());
        // The page view beside its side bar, which is hidden until there
        // is a document to show.
        auto* split = qobject_cast<QSplitter*>(layout->itemAt(3)->widget());
        QVERIFY(split);
        QCOMPARE(split->widget(1), tab.pageView());
        QVERIFY(split->widget(0)->isHidden());
        QCOMPARE(static_cast<QBoxLayout*>(layout)->stretch(3), 1);
        QCOMPARE(tab.pageView()->frameShape(), QFrame::NoFrame);
    }

    void documentToolbarHoldsNavigationAndViewSettings()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        QToolBar* documentBar = bar(tab, "documentToolbar");
        QVERIFY(documentBar);
        QVERIFY(!documentBar->isMovable());
        QVERIFY(!documentBar->isEnabled());
        QCOMPARE(documentBar->actions().size(), 5);

        auto* spin = widgetOn<QSpinBox>(documentBar, 0);
        QVERIFY(spin);
        QCOMPARE(spin->prefix(), QStringLiteral("Sayfa "));
        QCOMPARE(spin->toolTip(), QStringLiteral("Sayfaya git"));
        QCOMPARE(spin->maximumWidth(), 150);
        QVERIFY(widgetOn<QLabel>(documentBar, 1));

        auto* zoom = widgetOn<QComboBox>(documentBar, 2);
        QCOMPARE(itemsOf(zoom), (QStringList{"Genişliğe sığdır", "Sayfaya sığdır", "%100", "%150", "%200"}));
        QCOMPARE(zoom->toolTip(), QStringLiteral("Yakınlaştırma"));

        auto* viewMode = widgetOn<QComboBox>(documentBar, 3);
        QCOMPARE(viewMode->objectName(), QStringLiteral("pageViewMode"));
        QCOMPARE(itemsOf(viewMode), (QStringList{"Sürekli", "Tek sayfa", "Çift sayfa"}));
        QCOMPARE(viewMode->toolTip(), QStringLiteral("Sayfa yerleşimi"));

        auto* filter = widgetOn<QComboBox>(documentBar, 4);
        QCOMPARE(filter->objectName(), QStringLiteral("readingFilter"));
        QCOMPARE(itemsOf(filter), (QStringList{"Normal", "Gece", "Göz koruma"}));
        QCOMPARE(filter->toolTip(), QStringLiteral("Okuma filtresi; dosyanın renklerini değiştirmez"));
    }

    void searchToolbarHoldsSearchAndPlacement()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        QToolBar* searchBar = bar(tab, "searchToolbar");
        QVERIFY(searchBar);
        QVERIFY(!searchBar->isMovable());
        QVERIFY(!searchBar->isEnabled());
        const QList<QAction*> actions = searchBar->actions();
        QCOMPARE(actions.size(), 6);

        auto* edit = widgetOn<QLineEdit>(searchBar, 0);
        QVERIFY(edit);
        QCOMPARE(edit->placeholderText(), QStringLiteral("Belgede ara…"));
        QCOMPARE(edit->toolTip(), QStringLiteral("Metni yazın ve Enter ile sonraki eşleşmeye gidin"));
        QCOMPARE(edit->maximumWidth(), 360);

        QCOMPARE(actions.at(1)->text(), QStringLiteral("Sonrakini bul"));
        QVERIFY(actions.at(2)->isSeparator());
        QCOMPARE(actions.at(3)->text(), QStringLiteral("Metin ekle"));
        QCOMPARE(actions.at(3)->toolTip(),
                 QStringLiteral("Metni yazın, ardından sayfadaki yerine tıklayın; yeni PDF olarak kaydedilir"));
        QCOMPARE(actions.at(4)->text(), QStringLiteral("Yapışkan not ekle"));
        QCOMPARE(actions.at(4)->toolTip(), QStringLiteral("Sayfaya kalıcı açıklama notu ekle"));
        QCOMPARE(actions.at(5)->text(), QStringLiteral("Notları göster"));
        QCOMPARE(actions.at(5)->toolTip(), QStringLiteral("Belgedeki yapışkan notların içeriklerini oku"));
    }

    void shownDocumentEnablesTheBars()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        QSignalSpy ready(&tab, &NativeDocumentTab::ready);
        const PdfDocumentPtr document = test::fixtureDocument(test::PdfFixtureSpec::withPages(7));
        tab.setDocument(document);
        QCOMPARE(ready.size(), 1);
        QCOMPARE(tab.document(), document);
        QCOMPARE(tab.pageView()->document(), document);
        QVERIFY(bar(tab, "documentToolbar")->isEnabled());
        QVERIFY(bar(tab, "searchToolbar")->isEnabled());
        auto* spin = widgetOn<QSpinBox>(bar(tab, "documentToolbar"), 0);
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 7);
        QCOMPARE(widgetOn<QLabel>(bar(tab, "documentToolbar"), 1)->text(), QStringLiteral(" / 7 "));
        QCOMPARE(tab.message(), QStringLiteral("7 sayfa · Yerel PDF görüntüleme"));

        // A second document is not taken: a tab shows one document.
        tab.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(2)));
        QCOMPARE(tab.document(), document);
        QCOMPARE(ready.size(), 1);
    }

    void controlsDriveTheViewAndTheViewDrivesTheSpinBox()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        tab.resize(700, 600);
        tab.show();
        tab.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(7)));
        QToolBar* documentBar = bar(tab, "documentToolbar");
        auto* spin = widgetOn<QSpinBox>(documentBar, 0);
        QSignalSpy pageChanged(tab.pageView(), &PdfCanvas::currentPageChanged);

        spin->setValue(5);
        QCOMPARE(tab.currentPage(), 4);
        QCOMPARE(pageChanged.size(), 1);

        tab.pageView()->goToPage(2);
        QCOMPARE(spin->value(), 3);
        // Shown with signals blocked: no navigation came back.
        QCOMPARE(pageChanged.size(), 2);
        QCOMPARE(tab.currentPage(), 2);

        widgetOn<QComboBox>(documentBar, 2)->setCurrentIndex(3);
        QCOMPARE(tab.pageView()->zoomMode(), 3);
        widgetOn<QComboBox>(documentBar, 3)->setCurrentIndex(2);
        QCOMPARE(tab.pageView()->viewMode(), 2);
        widgetOn<QComboBox>(documentBar, 4)->setCurrentIndex(1);
        QCOMPARE(tab.pageView()->readingFilter(), 1);
        // Layout changes keep the page.
        QCOMPARE(tab.currentPage(), 2);
        QCOMPARE(spin->value(), 3);
    }
};

QTEST_MAIN(DocumentToolbarsTest)
#include "DocumentToolbarsTest.moc"
