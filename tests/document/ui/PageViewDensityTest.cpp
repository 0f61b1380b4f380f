// Pages are asked for at their on-screen width in device pixels: on a
// display of device pixel ratio 2 a 612-point page at 100 % is 816 logical
// pixels wide and arrives 1,632 pixels wide; requests stay within 160 and
// 4,096 pixels. The real worker renders them; runs from the application
// directory.

#include "FixtureDocument.h"
#include "document/ui/PdfCanvas.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace velk;

class PageViewDensityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void pagesArriveAtTheirDevicePixelWidth_data()
    {
        QTest::addColumn<QSizeF>("pageSize");
        QTest::addColumn<int>("zoomMode");
        QTest::addColumn<double>("logicalWidth");
        QTest::addColumn<int>("width");
        QTest::newRow("letter at 100 %") << QSizeF(612, 792) << 2 << 816.0 << 1632;
        QTest::newRow("50 points at 100 %, below the minimum") << QSizeF(50, 50) << 2 << 50 * 96 / 72.0 << 160;
        // 2,731 logical pixels at ratio 2 would be 5,461 device pixels.
        QTest::newRow("wide strip at 100 %, beyond the maximum") << QSizeF(2048, 100) << 2 << 2048 * 96 / 72.0 << 4096;
    }

    void pagesArriveAtTheirDevicePixelWidth()
    {
        QFETCH(QSizeF, pageSize);
        QFETCH(int, zoomMode);
        QFETCH(double, logicalWidth);
        QFETCH(int, width);
        PdfCanvas canvas;
        canvas.resize(600, 600);
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        QSignalSpy rendered(&canvas, &PdfCanvas::pageRendered);
        canvas.setZoomMode(zoomMode);
        canvas.setDocument(test::fixtureDocument(
            test::PdfFixtureSpec::withPages(1, test::pageOfSize(pageSize.width(), pageSize.height()))));
        QTRY_VERIFY_WITH_TIMEOUT(!canvas.cachedPage(0).isNull(), 20000);
        QCOMPARE(canvas.pageRects().at(0).width(), logicalWidth);
        QCOMPARE(canvas.cachedPage(0).width(), width);
    }
};

int main(int argc, char** argv)
{
    // A display of device pixel ratio 2.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    PageViewDensityTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "PageViewDensityTest.moc"
