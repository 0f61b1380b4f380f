// Where the page view puts every page: fit width and fit page, the fixed
// zooms, the three view modes, the scroll ranges, the width each page is
// rendered at, and which page a point or a scroll position falls on.

#include "document/view/PageLayout.h"

#include <QTest>

#include <limits>

using namespace velk;

namespace {

const QSizeF kA4(595, 842);
const QSizeF kLetter(612, 792);

QList<QSizeF> pages(int count, const QSizeF& size = kA4)
{
    return QList<QSizeF>(count, size);
}

} // namespace

class PageLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scaleFollowsTheZoomMode_data()
    {
        QTest::addColumn<QList<QSizeF>>("sizes");
        QTest::addColumn<QSize>("viewport");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<int>("zoomMode");
        QTest::addColumn<double>("scale");
        const QSize wide(300, 400);
        QTest::newRow("fit width, 300 pixels, A4") << pages(3) << wide << 0 << 0 << 252.0 / 595;
        QTest::newRow("narrower than 148 pixels") << pages(3) << QSize(120, 400) << 0 << 0 << 100.0 / 595;
        QTest::newRow("zero-sized viewport") << pages(1) << QSize(0, 0) << 0 << 1 << 100.0 / 842;
        QTest::newRow("two pages, gap taken off") << pages(3) << QSize(1000, 400) << 2 << 0 << 932.0 / (2 * 595);
        QTest::newRow("fit page, height decides") << pages(3) << QSize(1000, 400) << 0 << 1 << 352.0 / 842;
        QTest::newRow("fit page, width decides") << pages(3) << QSize(300, 2000) << 0 << 1 << 252.0 / 595;
        QTest::newRow("largest page decides") << QList<QSizeF>{kA4, QSizeF(1190, 200)} << wide << 0 << 0
                                              << 252.0 / 1190;
        QTest::newRow("100 %") << pages(1, kLetter) << wide << 0 << 2 << 96.0 / 72;
        QTest::newRow("150 %") << pages(1) << wide << 0 << 3 << 1.5 * 96 / 72;
        QTest::newRow("200 %") << pages(1) << wide << 0 << 4 << 2.0 * 96 / 72;
        QTest::newRow("beyond 200 %") << pages(1) << wide << 0 << 9 << 2.0 * 96 / 72;
        QTest::newRow("negative mode fits width") << pages(1) << wide << 0 << -1 << 252.0 / 595;
    }

    void scaleFollowsTheZoomMode()
    {
        QFETCH(QList<QSizeF>, sizes);
        QFETCH(QSize, viewport);
        QFETCH(int, viewMode);
        QFETCH(int, zoomMode);
        QFETCH(double, scale);
        const PageLayout layout = PageLayout::compute(sizes, viewport, viewMode, zoomMode, 0);
        QCOMPARE(layout.scale, scale);
        QCOMPARE(layout.pageRects.size(), sizes.size());
        QCOMPARE(layout.pageRects.at(0).size(), sizes.at(0) * scale);
    }

    void fitWidthCentresPagesInAColumn()
    {
        const PageLayout layout = PageLayout::compute(pages(3), QSize(300, 400), ViewMode::kContinuous,
                                                      ZoomMode::kFitWidth, 0);
        const double height = 842 * 252.0 / 595;
        QCOMPARE(layout.contentSize.width(), 300.0);
        QCOMPARE(layout.pageRects.at(0), QRectF(24, 24, 252, height));
        QCOMPARE(layout.pageRects.at(1), QRectF(24, 24 + height + 20, 252, height));
        QCOMPARE(layout.pageRects.at(2).top(), 24 + 2 * (height + 20));
        QCOMPARE(layout.contentSize.height(), 24 + 3 * (height + 20));
    }

    void narrowViewportStillShowsPages()
    {
        const PageLayout layout =
            PageLayout::compute(pages(2), QSize(120, 400), ViewMode::kContinuous, ZoomMode::kFitWidth, 0);
        QCOMPARE(layout.pageRects.at(0).width(), 100.0);
        // The content is wider than the viewport: it scrolls sideways.
        QCOMPARE(layout.contentSize.width(), 148.0);
        QCOMPARE(layout.pageRects.at(0).left(), 24.0);
        QCOMPARE(layout.horizontalRange(120), 28);
    }

    void twoPagesPutAnOddLastPageOnTheLeft()
    {
        const PageLayout layout =
            PageLayout::compute(pages(5), QSize(1000, 400), ViewMode::kTwoPages, ZoomMode::kFitWidth, 0);
        const double scale = 932.0 / 1190;
        const double left = (1000 - 2 * 595 * scale - 20) / 2;
        const double right = left + 595 * scale + 20;
        QCOMPARE(layout.pageRects.at(0).left(), left);
        QCOMPARE(layout.pageRects.at(1).left(), right);
        QCOMPARE(layout.pageRects.at(1).top(), layout.pageRects.at(0).top());
        QCOMPARE(layout.pageRects.at(2).top(), 24 + 842 * scale + 20);
        QCOMPARE(layout.pageRects.at(4).left(), left);
        QCOMPARE(layout.pageRects.at(4).top(), 24 + 2 * (842 * scale + 20));
        QCOMPARE(layout.contentSize.height(), 24 + 3 * (842 * scale + 20));
    }

    void twoPagesAlignOnTheLargestWidth()
    {
        const QList<QSizeF> sizes{QSizeF(300, 842), kA4, kA4};
        const PageLayout layout =
            PageLayout::compute(sizes, QSize(1000, 400), ViewMode::kTwoPages, ZoomMode::kActualSize, 0);
        const double scale = 96.0 / 72;
        // Wider than the viewport: the rows start at the margin.
        const double left = 24;
        QCOMPARE(layout.contentSize.width(), 2 * 595 * scale + 48 + 20);
        // A narrow page starts its column; the column is as wide as the
        // widest page.
        QCOMPARE(layout.pageRects.at(0).left(), left);
        QCOMPARE(layout.pageRects.at(1).left(), left + 595 * scale + 20);
        QCOMPARE(layout.pageRects.at(0).width(), 300 * scale);
    }

    void singlePageLaysOutOnlyTheCurrentPage_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("laidOut");
        QTest::newRow("first") << 0 << 0;
        QTest::newRow("third") << 2 << 2;
        QTest::newRow("beyond the last is the last") << 7 << 3;
        QTest::newRow("before the first is the first") << -3 << 0;
    }

    void singlePageLaysOutOnlyTheCurrentPage()
    {
        QFETCH(int, current);
        QFETCH(int, laidOut);
        const QList<QSizeF> sizes{kA4, kA4, kLetter, kA4};
        const PageLayout layout =
            PageLayout::compute(sizes, QSize(900, 700), ViewMode::kSinglePage, ZoomMode::kActualSize, current);
        for (int page = 0; page < sizes.size(); ++page)
            QCOMPARE(layout.pageRects.at(page).isEmpty(), page != laidOut);
        const QRectF rect = layout.pageRects.at(laidOut);
        QCOMPARE(rect.top(), 24.0);
        QCOMPARE(rect.left(), (900 - rect.width()) / 2);
        QCOMPARE(layout.contentSize.height(), rect.height() + 48);
    }

    void actualSizeIsNinetySixPixelsPerInch()
    {
        const PageLayout layout =
            PageLayout::compute(pages(2, kLetter), QSize(600, 500), ViewMode::kContinuous, ZoomMode::kActualSize, 0);
        QCOMPARE(layout.pageRects.at(0).width(), 816.0);
        QCOMPARE(layout.pageRects.at(0).height(), 1056.0);
        QCOMPARE(layout.contentSize.width(), 864.0);
        QCOMPARE(layout.horizontalRange(600), 264);
        // 24 + 2 × (1056 + 20) = 2176, plus 4 of slack.
        QCOMPARE(layout.verticalRange(500), 2180 - 500);
        QCOMPARE(layout.verticalRange(5000), 0);
    }

    void emptyDocumentHasNoLayout()
    {
        const PageLayout layout = PageLayout::compute({}, QSize(300, 300), 0, 0, 0);
        QVERIFY(layout.pageRects.isEmpty());
        QCOMPARE(layout.verticalRange(300), 0);
    }

    void renderWidthIsDevicePixelsWithinBounds_data()
    {
        QTest::addColumn<double>("logicalWidth");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("width");
        QTest::newRow("100 % at ratio 1") << 816.0 << 1.0 << 816;
        QTest::newRow("100 % at ratio 2") << 816.0 << 2.0 << 1632;
        QTest::newRow("fraction truncated") << 252.9 << 1.0 << 252;
        QTest::newRow("fractional ratio") << 300.0 << 1.25 << 375;
        QTest::newRow("50 pixels") << 50.0 << 1.0 << 160;
        QTest::newRow("just below the minimum") << 159.99 << 1.0 << 160;
        QTest::newRow("exactly the maximum") << 2048.0 << 2.0 << 4096;
        QTest::newRow("5000 pixels") << 5000.0 << 1.0 << 4096;
        QTest::newRow("beyond int") << 1e12 << 2.0 << 4096;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 1.0 << 4096;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1.0 << 4096;
    }

    void renderWidthIsDevicePixelsWithinBounds()
    {
        QFETCH(double, logicalWidth);
        QFETCH(double, ratio);
        QFETCH(int, width);
        QCOMPARE(renderWidthFor(logicalWidth, ratio), width);
    }

    void pointsFallOnPagesOrMargins_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("page");
        QTest::addColumn<QPointF>("position");
        // Letter pages at 100 % in a 900-pixel viewport: x 42..858, pages
        // 1056 high from y 24, 20 apart.
        QTest::newRow("top left of page 3") << QPointF(42, 2176) << 2 << QPointF(0, 0);
        QTest::newRow("bottom right of page 1") << QPointF(858, 1080) << 0 << QPointF(1, 1);
        QTest::newRow("centre of page 2") << QPointF(450, 1100 + 528) << 1 << QPointF(0.5, 0.5);
        QTest::newRow("margin between pages") << QPointF(450, 1090) << -1 << QPointF();
        QTest::newRow("left of the pages") << QPointF(20, 500) << -1 << QPointF();
        QTest::newRow("above the first page") << QPointF(450, 10) << -1 << QPointF();
        QTest::newRow("below the last page") << QPointF(450, 3400) << -1 << QPointF();
    }

    void pointsFallOnPagesOrMargins()
    {
        QFETCH(QPointF, point);
        QFETCH(int, page);
        QFETCH(QPointF, position);
        const PageLayout layout =
            PageLayout::compute(pages(3, kLetter), QSize(900, 600), ViewMode::kContinuous, ZoomMode::kActualSize, 0);
        QCOMPARE(pageAt(layout.pageRects, point), page);
        if (page >= 0)
            QCOMPARE(pagePosition(layout.pageRects.at(page), point), position);
    }

    void emptyRectanglesAreNeverHit()
    {
        const PageLayout layout =
            PageLayout::compute(pages(3), QSize(900, 700), ViewMode::kSinglePage, ZoomMode::kActualSize, 1);
        const QPointF centre = layout.pageRects.at(1).center();
        QCOMPARE(pageAt(layout.pageRects, centre), 1);
        QCOMPARE(pageAt(layout.pageRects, QPointF(0, 0)), -1);
    }

    void readingLineDecidesTheCurrentPage_data()
    {
        QTest::addColumn<double>("scroll");
        QTest::addColumn<int>("page");
        // Pages 1056 high from y 24, 20 apart; a 600-pixel viewport puts
        // the reading line 200 below the scroll value.
        QTest::newRow("top") << 0.0 << 0;
        QTest::newRow("line on the bottom of page 1") << 880.0 << 0;
        QTest::newRow("line just past page 1") << 881.0 << 1;
        QTest::newRow("line in the gap") << 890.0 << 1;
        QTest::newRow("page 3") << 2152.0 << 2;
        QTest::newRow("past the end") << 5000.0 << -1;
    }

    void readingLineDecidesTheCurrentPage()
    {
        QFETCH(double, scroll);
        QFETCH(int, page);
        const PageLayout layout =
            PageLayout::compute(pages(3, kLetter), QSize(900, 600), ViewMode::kContinuous, ZoomMode::kActualSize, 0);
        QCOMPARE(pageAtReadingLine(layout.pageRects, scroll, 600), page);
    }

    void extremeLayoutsSaturateTheScrollRange()
    {
        // Ten thousand tall, narrow pages at fit width reach beyond what a
        // scroll bar can hold.
        const PageLayout layout = PageLayout::compute(QList<QSizeF>(10000, QSizeF(1, 20000)), QSize(1000, 800),
                                                      ViewMode::kContinuous, ZoomMode::kFitWidth, 0);
        QVERIFY(layout.contentSize.height() > double(std::numeric_limits<int>::max()));
        QCOMPARE(layout.verticalRange(800), std::numeric_limits<int>::max() - 800);
        QCOMPARE(scrollExtent(1e300), std::numeric_limits<int>::max());
        QCOMPARE(scrollExtent(-5.0), 0);
        QCOMPARE(scrollExtent(std::numeric_limits<double>::quiet_NaN()), 0);
        QCOMPARE(scrollExtent(2176.9), 2176);
    }
};

QTEST_APPLESS_MAIN(PageLayoutTest)
#include "PageLayoutTest.moc"
