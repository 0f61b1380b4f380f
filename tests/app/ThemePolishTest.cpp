// Details of the dark theme seen on screen: a disabled menu item is drawn
// in the disabled text colour, not like an enabled one; a crowded tab bar
// draws its scroll arrows.

#include "app/Theme.h"

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace velk;

namespace {

// The brightest text pixel inside rect, as lightness 0–255.
int brightestIn(const QImage& image, const QRect& rect)
{
    int brightest = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            brightest = std::max(brightest, image.pixelColor(x, y).lightness());
    }
    return brightest;
}

// Pixels of the chevron colour (#BFCEE0, give or take antialiasing).
int chevronPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (qAbs(colour.red() - 0xBF) < 24 && qAbs(colour.green() - 0xCE) < 24 && qAbs(colour.blue() - 0xE0) < 24)
                ++count;
        }
    }
    return count;
}

} // namespace

class ThemePolishTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void disabledMenuItemsLookDisabled()
    {
        QMenu menu;
        QAction* enabled = menu.addAction(QStringLiteral("Sayfaları düzenle ve ayır…"));
        QAction* disabled = menu.addAction(QStringLiteral("Sayfaları düzenle ve ayır…"));
        disabled->setEnabled(false);
        menu.popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const QImage image = menu.grab().toImage();
        const int bright = brightestIn(image, menu.actionGeometry(enabled));
        const int dim = brightestIn(image, menu.actionGeometry(disabled));
        // "#E7EDF5" against "#98A6B8".
        QVERIFY2(bright >= QColor("#E7EDF5").lightness() - 8, qPrintable(QString::number(bright)));
        QVERIFY2(dim <= QColor("#98A6B8").lightness() + 8, qPrintable(QString::number(dim)));
        menu.hide();
    }

    void crowdedTabBarDrawsItsArrows()
    {
        QTabWidget tabs;
        for (int i = 0; i < 12; ++i)
            tabs.addTab(new QWidget, QStringLiteral("uzun-bir-belge-adi-%1.pdf").arg(i));
        tabs.resize(480, 200);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        const QList<QToolButton*> arrows = tabs.tabBar()->findChildren<QToolButton*>();
        QCOMPARE(arrows.size(), 2);
        for (QToolButton* arrow : arrows) {
            QVERIFY(arrow->isVisible());
            QVERIFY2(chevronPixels(arrow->grab().toImage()) >= 8, qPrintable(arrow->arrowType() == Qt::LeftArrow
                                                                               ? QStringLiteral("left")
                                                                               : QStringLiteral("right")));
        }
    }
};

QTEST_MAIN(ThemePolishTest)
#include "ThemePolishTest.moc"
