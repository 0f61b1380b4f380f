// The thumbnail queue: only wanted pages are handed out, in the order they
// are wanted, one at a time and never while the page view renders; made
// thumbnails and failed pages are not asked for again; pages outside the
// document are never handed out.

#include "document/view/ThumbnailQueue.h"

#include <QTest>

using namespace velk;

namespace {

QImage picture()
{
    QImage image(40, 56, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

} // namespace

class ThumbnailQueueTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handsOutWantedPagesOneAtATime()
    {
        ThumbnailQueue queue;
        queue.reset(10);
        queue.setWanted({4, 2, 4, 3});
        QCOMPARE(queue.takeNext(true), std::nullopt);
        QCOMPARE(queue.takeNext(false), std::optional<int>(4));
        QCOMPARE(queue.takeNext(false), std::nullopt);
        queue.finish(4, picture());
        QVERIFY(queue.find(4));
        QCOMPARE(queue.takeNext(false), std::optional<int>(2));
        queue.finish(2, QImage());
        QVERIFY(queue.hasFailed(2));
        QCOMPARE(queue.takeNext(false), std::optional<int>(3));
        queue.finish(3, picture());
        QCOMPARE(queue.takeNext(false), std::nullopt);
        QCOMPARE(queue.requested(), (QList<int>{4, 2, 3}));
    }

    void ignoresPagesOutsideTheDocumentAndStaleReplies()
    {
        ThumbnailQueue queue;
        queue.reset(3);
        queue.setWanted({-1, 3, 1000, 2});
        QCOMPARE(queue.takeNext(false), std::optional<int>(2));
        // A reply for another page leaves the request in flight.
        queue.finish(1, picture());
        QVERIFY(!queue.find(1));
        QVERIFY(queue.isBusy());
        queue.reset(3);
        QVERIFY(!queue.isBusy());
        QVERIFY(queue.requested().isEmpty());
    }

    void pagesNoLongerInViewAreNotAskedFor()
    {
        ThumbnailQueue queue;
        queue.reset(100);
        queue.setWanted({0, 1, 2});
        QCOMPARE(queue.takeNext(false), std::optional<int>(0));
        queue.finish(0, picture());
        queue.setWanted({50, 51});
        QCOMPARE(queue.takeNext(false), std::optional<int>(50));
        queue.finish(50, picture());
        QCOMPARE(queue.takeNext(false), std::optional<int>(51));
        queue.finish(51, picture());
        QCOMPARE(queue.takeNext(false), std::nullopt);
        QCOMPARE(queue.requested(), (QList<int>{0, 50, 51}));
    }
};

QTEST_GUILESS_MAIN(ThumbnailQueueTest)
#include "ThumbnailQueueTest.moc"
