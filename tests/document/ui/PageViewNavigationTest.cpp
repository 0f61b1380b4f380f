// Moving through a document with the wheel and the keys, and zooming: a
// wheel notch and an arrow move by lines of 20 pixels, single-page mode turns
// pages with PageDown, Space and the wheel at the page's edge and stays on
// the last page, Ctrl+wheel zooms one step about the point under the cursor,
// and while the sharp image is on its way the previous one is drawn scaled.
// The real worker renders in the real sandbox from the application
// directory.

#include "FixtureDocument.h"
#include "document/view/PageLayout.h"
#include "document/ui/PdfCanvas.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

using namespace velk;

namespace {

constexpr int kRenderWaitMs = 20000;

test::PdfFixtureSpec letterPages(int count)
{
    return test::PdfFixtureSpec::withPages(count, test::pageOfSize(612, 792));
}

void turnWheel(PdfCanvas& canvas, const QPoint& at, int delta, Qt::KeyboardModifiers modifiers = {})
{
    const QPointF position(at);
    QWheelEvent event(position, canvas.viewport()->mapToGlobal(position), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas.viewport(), &event);
}

// Where a viewport point falls on a page, in PDF points from its top left.
QPointF pointOnPage(const PdfCanvas& canvas, int page, const QPointF& viewportPoint)
{
    const QPointF content =
        viewportPoint + QPointF(canvas.horizontalScrollBar()->value(), canvas.verticalScrollBar()->value());
    const QRectF& rect = canvas.pageRects().at(page);
    const double pointsPerPixel = 612.0 / rect.width();
    return (content - rect.topLeft()) * pointsPerPixel;
}

} // namespace

class PageViewNavigationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wheelAndArrowsMoveByLines()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(900, 600));
        canvas.setDocument(test::fixtureDocument(letterPages(3)));
        canvas.setZoomMode(ZoomMode::kActualSize);
        QScrollBar* bar = canvas.verticalScrollBar();
        const int start = bar->value();
        turnWheel(canvas, QPoint(450, 300), -120);
        const int notch = bar->value() - start;
        QVERIFY2(notch >= 40 && notch <= 80, qPrintable(QString::number(notch)));
        // Half a notch from a high-resolution wheel moves about half as far.
        const int beforeHalf = bar->value();
        turnWheel(canvas, QPoint(450, 300), -60);
        QVERIFY(bar->value() - beforeHalf >= 20 && bar->value() - beforeHalf <= 40);

        canvas.setFocus();
        const int beforeArrow = bar->value();
        QTest::keyClick(&canvas, Qt::Key_Down);
        QCOMPARE(bar->value() - beforeArrow, 20);
        QTest::keyClick(&canvas, Qt::Key_Up);
        QCOMPARE(bar->value(), beforeArrow);
    }

    void homeAndEndGoToTheFirstAndLastPage_data()
    {
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("continuous") << ViewMode::kContinuous << int(Qt::NoModifier);
        QTest::newRow("continuous, Ctrl") << ViewMode::kContinuous << int(Qt::ControlModifier);
        QTest::newRow("single page") << ViewMode::kSinglePage << int(Qt::NoModifier);
        QTest::newRow("two pages, Ctrl") << ViewMode::kTwoPages << int(Qt::ControlModifier);
    }

    void homeAndEndGoToTheFirstAndLastPage()
    {
        QFETCH(int, viewMode);
        QFETCH(int, modifiers);
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(600, 500));
        canvas.setDocument(test::fixtureDocument(letterPages(5)));
        canvas.setViewMode(viewMode);
        QTest::keyClick(&canvas, Qt::Key_End, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(canvas.currentPage(), 4);
        QTest::keyClick(&canvas, Qt::Key_Home, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(canvas.currentPage(), 0);
        QCOMPARE(canvas.verticalScrollBar()->value(), 0);
    }

    void singlePageKeysTurnPagesAndStopAtTheEnds_data()
    {
        QTest::addColumn<int>("forward");
        QTest::addColumn<int>("forwardModifiers");
        QTest::addColumn<int>("backward");
        QTest::addColumn<int>("backwardModifiers");
        QTest::newRow("PageDown, PageUp") << int(Qt::Key_PageDown) << 0 << int(Qt::Key_PageUp) << 0;
        QTest::newRow("Space, Shift+Space")
            << int(Qt::Key_Space) << 0 << int(Qt::Key_Space) << int(Qt::ShiftModifier);
    }

    void singlePageKeysTurnPagesAndStopAtTheEnds()
    {
        QFETCH(int, forward);
        QFETCH(int, forwardModifiers);
        QFETCH(int, backward);
        QFETCH(int, backwardModifiers);
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(600, 500));
        canvas.setDocument(test::fixtureDocument(letterPages(3)));
        canvas.setViewMode(ViewMode::kSinglePage);
        // Fit width: the page is taller than the view, so the first press
        // scrolls to its end and the next one turns.
        QSignalSpy changed(&canvas, &PdfCanvas::currentPageChanged);
        const auto press = [&](int key, int modifiers) {
            QTest::keyClick(&canvas, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        };
        QScrollBar* bar = canvas.verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        while (bar->value() < bar->maximum())
            press(forward, forwardModifiers);
        QCOMPARE(canvas.currentPage(), 0);
        press(forward, forwardModifiers);
        QCOMPARE(canvas.currentPage(), 1);
        QCOMPARE(bar->value(), 0);
        for (int i = 0; i < 20; ++i)
            press(forward, forwardModifiers);
        QCOMPARE(canvas.currentPage(), 2);
        QCOMPARE(bar->value(), bar->maximum());

        // Backwards from the top of page 3 arrives at the end of page 2.
        while (bar->value() > 0)
            press(backward, backwardModifiers);
        press(backward, backwardModifiers);
        QCOMPARE(canvas.currentPage(), 1);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(changed.size() >= 3);
    }

    void singlePageWheelTurnsAtThePageEdge()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(600, 500));
        canvas.setDocument(test::fixtureDocument(letterPages(2)));
        canvas.setViewMode(ViewMode::kSinglePage);
        canvas.setZoomMode(ZoomMode::kFitPage);
        // The whole page is in view but for the slack below it.
        QScrollBar* bar = canvas.verticalScrollBar();
        QVERIFY(bar->maximum() <= 4);
        turnWheel(canvas, QPoint(300, 250), -120);
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(canvas.currentPage(), 0);
        // Half a notch at the edge is not yet a turn.
        turnWheel(canvas, QPoint(300, 250), -60);
        QCOMPARE(canvas.currentPage(), 0);
        turnWheel(canvas, QPoint(300, 250), -60);
        QCOMPARE(canvas.currentPage(), 1);
        QCOMPARE(bar->value(), 0);
        // The last page stays, however far the wheel turns.
        for (int i = 0; i < 3; ++i)
            turnWheel(canvas, QPoint(300, 250), -120);
        QCOMPARE(canvas.currentPage(), 1);
        QCOMPARE(bar->value(), bar->maximum());
        // Up to the page's top edge first, then over it.
        while (bar->value() > 0)
            turnWheel(canvas, QPoint(300, 250), 120);
        QCOMPARE(canvas.currentPage(), 1);
        turnWheel(canvas, QPoint(300, 250), 120);
        QCOMPARE(canvas.currentPage(), 0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void ctrlWheelZoomsOneStepAboutTheCursor_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("in, right of centre") << 120 << 1.1 << QPoint(600, 200);
        QTest::newRow("out, below centre") << -120 << 0.9 << QPoint(400, 450);
        QTest::newRow("in, near the top") << 120 << 1.1 << QPoint(400, 30);
    }

    void ctrlWheelZoomsOneStepAboutTheCursor()
    {
        QFETCH(int, delta);
        QFETCH(double, factor);
        QFETCH(QPoint, cursor);
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(800, 600));
        canvas.setDocument(test::fixtureDocument(letterPages(4)));
        canvas.setZoomMode(ZoomMode::kActualSize);
        canvas.goToPage(1);
        canvas.verticalScrollBar()->setValue(canvas.verticalScrollBar()->value() + 150);
        // Centred across: zooming out narrows the content to the viewport,
        // which centres the page, and the point can stay only where that
        // moves nothing.
        canvas.horizontalScrollBar()->setValue(canvas.horizontalScrollBar()->maximum() / 2);
        QSignalSpy zoomed(&canvas, &PdfCanvas::zoomFactorChanged);
        const int page = pageAt(canvas.pageRects(), QPointF(cursor) + QPointF(canvas.horizontalScrollBar()->value(),
                                                                                canvas.verticalScrollBar()->value()));
        QVERIFY(page >= 0);
        const QPointF before = pointOnPage(canvas, page, cursor);

        turnWheel(canvas, cursor, delta, Qt::ControlModifier);
        QCOMPARE(zoomed.size(), 1);
        QCOMPARE(canvas.zoomFactor(), factor);
        QVERIFY(canvas.hasOwnZoomFactor());
        QCOMPARE(canvas.pageRects().at(page).width(), 612 * factor * 96 / 72);
        // The same spot of the page is under the cursor, within a pixel or two.
        const QPointF after = pointOnPage(canvas, page, cursor);
        const double pixels = (after - before).manhattanLength() * factor * 96 / 72;
        QVERIFY2(pixels <= 3, qPrintable(QString::number(pixels)));
    }

    void zoomStepsFromAFitModeAndBackToIt()
    {
        PdfCanvas canvas;
        // Fit width in 660 pixels leaves 612 for a 612-point page: one pixel
        // per point, 75 %.
        test::showWithViewport(canvas, QSize(660, 500));
        canvas.setDocument(test::fixtureDocument(letterPages(2)));
        QCOMPARE(canvas.zoomFactor(), 0.75);
        QVERIFY(!canvas.hasOwnZoomFactor());
        canvas.zoomIn();
        QCOMPARE(canvas.zoomFactor(), 0.9);
        canvas.zoomOut();
        canvas.zoomOut();
        QCOMPARE(canvas.zoomFactor(), 0.67);
        canvas.setZoomMode(ZoomMode::kFitWidth);
        QVERIFY(!canvas.hasOwnZoomFactor());
        QCOMPARE(canvas.zoomFactor(), 0.75);
    }

    void zoomDrawsThePreviousImageUntilTheSharpOneArrives()
    {
        test::PdfFill fill;
        fill.rect = QRectF(0, 0, 612, 792);
        fill.red = 1;
        test::PdfPageSpec page = test::pageOfSize(612, 792);
        page.fills = {fill};
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(500, 500));
        QSignalSpy rendered(&canvas, &PdfCanvas::pageRendered);
        canvas.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(1, page)));
        QTRY_COMPARE_WITH_TIMEOUT(rendered.size(), 1, kRenderWaitMs);
        QTRY_VERIFY(!canvas.isRendering());
        const int oldWidth = canvas.cachedPage(0).width();

        // No event is processed in between: the new render has not started.
        canvas.zoomIn();
        QVERIFY(canvas.cachedPage(0).isNull());
        const QPoint centre = canvas.viewport()->rect().center();
        const QImage shot = canvas.viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(centre), QColor(Qt::red));

        QTRY_COMPARE_WITH_TIMEOUT(rendered.size(), 2, kRenderWaitMs);
        QVERIFY(canvas.cachedPage(0).width() > oldWidth);
    }
};

QTEST_MAIN(PageViewNavigationTest)
#include "PageViewNavigationTest.moc"
