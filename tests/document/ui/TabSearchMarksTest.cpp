// Search hits marked on the page, through the real worker in the real
// sandbox: F3 walks every hit of every page and Shift+F3 walks back, the
// status line counts the hit on its page and says when the search wrapped
// round, the marks sit over the hit's words as painted and go when the
// query changes.

#include "FixtureDocument.h"
#include "ScriptedPrompts.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "support/ReadingFixtures.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace velk;

namespace {

constexpr int kWorkerWaitMs = 30000;
const QString kSearching = QStringLiteral("Aranıyor…");

} // namespace

class TabSearchMarksTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedPrompts m_prompts;
    std::unique_ptr<NativeDocumentTab> m_tab;

    QLineEdit* searchEdit()
    {
        return m_tab->findChild<QToolBar*>(QStringLiteral("searchToolbar"))->findChild<QLineEdit*>();
    }

    QString press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        if (m_tab->message() != kSearching)
            return QStringLiteral("search did not start: ") + m_tab->message();
        if (!QTest::qWaitFor([this] { return m_tab->message() != kSearching; }, kWorkerWaitMs))
            return QStringLiteral("search did not end");
        return m_tab->message();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        test::ReadingPage first;
        first.lines = {QStringLiteral("abc ve abc")};
        test::ReadingPage second;
        second.lines = {QStringLiteral("burada yok")};
        test::ReadingPage third;
        third.lines = {QStringLiteral("Son abc")};
        test::ReadingSpec spec;
        spec.pages = {first, second, third};
        const QString path = m_dir.filePath(QStringLiteral("isaret.pdf"));
        QVERIFY(test::writeReadingPdf(path, spec));
        m_tab = std::make_unique<NativeDocumentTab>(m_prompts.prompts());
        m_tab->resize(700, 800);
        m_tab->show();
        QApplication::setActiveWindow(m_tab.get());
        QVERIFY(QTest::qWaitForWindowActive(m_tab.get()));
        QSignalSpy ready(m_tab.get(), &NativeDocumentTab::ready);
        QVERIFY(m_tab->openFile(path).isEmpty());
        QVERIFY2(ready.wait(kWorkerWaitMs), qPrintable(m_tab->message()));
    }

    void cleanup() { m_tab.reset(); }

    void f3WalksEveryHitAndShiftF3WalksBack()
    {
        searchEdit()->setFocus();
        QTest::keyClicks(searchEdit(), QStringLiteral("ABC"));
        QCOMPARE(press(Qt::Key_Return), QStringLiteral("Sayfa 1 / 3: 1. sonuç"));
        m_tab->pageView()->setFocus();
        QCOMPARE(press(Qt::Key_F3), QStringLiteral("Sayfa 1 / 3: 2. sonuç"));
        QCOMPARE(press(Qt::Key_F3), QStringLiteral("Sayfa 3 / 3: 1. sonuç"));
        QCOMPARE(m_tab->currentPage(), 2);
        QCOMPARE(press(Qt::Key_F3),
                 QStringLiteral("Sayfa 1 / 3: 1. sonuç · Belgenin sonuna gelindi, aramaya baştan devam edildi."));
        QCOMPARE(press(Qt::Key_F3, Qt::ShiftModifier),
                 QStringLiteral("Sayfa 3 / 3: 1. sonuç · Belgenin başına gelindi, aramaya sondan devam edildi."));
        QCOMPARE(press(Qt::Key_F3, Qt::ShiftModifier), QStringLiteral("Sayfa 1 / 3: 2. sonuç"));
        QCOMPARE(press(Qt::Key_F3, Qt::ShiftModifier), QStringLiteral("Sayfa 1 / 3: 1. sonuç"));
    }

    void marksCoverTheHitAsPainted()
    {
        PdfCanvas* view = m_tab->pageView();
        QSignalSpy rendered(view, &PdfCanvas::pageRendered);
        searchEdit()->setText(QStringLiteral("ve"));
        m_tab->findNext();
        QTRY_VERIFY_WITH_TIMEOUT(m_tab->message().startsWith(QStringLiteral("Sayfa 1 / 3")), kWorkerWaitMs);
        QCOMPARE(view->searchMarkPage(), 0);
        const QList<QRectF> marks = view->searchMarksInViewport();
        QCOMPARE(marks.size(), 1);
        // "ve" is the second word of the line at 72 points from the left:
        // the mark lies on the page, right of the margin, one line high.
        const QRectF page = view->pageRects().at(0).translated(-view->horizontalScrollBar()->value(),
                                                               -view->verticalScrollBar()->value());
        const double scale = page.width() / 595;
        QVERIFY(marks.first().left() > page.left() + 72 * scale);
        QVERIFY(marks.first().height() > 6 * scale && marks.first().height() < 20 * scale);
        QVERIFY(page.contains(marks.first()));

        QTRY_VERIFY_WITH_TIMEOUT(!view->cachedPage(0).isNull(), kWorkerWaitMs);
        const QImage shot = view->viewport()->grab().toImage();
        // Black letters on white paper are grey; under the mark the paper
        // turns yellow, so red outweighs blue across the mark.
        const QRect area = marks.first().toAlignedRect().intersected(shot.rect());
        qint64 red = 0;
        qint64 blue = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                red += shot.pixelColor(x, y).red();
                blue += shot.pixelColor(x, y).blue();
            }
        }
        const qint64 pixels = qint64(area.width()) * area.height();
        QVERIFY(pixels > 0);
        QVERIFY2((red - blue) / pixels > 40, qPrintable(QString::number((red - blue) / pixels)));

        // A new query takes the marks away.
        searchEdit()->setText(QStringLiteral("vex"));
        QCOMPARE(view->searchMarkPage(), -1);
        QVERIFY(view->searchMarksInViewport().isEmpty());
    }

    void ctrlFThenEnterSearches()
    {
        searchEdit()->setText(QStringLiteral("son"));
        m_tab->pageView()->setFocus();
        QTest::keyClick(m_tab->pageView(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(searchEdit()->hasFocus());
        QCOMPARE(press(Qt::Key_Return), QStringLiteral("Sayfa 3 / 3: 1. sonuç"));
    }
};

QTEST_MAIN(TabSearchMarksTest)
#include "TabSearchMarksTest.moc"
