// The rendered-page cache: an image costs its size in whole KiB (at least
// one), the whole cache about 64 MiB, and the least recently used page goes
// first.

#include "document/view/PageCache.h"

#include <QTest>

using namespace velk;

namespace {

QImage image(int width, int height)
{
    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::white);
    return result;
}

} // namespace

class PageCacheTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void costIsWholeKibibytes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qsizetype>("cost");
        QTest::newRow("one pixel") << QSize(1, 1) << qsizetype(1);
        QTest::newRow("just under 1 KiB") << QSize(255, 1) << qsizetype(1);
        QTest::newRow("exactly 2 KiB") << QSize(512, 1) << qsizetype(2);
        QTest::newRow("A4 at 1200 wide") << QSize(1200, 1697) << qsizetype(1200 * 1697 * 4 / 1024);
        QTest::newRow("largest render") << QSize(4096, 1953) << qsizetype(31248);
    }

    void costIsWholeKibibytes()
    {
        QFETCH(QSize, size);
        QFETCH(qsizetype, cost);
        QCOMPARE(PageCache::costOf(image(size.width(), size.height())), cost);
    }

    void holdsAboutSixtyFourMebibytes()
    {
        PageCache cache;
        QCOMPARE(cache.maxCost(), qsizetype(65536));
        // Two of the largest renders fit at once; a third pushes out the
        // least recently used.
        const QImage large = image(4096, 1953);
        QVERIFY(cache.insert(0, large));
        QVERIFY(cache.insert(1, large));
        QVERIFY(cache.find(0));
        QVERIFY(cache.insert(2, large));
        QVERIFY(cache.contains(0));
        QVERIFY(!cache.contains(1));
        QVERIFY(cache.contains(2));
        QVERIFY(cache.totalCost() <= cache.maxCost());
    }

    void lookupsReturnTheStoredImage()
    {
        PageCache cache;
        const QImage page = image(200, 300);
        QVERIFY(cache.insert(4, page));
        QVERIFY(cache.find(4));
        QCOMPARE(*cache.find(4), page);
        QVERIFY(!cache.find(5));
        cache.clear();
        QVERIFY(!cache.contains(4));
        QCOMPARE(cache.totalCost(), qsizetype(0));
    }
};

QTEST_APPLESS_MAIN(PageCacheTest)
#include "PageCacheTest.moc"
