// The page view without pixels: where clicks land, which page is current
// while navigating and scrolling, and the layout it shows for its own
// viewport. No worker is reachable from here, so every render fails at
// once with the runner's sentence, which also shows how a failure stays in
// place of its page until the next layout.

#include "FixtureDocument.h"
#include "document/view/PageLayout.h"
#include "document/ui/PdfCanvas.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace velk;

namespace {

const QString kWorkerMissing = QStringLiteral("PDF işleyicisi bulunamadı.");

test::PdfFixtureSpec letterPages(int count)
{
    return test::PdfFixtureSpec::withPages(count, test::pageOfSize(612, 792));
}

} // namespace

class PageViewInteractionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clicksMapToPagePositions_data()
    {
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("page");
        QTest::addColumn<QPointF>("position");
        // Letter pages at 100 % in a 900-pixel viewport scrolled to page 3:
        // page 3 spans x 42..858 from viewport y 24, page 2 ends at y 4.
        QTest::newRow("top-left corner of page 3") << QPoint(42, 24) << int(Qt::LeftButton) << 2 << QPointF(0, 0);
        QTest::newRow("centre of page 3") << QPoint(450, 24 + 528) << int(Qt::LeftButton) << 2 << QPointF(0.5, 0.5);
        QTest::newRow("bottom of page 2") << QPoint(858, 4) << int(Qt::LeftButton) << 1 << QPointF(1, 1);
        QTest::newRow("margin between pages") << QPoint(450, 14) << int(Qt::LeftButton) << -1 << QPointF();
        QTest::newRow("margin beside the page") << QPoint(20, 300) << int(Qt::LeftButton) << -1 << QPointF();
        QTest::newRow("right button on a page") << QPoint(450, 300) << int(Qt::RightButton) << -1 << QPointF();
    }

    void clicksMapToPagePositions()
    {
        QFETCH(QPoint, click);
        QFETCH(int, button);
        QFETCH(int, page);
        QFETCH(QPointF, position);
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(900, 600));
        canvas.setDocument(test::fixtureDocument(letterPages(4)));
        canvas.setZoomMode(ZoomMode::kActualSize);
        canvas.goToPage(2);
        QCOMPARE(canvas.verticalScrollBar()->value(), 2152);
        QSignalSpy clicked(&canvas, &PdfCanvas::pageClicked);
        QTest::mouseClick(canvas.viewport(), Qt::MouseButton(button), {}, click);
        QCOMPARE(clicked.size(), page < 0 ? 0 : 1);
        if (page >= 0) {
            QCOMPARE(clicked.at(0).at(0).toInt(), page);
            QCOMPARE(clicked.at(0).at(1).toPointF(), position);
        }
    }

    void clicksWithoutADocumentEmitNothing()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(400, 400));
        QSignalSpy clicked(&canvas, &PdfCanvas::pageClicked);
        QTest::mouseClick(canvas.viewport(), Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(clicked.size(), 0);
    }

    void viewportShowsTheLayoutOfItsSize_data()
    {
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<int>("zoomMode");
        QTest::addColumn<QSize>("viewport");
        QTest::newRow("continuous, fit width") << 0 << 0 << QSize(300, 500);
        QTest::newRow("continuous, narrow") << 0 << 0 << QSize(120, 500);
        QTest::newRow("two pages, fit page") << 2 << 1 << QSize(900, 500);
        QTest::newRow("single page, 150 %") << 1 << 3 << QSize(700, 500);
    }

    void viewportShowsTheLayoutOfItsSize()
    {
        QFETCH(int, viewMode);
        QFETCH(int, zoomMode);
        QFETCH(QSize, viewport);
        PdfCanvas canvas;
        test::showWithViewport(canvas, viewport);
        const PdfDocumentPtr document = test::fixtureDocument(test::PdfFixtureSpec::withPages(5));
        canvas.setDocument(document);
        canvas.setViewMode(viewMode);
        canvas.setZoomMode(zoomMode);
        const PageLayout expected =
            PageLayout::compute(document->pageSizes, canvas.viewport()->size(), viewMode, zoomMode, 0);
        QCOMPARE(canvas.pageRects(), expected.pageRects);
        QCOMPARE(canvas.verticalScrollBar()->maximum(), expected.verticalRange(canvas.viewport()->height()));
        QCOMPARE(canvas.horizontalScrollBar()->maximum(), expected.horizontalRange(canvas.viewport()->width()));
        QCOMPARE(canvas.verticalScrollBar()->pageStep(), canvas.viewport()->height());
    }

    void navigationAndScrollingMoveTheCurrentPage()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(900, 600));
        canvas.setDocument(test::fixtureDocument(letterPages(6)));
        canvas.setZoomMode(ZoomMode::kActualSize);
        QSignalSpy changed(&canvas, &PdfCanvas::currentPageChanged);

        canvas.goToPage(3);
        QCOMPARE(canvas.currentPage(), 3);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 3);
        QCOMPARE(canvas.verticalScrollBar()->value(), 24 + 3 * 1076 - 24);

        // Out of range: nothing moves.
        canvas.goToPage(6);
        canvas.goToPage(-1);
        QCOMPARE(changed.size(), 1);

        // Scrolling to where page 2 crosses the reading line.
        canvas.verticalScrollBar()->setValue(1100);
        QCOMPARE(canvas.currentPage(), 1);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(1).at(0).toInt(), 1);
        canvas.verticalScrollBar()->setValue(1110);
        QCOMPARE(changed.size(), 2);
    }

    void theLastPageStaysCurrentWhereTheScrollEnds()
    {
        PdfCanvas canvas;
        // Taller than a page: at the end of the range the reading line is
        // still on page 5.
        test::showWithViewport(canvas, QSize(900, 1800));
        canvas.setDocument(test::fixtureDocument(letterPages(6)));
        canvas.setZoomMode(ZoomMode::kActualSize);
        QSignalSpy changed(&canvas, &PdfCanvas::currentPageChanged);
        // The scroll range ends before page 6 reaches the top, but the page
        // navigated to is the current one.
        canvas.goToPage(5);
        QCOMPARE(canvas.verticalScrollBar()->value(), canvas.verticalScrollBar()->maximum());
        QCOMPARE(canvas.currentPage(), 5);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 5);
    }

    void singlePageModeShowsOnlyTheCurrentPage()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(700, 500));
        canvas.setDocument(test::fixtureDocument(letterPages(4)));
        canvas.setViewMode(ViewMode::kSinglePage);
        canvas.goToPage(2);
        QCOMPARE(canvas.currentPage(), 2);
        for (int page = 0; page < 4; ++page)
            QCOMPARE(canvas.pageRects().at(page).isEmpty(), page != 2);
        QCOMPARE(canvas.pageRects().at(2).top(), 24.0);
        // Scrolling never changes the page in this mode.
        canvas.verticalScrollBar()->setValue(canvas.verticalScrollBar()->maximum());
        QCOMPARE(canvas.currentPage(), 2);
    }

    void failedRenderStaysUntilTheNextLayout()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(400, 300));
        canvas.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(3)));
        QTRY_COMPARE(canvas.pageError(0), kWorkerMissing);
        QTRY_VERIFY(!canvas.isRendering());
        // Not asked for again while the layout holds.
        canvas.requestVisiblePage();
        QVERIFY(!canvas.isRendering());
        QCOMPARE(canvas.pageError(0), kWorkerMissing);
        // Below the fold: never asked for.
        QCOMPARE(canvas.pageError(2), QString());

        const int generation = canvas.generation();
        canvas.setZoomMode(ZoomMode::kActualSize);
        QCOMPARE(canvas.generation(), generation + 1);
        QCOMPARE(canvas.pageError(0), QString());
        QTRY_COMPARE(canvas.pageError(0), kWorkerMissing);
    }

    void aNewDocumentStartsAtItsFirstPage()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(900, 600));
        canvas.setDocument(test::fixtureDocument(letterPages(4)));
        canvas.goToPage(3);
        QSignalSpy changed(&canvas, &PdfCanvas::currentPageChanged);
        canvas.setDocument(test::fixtureDocument(letterPages(2)));
        QCOMPARE(canvas.currentPage(), 0);
        QCOMPARE(canvas.verticalScrollBar()->value(), 0);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(canvas.pageRects().size(), 2);
        canvas.setDocument(nullptr);
        QVERIFY(canvas.pageRects().isEmpty());
        QCOMPARE(canvas.verticalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(PageViewInteractionTest)
#include "PageViewInteractionTest.moc"
