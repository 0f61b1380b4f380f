// The document emblem keeps its fixed size and paints its page, folded
// corner, text lines and the red "PDF" label where they belong.

#include "app/DocumentEmblem.h"
#include "app/Theme.h"

#include <QImage>
#include <QTest>
#include <QVBoxLayout>

using namespace velk;

class DocumentEmblemTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void sizeIsFixed()
    {
        DocumentEmblem emblem;
        QCOMPARE(emblem.size(), QSize(128, 142));
        QCOMPARE(emblem.minimumSize(), QSize(128, 142));
        QCOMPARE(emblem.maximumSize(), QSize(128, 142));
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        auto* inLayout = new DocumentEmblem;
        layout->addWidget(inLayout);
        host.resize(600, 600);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(inLayout->size(), QSize(128, 142));
    }

    void paintsItsParts_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("colour");

        QTest::newRow("page") << QPoint(100, 100) << QColor("#30333A");
        QTest::newRow("page near top") << QPoint(40, 20) << QColor("#30333A");
        QTest::newRow("folded corner") << QPoint(88, 33) << QColor("#444851");
        QTest::newRow("first text line") << QPoint(60, 56) << QColor("#717783");
        QTest::newRow("second text line") << QPoint(80, 68) << QColor("#717783");
        QTest::newRow("between the lines") << QPoint(60, 62) << QColor("#30333A");
        QTest::newRow("label left of the text") << QPoint(18, 101) << QColor("#DD4B4B");
        QTest::newRow("label outside the page") << QPoint(20, 90) << QColor("#DD4B4B");
    }

    void paintsItsParts()
    {
        QFETCH(QPoint, point);
        QFETCH(QColor, colour);
        DocumentEmblem emblem;
        const QImage image = emblem.grab().toImage();
        QCOMPARE(image.pixelColor(point).rgb(), colour.rgb());
    }

    void labelCarriesWhiteText()
    {
        DocumentEmblem emblem;
        const QImage image = emblem.grab().toImage();
        int white = 0;
        for (int y = 84; y < 118; ++y) {
            for (int x = 13; x < 95; ++x)
                white += image.pixelColor(x, y) == QColor(Qt::white);
        }
        // "PDF" at 20 px fills a fair share of its label, all of it centred.
        QVERIFY2(white > 60, qPrintable(QString::number(white)));
        int leftWhite = 0;
        int rightWhite = 0;
        for (int y = 84; y < 118; ++y) {
            for (int x = 13; x < 95; ++x) {
                if (image.pixelColor(x, y) == QColor(Qt::white))
                    (x < 54 ? leftWhite : rightWhite) += 1;
            }
        }
        QVERIFY(leftWhite > 0 && rightWhite > 0);
        QCOMPARE(image.pixelColor(17, 112).rgb(), QColor("#DD4B4B").rgb());
    }
};

QTEST_MAIN(DocumentEmblemTest)
#include "DocumentEmblemTest.moc"
