// The document tab's reading keys and boxes: a choice in a tool-bar box or
// Enter in the page box gives the keyboard back to the page, so PageDown
// moves the page and not the box; Ctrl+F reaches the search box from
// anywhere in the tab; Ctrl+plus, Ctrl+minus and Ctrl+0 zoom about the
// centre and back to fit width; a percentage typed into the zoom box is
// applied and shown the Turkish way.

#include "FixtureDocument.h"
#include "ScriptedPrompts.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/view/PageLayout.h"
#include "document/ui/PdfCanvas.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

using namespace velk;

namespace {

template <typename T>
T* named(NativeDocumentTab& tab, const char* objectName)
{
    return tab.findChild<T*>(QLatin1String(objectName));
}

QComboBox* zoomBox(NativeDocumentTab& tab)
{
    auto* bar = tab.findChild<QToolBar*>(QStringLiteral("documentToolbar"));
    return qobject_cast<QComboBox*>(bar->widgetForAction(bar->actions().value(2)));
}

} // namespace

class TabReadingKeysTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts m_prompts;

    void showTab(NativeDocumentTab& tab, int pages)
    {
        tab.resize(900, 700);
        tab.show();
        QApplication::setActiveWindow(&tab);
        QVERIFY(QTest::qWaitForWindowActive(&tab));
        tab.setDocument(
            test::fixtureDocument(test::PdfFixtureSpec::withPages(pages, test::pageOfSize(612, 792))));
    }

private Q_SLOTS:
    void aBoxChoiceGivesTheKeysBackToThePage_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("layout") << "pageViewMode";
        QTest::newRow("reading filter") << "readingFilter";
        QTest::newRow("zoom") << "zoom";
    }

    void aBoxChoiceGivesTheKeysBackToThePage()
    {
        QFETCH(QString, box);
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 4);
        QComboBox* combo = box == QLatin1String("zoom") ? zoomBox(tab) : tab.findChild<QComboBox*>(box);
        QVERIFY(combo);
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        // A choice with the keyboard, as a user makes it without the mouse.
        QTest::keyClick(combo, Qt::Key_Down);
        QTRY_VERIFY(tab.pageView()->hasFocus());
        const int index = combo->currentIndex();
        const int scroll = tab.pageView()->verticalScrollBar()->value();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QCOMPARE(combo->currentIndex(), index);
        QVERIFY(tab.pageView()->verticalScrollBar()->value() > scroll);
    }

    void enterInThePageBoxGivesTheKeysBack()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 4);
        auto* spin = tab.findChild<QSpinBox*>();
        spin->setFocus();
        QTRY_VERIFY(spin->hasFocus());
        spin->selectAll();
        QTest::keyClicks(spin, QStringLiteral("3"));
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(tab.currentPage(), 2);
        QTRY_VERIFY(tab.pageView()->hasFocus());
    }

    void ctrlFReachesTheSearchBox()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 2);
        auto* search = tab.findChild<QToolBar*>(QStringLiteral("searchToolbar"))->findChild<QLineEdit*>();
        QVERIFY(search);
        search->setText(QStringLiteral("eski"));
        tab.pageView()->setFocus();
        QTRY_VERIFY(tab.pageView()->hasFocus());
        QTest::keyClick(tab.pageView(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(search->hasFocus());
        QCOMPARE(search->selectedText(), QStringLiteral("eski"));
    }

    void zoomKeysStepAndReturnToFitWidth()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 3);
        PdfCanvas* view = tab.pageView();
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QComboBox* zoom = zoomBox(tab);
        zoom->setCurrentIndex(ZoomMode::kActualSize);
        QCOMPARE(view->zoomFactor(), 1.0);

        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 1.1);
        QCOMPARE(zoom->currentText(), QStringLiteral("%110"));
        QTest::keyClick(view, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 1.25);
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 0.9);
        QCOMPARE(zoom->currentText(), QStringLiteral("%90"));

        QTest::keyClick(view, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(!view->hasOwnZoomFactor());
        QCOMPARE(view->zoomMode(), int(ZoomMode::kFitWidth));
        QCOMPARE(zoom->currentIndex(), int(ZoomMode::kFitWidth));
        QCOMPARE(zoom->currentText(), QStringLiteral("Genişliğe sığdır"));

        // A fixed item chosen again after an own factor applies it.
        view->zoomIn();
        zoom->setCurrentIndex(ZoomMode::kActualSize);
        QCOMPARE(view->zoomFactor(), 1.0);
    }

    void zoomKeysKeepTheCentre()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 3);
        PdfCanvas* view = tab.pageView();
        zoomBox(tab)->setCurrentIndex(ZoomMode::kActualSize);
        view->goToPage(1);
        const QPointF centre(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
        const auto pagePoint = [&] {
            const QPointF content = centre + QPointF(view->horizontalScrollBar()->value(),
                                                     view->verticalScrollBar()->value());
            const QRectF& rect = view->pageRects().at(1);
            return (content - rect.topLeft()) * (612.0 / rect.width());
        };
        const QPointF before = pagePoint();
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY((pagePoint() - before).manhattanLength() <= 3);
    }

    void typedPercentagesApply_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Turkish") << "%130" << 1.3 << "%130";
        QTest::newRow("sign after") << "80%" << 0.8 << "%80";
        QTest::newRow("bare") << "175" << 1.75 << "%175";
    }

    void typedPercentagesApply()
    {
        QFETCH(QString, typed);
        QFETCH(double, factor);
        QFETCH(QString, shown);
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 2);
        QComboBox* zoom = zoomBox(tab);
        QVERIFY(zoom->isEditable());
        zoom->setFocus();
        zoom->lineEdit()->selectAll();
        QTest::keyClicks(zoom->lineEdit(), typed);
        QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
        QCOMPARE(tab.pageView()->zoomFactor(), factor);
        QCOMPARE(zoom->currentText(), shown);
        QCOMPARE(zoom->count(), 5);
        QTRY_VERIFY(tab.pageView()->hasFocus());
    }

    void aWrongPercentageIsExplained()
    {
        NativeDocumentTab tab(m_prompts.prompts());
        showTab(tab, 2);
        QComboBox* zoom = zoomBox(tab);
        const double factor = tab.pageView()->zoomFactor();
        zoom->setFocus();
        zoom->lineEdit()->selectAll();
        QTest::keyClicks(zoom->lineEdit(), QStringLiteral("%900"));
        QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
        QCOMPARE(tab.pageView()->zoomFactor(), factor);
        QCOMPARE(tab.message(), QStringLiteral("Yakınlaştırma %25 ile %400 arasında bir yüzde olmalı."));
        QCOMPARE(zoom->count(), 5);
    }
};

QTEST_MAIN(TabReadingKeysTest)
#include "TabReadingKeysTest.moc"
