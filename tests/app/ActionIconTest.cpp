// The command icons carry 96 x 96 pixels for 48 x 48 logical ones, so they
// stay sharp at device pixel ratio 2, and draw their shapes as open light
// blue outlines on transparency.

#include "app/ActionIcon.h"

#include <QImage>
#include <QTest>

using namespace velk;

Q_DECLARE_METATYPE(velk::ActionIconKind)

namespace {

// The device pixel of the icon under a point of the 24 x 24 design grid:
// the grid is doubled for the 48 logical pixels, which are doubled again.
QColor at(const QImage& image, const QPointF& grid)
{
    return image.pixelColor(int(grid.x() * 4), int(grid.y() * 4));
}

} // namespace

class ActionIconTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void iconIsHighDensity_data()
    {
        QTest::addColumn<ActionIconKind>("kind");
        QTest::newRow("folder") << ActionIconKind::Folder;
        QTest::newRow("page with plus") << ActionIconKind::PageWithPlus;
        QTest::newRow("picture") << ActionIconKind::Picture;
    }

    void iconIsHighDensity()
    {
        QFETCH(ActionIconKind, kind);
        const QPixmap pixmap = drawActionIcon(kind);
        QCOMPARE(pixmap.size(), QSize(96, 96));
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(48, 48));
        const QImage image = pixmap.toImage();
        QVERIFY(image.hasAlphaChannel());
        for (const QPoint corner : {QPoint(0, 0), QPoint(95, 0), QPoint(0, 95), QPoint(95, 95)})
            QCOMPARE(image.pixelColor(corner).alpha(), 0);
    }

    void strokesFollowTheDrawing_data()
    {
        QTest::addColumn<ActionIconKind>("kind");
        QTest::addColumn<QPointF>("point");   // on the 24 x 24 grid
        QTest::addColumn<bool>("inked");

        QTest::newRow("folder left side") << ActionIconKind::Folder << QPointF(3, 14) << true;
        QTest::newRow("folder tab top") << ActionIconKind::Folder << QPointF(6, 5) << true;
        QTest::newRow("folder inner line") << ActionIconKind::Folder << QPointF(12, 11) << true;
        QTest::newRow("folder bottom") << ActionIconKind::Folder << QPointF(10, 20) << true;
        QTest::newRow("folder inside is open") << ActionIconKind::Folder << QPointF(10, 15.5) << false;
        QTest::newRow("page left side") << ActionIconKind::PageWithPlus << QPointF(5, 12) << true;
        QTest::newRow("page plus centre") << ActionIconKind::PageWithPlus << QPointF(12, 12) << true;
        QTest::newRow("page plus top") << ActionIconKind::PageWithPlus << QPointF(12, 8.5) << true;
        QTest::newRow("page inside is open") << ActionIconKind::PageWithPlus << QPointF(8, 6) << false;
        QTest::newRow("page outside") << ActionIconKind::PageWithPlus << QPointF(2, 12) << false;
        QTest::newRow("picture left side") << ActionIconKind::Picture << QPointF(3, 12) << true;
        QTest::newRow("picture ridge peak") << ActionIconKind::Picture << QPointF(11, 12) << true;
        QTest::newRow("picture sun") << ActionIconKind::Picture << QPointF(9.6, 10) << true;
        QTest::newRow("picture sky is open") << ActionIconKind::Picture << QPointF(15, 8) << false;
    }

    void strokesFollowTheDrawing()
    {
        QFETCH(ActionIconKind, kind);
        QFETCH(QPointF, point);
        QFETCH(bool, inked);
        const QColor colour = at(drawActionIcon(kind).toImage(), point);
        if (!inked) {
            QCOMPARE(colour.alpha(), 0);
            return;
        }
        QVERIFY2(colour.alpha() > 200, qPrintable(QString::number(colour.alpha())));
        QCOMPARE(colour.rgb(), QColor("#A9C6FF").rgb());
    }

    void kindsDiffer()
    {
        const QImage folder = drawActionIcon(ActionIconKind::Folder).toImage();
        const QImage page = drawActionIcon(ActionIconKind::PageWithPlus).toImage();
        const QImage picture = drawActionIcon(ActionIconKind::Picture).toImage();
        QVERIFY(folder != page);
        QVERIFY(page != picture);
        QVERIFY(folder != picture);
    }
};

QTEST_MAIN(ActionIconTest)
#include "ActionIconTest.moc"
