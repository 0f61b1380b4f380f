// Generated appearances as poppler renders them: text drawn with the real
// Roboto Bold, embedded as a Type0 (Identity-H) font, shows the Turkish
// letters that a field's WinAnsi font loses. Each letter leaves ink inside
// its field's box and nowhere else on the page, and differs from the Latin
// letter it resembles, drawn beside it in the same way, where the two
// letters differ: the breve and the dot above, the cedilla below, the
// missing dot of ı.

#include "AppearancePage.h"
#include "forms/appearance/AppearanceStream.h"
#include "edit/EmbeddedFont.h"
#include "RenderedInk.h"
#include "forms/appearance/TrueTypeFont.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <optional>

using namespace velk;
using namespace velk::test;

namespace {

const QSizeF kPageSize{200, 200};
// Two fields of the same size, one above the other.
const QRectF kUpperField{40, 120, 120, 40};
const QRectF kLowerField{40, 30, 120, 40};

QRect pixelsOf(const QRectF& field)
{
    return pixelBox(field, kPageSize.height());
}

WidgetLook fieldLook(int rotation)
{
    WidgetLook look;
    look.width = kUpperField.width();
    look.height = kUpperField.height();
    look.rotation = rotation;
    look.fontSize = 24;
    look.quadding = 1;
    return look;
}

// How far the ink stays from the box's edge above the text and below it,
// "above" being where the letters' tops point after the widget's turn.
struct Margins {
    int above;
    int below;
};

Margins marginsOf(const Ink& ink, const QRect& box, int rotation)
{
    const QRect& b = ink.bounds;
    switch (rotation) {
    case 90:
        return {b.left() - box.left(), box.right() - b.right()};
    case 180:
        return {box.bottom() - b.bottom(), b.top() - box.top()};
    case 270:
        return {box.right() - b.right(), b.left() - box.left()};
    default:
        return {b.top() - box.top(), box.bottom() - b.bottom()};
    }
}

} // namespace

class AppearanceRenderingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::optional<TrueTypeFont> m_font;
    int m_files = 0;

    // The looks drawn in the upper and the lower field, rendered by pdftoppm.
    QImage rendered(const WidgetLook& upper, const WidgetLook& lower)
    {
        GlyphUse used;
        const QList<PlacedAppearance> placed{{buildAppearance(upper, *m_font, used), kUpperField.topLeft()},
                                             {buildAppearance(lower, *m_font, used), kLowerField.topLeft()}};
        const QString path = m_dir.filePath(QStringLiteral("fields%1.pdf").arg(++m_files));
        QFile file(path);
        const QByteArray pdf = appearancePdf(kPageSize, placed, used, *m_font);
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.flush())
            return QImage();
        file.close();
        return popplerRendering(path);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_font = TrueTypeFont::parse(EmbeddedFont::read());
        QVERIFY(m_font.has_value());
    }

    void turkishLetterShown_data()
    {
        QTest::addColumn<QString>("turkish");
        QTest::addColumn<QString>("latin");
        QTest::addColumn<int>("rotation");
        // Where the Turkish letter's ink reaches further (pixels, positive)
        // or less far (negative) than the Latin one's.
        QTest::addColumn<int>("aboveBy");
        QTest::addColumn<int>("belowBy");

        QTest::newRow("ğ") << QStringLiteral("ğ") << QStringLiteral("g") << 0 << 1 << 0;
        QTest::newRow("ı") << QStringLiteral("ı") << QStringLiteral("i") << 0 << -1 << 0;
        QTest::newRow("İ") << QStringLiteral("İ") << QStringLiteral("I") << 0 << 1 << 0;
        QTest::newRow("ş") << QStringLiteral("ş") << QStringLiteral("s") << 0 << 0 << 1;
        QTest::newRow("Ğ turned 90") << QStringLiteral("Ğ") << QStringLiteral("G") << 90 << 1 << 0;
        QTest::newRow("İ turned 180") << QStringLiteral("İ") << QStringLiteral("I") << 180 << 1 << 0;
        QTest::newRow("ş turned 270") << QStringLiteral("ş") << QStringLiteral("s") << 270 << 0 << 1;
    }

    void turkishLetterShown()
    {
        QFETCH(QString, turkish);
        QFETCH(QString, latin);
        QFETCH(int, rotation);
        QFETCH(int, aboveBy);
        QFETCH(int, belowBy);

        QVERIFY(m_font->glyphFor(turkish.toUcs4().at(0)) != 0);
        WidgetLook upper = fieldLook(rotation);
        upper.text = turkish;
        WidgetLook lower = fieldLook(rotation);
        lower.text = latin;
        const QImage image = rendered(upper, lower);
        QVERIFY(!image.isNull());

        const Ink turkishInk = inkIn(image, pixelsOf(kUpperField));
        const Ink latinInk = inkIn(image, pixelsOf(kLowerField));
        QVERIFY2(turkishInk.pixels > 20, qPrintable(QString::number(turkishInk.pixels)));
        QVERIFY2(latinInk.pixels > 20, qPrintable(QString::number(latinInk.pixels)));
        QCOMPARE(inkIn(image, image.rect()).pixels, turkishInk.pixels + latinInk.pixels);
        const int differing = differingPixels(image, pixelsOf(kUpperField), pixelsOf(kLowerField));
        QVERIFY2(differing > 10, qPrintable(QString::number(differing)));

        // A sign of the difference only where the letters differ; at least
        // two pixels (one point) of it.
        const Margins turkishMargins = marginsOf(turkishInk, pixelsOf(kUpperField), rotation);
        const Margins latinMargins = marginsOf(latinInk, pixelsOf(kLowerField), rotation);
        const auto reachesAs = [](int turkishMargin, int latinMargin, int sign) {
            const int further = latinMargin - turkishMargin;
            return sign == 0 ? std::abs(further) <= 1 : further * sign >= 2;
        };
        QVERIFY(reachesAs(turkishMargins.above, latinMargins.above, aboveBy));
        QVERIFY(reachesAs(turkishMargins.below, latinMargins.below, belowBy));
    }

    void listRowsShown()
    {
        WidgetLook list = fieldLook(0);
        list.kind = WidgetKind::List;
        list.fontSize = 12;
        list.options = {QStringLiteral("Iğdır"), QStringLiteral("İstanbul")};
        list.selected = {1};
        WidgetLook combo = fieldLook(0);
        combo.kind = WidgetKind::Combo;
        combo.text = QStringLiteral("Muş");
        const QImage image = rendered(list, combo);
        QVERIFY(!image.isNull());

        const Ink listInk = inkIn(image, pixelsOf(kUpperField));
        const Ink comboInk = inkIn(image, pixelsOf(kLowerField));
        QVERIFY2(listInk.pixels > 40, qPrintable(QString::number(listInk.pixels)));
        QVERIFY2(comboInk.pixels > 40, qPrintable(QString::number(comboInk.pixels)));
        QCOMPARE(inkIn(image, image.rect()).pixels, listInk.pixels + comboInk.pixels);
        // Two rows of text, one above the other.
        QVERIFY(listInk.bounds.height() > 2 * 12);
    }
};

QTEST_GUILESS_MAIN(AppearanceRenderingTest)
#include "AppearanceRenderingTest.moc"
