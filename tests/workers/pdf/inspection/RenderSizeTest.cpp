// The pixel size of a rendered page: the requested width clamped to
// 160..4,096, then the largest scale that keeps the width within it, the
// height within 4,096 and the image within 8,000,000 pixels. Page sizes are
// in points as PDFium gives them: single-precision values widened to double.

#include "inspection/RenderGeometry.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace velk;

namespace {

// PDFium keeps page boxes in floats.
double asPdfium(double points)
{
    return double(float(points));
}

} // namespace

class RenderSizeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void size_data()
    {
        QTest::addColumn<double>("pageWidth");
        QTest::addColumn<double>("pageHeight");
        QTest::addColumn<qint64>("requested");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");

        QTest::newRow("A4, default width") << 595.276 << 841.89 << qint64(1200) << 1200 << 1697;
        QTest::newRow("US Letter, default width") << 612.0 << 792.0 << qint64(1200) << 1200 << 1552;
        QTest::newRow("A4 landscape") << 841.89 << 595.276 << qint64(1200) << 1200 << 848;
        QTest::newRow("width 50 becomes 160") << 595.276 << 841.89 << qint64(50) << 160 << 226;
        QTest::newRow("width 159 becomes 160") << 612.0 << 792.0 << qint64(159) << 160 << 207;
        QTest::newRow("width 160") << 612.0 << 792.0 << qint64(160) << 160 << 207;
        QTest::newRow("width 0 becomes 160") << 612.0 << 792.0 << qint64(0) << 160 << 207;
        QTest::newRow("negative width becomes 160") << 612.0 << 792.0 << qint64(-5) << 160 << 207;
        QTest::newRow("width 10,000 becomes 4,096") << 2000.0 << 100.0 << qint64(10000) << 4096 << 204;
        QTest::newRow("width 4,097 becomes 4,096") << 2000.0 << 100.0 << qint64(4097) << 4096 << 204;
        QTest::newRow("A4 at 4,096: pixel bound") << 595.276 << 841.89 << qint64(4096) << 2378 << 3363;
        QTest::newRow("20,000 square at 4,096: pixel bound") << 20000.0 << 20000.0 << qint64(4096) << 2828 << 2828;
        QTest::newRow("100 x 20,000 strip: height bound") << 100.0 << 20000.0 << qint64(1200) << 20 << 4096;
        QTest::newRow("one point square") << 1.0 << 1.0 << qint64(1200) << 1200 << 1200;
        QTest::newRow("hairline: at least one pixel") << 0.001 << 20000.0 << qint64(1200) << 1 << 4096;
        QTest::newRow("flat line: at least one pixel") << 20000.0 << 0.001 << qint64(1200) << 1200 << 1;
        QTest::newRow("150 dpi A4") << 595.276 << 841.89 << qint64(1240) << 1240 << 1753;
    }

    void size()
    {
        QFETCH(double, pageWidth);
        QFETCH(double, pageHeight);
        QFETCH(qint64, requested);
        QFETCH(int, width);
        QFETCH(int, height);
        const RenderGeometry geometry =
            RenderGeometry::fit(PageSize{asPdfium(pageWidth), asPdfium(pageHeight)}, requested);
        QCOMPARE(geometry.width, width);
        QCOMPARE(geometry.height, height);
    }

    void widthBeyond32Bits()
    {
        const RenderGeometry geometry = RenderGeometry::fit(PageSize{2000, 100}, qint64(1) << 40);
        QCOMPARE(geometry.width, 4096);
        QCOMPARE(geometry.height, 204);
    }

    // Random pages and requests: every bound holds, and the size is the
    // formula's up to the rounding of the last bit.
    void boundsHoldEverywhere()
    {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 200000; ++i) {
            const double w = asPdfium(std::exp(random.bounded(std::log(20000.0) + 7.0) - 7.0));
            const double h = asPdfium(std::exp(random.bounded(std::log(20000.0) + 7.0) - 7.0));
            const qint64 requested = random.bounded(-100, 10000);
            const RenderGeometry g = RenderGeometry::fit(PageSize{w, h}, requested);
            const int r = int(std::clamp<qint64>(requested, 160, 4096));
            QVERIFY(g.width >= 1 && g.height >= 1);
            QVERIFY(g.width <= r);
            QVERIFY(g.height <= 4096);
            QVERIFY(double(g.width) * g.height <= 8000000.0);
            const double s = std::min({r / w, std::sqrt(8000000.0 / (w * h)), 4096.0 / h});
            QVERIFY(std::abs(g.width - std::max(1.0, std::floor(w * s))) <= 1);
            QVERIFY(std::abs(g.height - std::max(1.0, std::floor(h * s))) <= 1);
        }
    }
};

QTEST_GUILESS_MAIN(RenderSizeTest)
#include "RenderSizeTest.moc"
