// Generated appearances of filled text, combo and list widgets: the box
// and its turn, background and border, the clipped text part with the
// embedded Unicode font, colours, glyph codes and the glyphs recorded for
// the font, and passwords that never reach the stream. Measured with a
// hand-made font whose every advance is known.

#include "AppearanceProbe.h"
#include "forms/appearance/AppearanceStream.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace velk;
using namespace velk::test;

Q_DECLARE_METATYPE(velk::WidgetLook)
Q_DECLARE_METATYPE(velk::GlyphUse)

class AppearanceStreamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void box_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<double>("bboxWidth");
        QTest::addColumn<double>("bboxHeight");
        QTest::addColumn<QList<double>>("matrix");
        QTest::addColumn<QList<double>>("clip");

        QTest::newRow("upright") << 0 << 100.0 << 20.0 << QList<double>{1, 0, 0, 1, 0, 0}
                                 << QList<double>{1, 1, 98, 18};
        QTest::newRow("90") << 90 << 20.0 << 100.0 << QList<double>{0, 1, -1, 0, 100, 0}
                            << QList<double>{1, 1, 18, 98};
        QTest::newRow("180") << 180 << 100.0 << 20.0 << QList<double>{-1, 0, 0, -1, 100, 20}
                             << QList<double>{1, 1, 98, 18};
        QTest::newRow("270") << 270 << 20.0 << 100.0 << QList<double>{0, -1, 1, 0, 0, 20}
                             << QList<double>{1, 1, 18, 98};
        QTest::newRow("45 reads as upright") << 45 << 100.0 << 20.0 << QList<double>{1, 0, 0, 1, 0, 0}
                                             << QList<double>{1, 1, 98, 18};
        QTest::newRow("-90 reads as upright") << -90 << 100.0 << 20.0 << QList<double>{1, 0, 0, 1, 0, 0}
                                              << QList<double>{1, 1, 98, 18};
        QTest::newRow("360 reads as upright") << 360 << 100.0 << 20.0 << QList<double>{1, 0, 0, 1, 0, 0}
                                              << QList<double>{1, 1, 98, 18};
    }

    void box()
    {
        QFETCH(int, rotation);
        QFETCH(double, bboxWidth);
        QFETCH(double, bboxHeight);
        QFETCH(QList<double>, matrix);
        QFETCH(QList<double>, clip);

        WidgetLook look = textLook("AB");
        look.rotation = rotation;
        const AppearanceForm form = built(look);
        QCOMPARE(form.bboxWidth, bboxWidth);
        QCOMPARE(form.bboxHeight, bboxHeight);
        const QList<double> actual(form.matrix.begin(), form.matrix.end());
        QCOMPARE(actual, matrix);
        // The turned box lands exactly on the annotation rectangle.
        double left = 1e9, bottom = 1e9, right = -1e9, top = -1e9;
        for (const auto& [x, y] : {std::pair{0.0, 0.0}, {bboxWidth, 0.0}, {0.0, bboxHeight}, {bboxWidth, bboxHeight}}) {
            const double px = matrix[0] * x + matrix[2] * y + matrix[4];
            const double py = matrix[1] * x + matrix[3] * y + matrix[5];
            left = std::min(left, px), right = std::max(right, px);
            bottom = std::min(bottom, py), top = std::max(top, py);
        }
        QCOMPARE((QList<double>{left, bottom, right, top}), (QList<double>{0, 0, 100, 20}));
        QCOMPARE(rectanglesBetween(contentOps(form.content), "BMC", "W"), QList<QList<double>>{clip});
    }

    void degenerateBox_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");

        QTest::newRow("zero width") << 0.0 << 20.0;
        QTest::newRow("zero height") << 100.0 << 0.0;
        QTest::newRow("negative width") << -5.0 << 20.0;
        QTest::newRow("negative height") << 100.0 << -1.0;
        QTest::newRow("width not a number") << std::nan("") << 20.0;
        QTest::newRow("infinite height") << 100.0 << std::numeric_limits<double>::infinity();
    }

    void degenerateBox()
    {
        QFETCH(double, width);
        QFETCH(double, height);

        WidgetLook look = textLook("AB", width, height);
        look.background = {1};
        look.borderColour = {0};
        GlyphUse used;
        const AppearanceForm form = built(look, &used);
        QVERIFY(form.content.isEmpty());
        QCOMPARE(form.bboxWidth, 0.0);
        QCOMPARE(form.bboxHeight, 0.0);
        QVERIFY(used.empty());
    }

    void textPartStructure()
    {
        const AppearanceForm form = built(textLook("AB"));
        QList<QByteArray> names;
        for (const ContentOp& op : contentOps(form.content))
            names.append(op.name);
        QCOMPARE(names, (QList<QByteArray>{"BMC", "q", "re", "W", "n", "BT", "Tf", "g", "Tm", "Tj", "ET", "Q", "EMC"}));
        QVERIFY(form.content.startsWith("/Tx BMC\nq\n"));
        QVERIFY(form.content.contains(QByteArray(QByteArray("\nBT\n/") + kAppearanceFontResource + " 10 Tf\n0 g\n")));
        QVERIFY(form.content.endsWith("ET\nQ\nEMC\n"));
    }

    void clip_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<QList<QList<double>>>("clip");

        WidgetLook look = textLook("AB");
        QTest::newRow("no border colour") << look << QList<QList<double>>{{1, 1, 98, 18}};
        look.borderColour = {0};
        QTest::newRow("border 1") << look << QList<QList<double>>{{2, 2, 96, 16}};
        look.borderWidth = 2;
        QTest::newRow("border 2") << look << QList<QList<double>>{{4, 4, 92, 12}};
        look.borderWidth = 0;
        QTest::newRow("border width 0") << look << QList<QList<double>>{{1, 1, 98, 18}};
        look.borderWidth = std::nan("");
        QTest::newRow("border width not a number") << look << QList<QList<double>>{{1, 1, 98, 18}};
        look.borderWidth = 30;
        QTest::newRow("border filling the box") << look << QList<QList<double>>{};
        look = textLook("AB", 3, 20);
        QTest::newRow("box too narrow for text") << look << QList<QList<double>>{};
    }

    void clip()
    {
        QFETCH(WidgetLook, look);
        QFETCH(QList<QList<double>>, clip);

        const AppearanceForm form = built(look);
        const QList<ContentOp> ops = contentOps(form.content);
        QCOMPARE(rectanglesBetween(ops, "BMC", "W"), clip);
        // The marked text part is there even when no text fits.
        QCOMPARE(opsNamed(ops, "BMC").size(), 1);
        QCOMPARE(opsNamed(ops, "EMC").size(), 1);
        QCOMPARE(opsNamed(ops, "BT").size(), clip.size());
    }

    void textColour_data()
    {
        QTest::addColumn<QList<double>>("colour");
        QTest::addColumn<QByteArray>("colourOperator");

        QTest::newRow("black") << QList<double>{0} << QByteArray("0 g");
        QTest::newRow("blue") << QList<double>{0, 0, 1} << QByteArray("0 0 1 rg");
        QTest::newRow("CMYK") << QList<double>{0.1, 0.2, 0.3, 0.4} << QByteArray("0.1 0.2 0.3 0.4 k");
        QTest::newRow("four decimals") << QList<double>{0.123456} << QByteArray("0.1235 g");
        QTest::newRow("above one") << QList<double>{2} << QByteArray("1 g");
        QTest::newRow("each clamped") << QList<double>{-1, 0.5, 3} << QByteArray("0 0.5 1 rg");
        QTest::newRow("two components") << QList<double>{1, 0} << QByteArray("0 g");
        QTest::newRow("none") << QList<double>{} << QByteArray("0 g");
        QTest::newRow("not a number") << QList<double>{std::nan("")} << QByteArray("0 g");
    }

    void textColour()
    {
        QFETCH(QList<double>, colour);
        QFETCH(QByteArray, colourOperator);

        WidgetLook look = textLook("AB");
        look.textColour = colour;
        QVERIFY(built(look).content.contains(QByteArray(" 10 Tf\n" + colourOperator + "\n1 0 0 1 ")));
    }

    void glyphCodes_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<QByteArray>("shown");
        QTest::addColumn<GlyphUse>("used");

        QTest::newRow("latin") << textLook("AB") << QByteArray("<00010002>") << GlyphUse{{1, U'A'}, {2, U'B'}};
        QTest::newRow("turkish") << textLook("Ağı İş") << QByteArray("<000100060007000400080009>")
                                 << GlyphUse{{1, U'A'}, {6, U'ğ'}, {7, U'ı'}, {4, U' '}, {8, U'İ'}, {9, U'ş'}};
        QTest::newRow("surrogate pair") << textLook(QString::fromUcs4(U"A\U0001F600")) << QByteArray("<0001000A>")
                                        << GlyphUse{{1, U'A'}, {10, 0x1F600}};
        QTest::newRow("lone high surrogate") << textLook(QString("A") + QChar(0xD800)) << QByteArray("<00010000>")
                                             << GlyphUse{{1, U'A'}, {0, 0xFFFD}};
        QTest::newRow("lone low surrogate") << textLook(QChar(0xDC00) + QString("B")) << QByteArray("<00000002>")
                                            << GlyphUse{{0, 0xFFFD}, {2, U'B'}};
        QTest::newRow("repeated glyph") << textLook("ABA") << QByteArray("<000100020001>")
                                        << GlyphUse{{1, U'A'}, {2, U'B'}};
        QTest::newRow("two letters without a glyph") << textLook("çö") << QByteArray("<00000000>")
                                                     << GlyphUse{{0, U'ç'}};
        QTest::newRow("empty") << textLook("") << QByteArray("<>") << GlyphUse{};
        WidgetLook combo = textLook("ğış");
        combo.kind = WidgetKind::Combo;
        combo.password = true;
        QTest::newRow("combo, password flag not its own") << combo << QByteArray("<000600070009>")
                                                          << GlyphUse{{6, U'ğ'}, {7, U'ı'}, {9, U'ş'}};
    }

    void glyphCodes()
    {
        QFETCH(WidgetLook, look);
        QFETCH(QByteArray, shown);
        QFETCH(GlyphUse, used);

        GlyphUse recorded;
        const AppearanceForm form = built(look, &recorded);
        const QList<ContentOp> tj = opsNamed(contentOps(form.content), "Tj");
        QCOMPARE(tj.size(), 1);
        QCOMPARE(tj[0].operands, QList<QByteArray>{shown});
        QVERIFY(recorded == used);
    }

    void firstCodePointStaysRecorded()
    {
        GlyphUse used{{1, U'Z'}};
        built(textLook("AB"), &used);
        QVERIFY((used == GlyphUse{{1, U'Z'}, {2, U'B'}}));
    }

    void frame_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<QByteArray>("frame");

        const WidgetLook plain = textLook("AB");
        QTest::newRow("none") << plain << QByteArray();
        WidgetLook look = plain;
        look.background = {0.9};
        QTest::newRow("gray background") << look << QByteArray("0.9 g\n0 0 100 20 re\nf\n");
        look.background = {1, 1, 0};
        look.borderWidth = 3;
        QTest::newRow("background, border without colour") << look << QByteArray("1 1 0 rg\n0 0 100 20 re\nf\n");
        look = plain;
        look.borderColour = {1, 0, 0};
        QTest::newRow("solid") << look << QByteArray("1 0 0 rg\n0 0 100 20 re\n1 1 98 18 re\nf*\n");
        look.borderColour = {0, 0, 0, 1};
        QTest::newRow("solid CMYK") << look << QByteArray("0 0 0 1 k\n0 0 100 20 re\n1 1 98 18 re\nf*\n");
        look.borderColour = {1, 0};
        QTest::newRow("border colour of two components") << look << QByteArray();
        look.borderColour = {0};
        look.borderWidth = 0;
        QTest::newRow("border width 0") << look << QByteArray();
        look.borderWidth = 2;
        look.background = {0.9};
        QTest::newRow("background and solid border")
            << look << QByteArray("0.9 g\n0 0 100 20 re\nf\n0 g\n0 0 100 20 re\n2 2 96 16 re\nf*\n");

        look = plain;
        look.borderColour = {1, 0, 0};
        look.borderStyle = BorderStyle::Dashed;
        look.dash = {2, 1};
        QTest::newRow("dashed") << look << QByteArray("1 0 0 RG\n1 w\n[2 1 ] 0 d\n0.5 0.5 99 19 re\nS\n");
        look.dash = {0, 0};
        QTest::newRow("dashes all zero") << look << QByteArray("1 0 0 RG\n1 w\n[3 ] 0 d\n0.5 0.5 99 19 re\nS\n");
        look.dash = {-1, 2};
        QTest::newRow("negative dash") << look << QByteArray("1 0 0 RG\n1 w\n[3 ] 0 d\n0.5 0.5 99 19 re\nS\n");
        look.dash = {};
        QTest::newRow("no dashes") << look << QByteArray("1 0 0 RG\n1 w\n[3 ] 0 d\n0.5 0.5 99 19 re\nS\n");
        look.dash = QList<double>(17, 1);
        QTest::newRow("too many dashes") << look << QByteArray("1 0 0 RG\n1 w\n[3 ] 0 d\n0.5 0.5 99 19 re\nS\n");

        look = plain;
        look.borderColour = {0, 0, 1};
        look.borderStyle = BorderStyle::Underline;
        QTest::newRow("underline") << look << QByteArray("0 0 1 rg\n0 0 100 1 re\nf\n");

        const QByteArray frame = "0 g\n0 0 100 20 re\n1 1 98 18 re\nf*\n";
        const QByteArray topLeft = "1 1 m\n1 19 l\n99 19 l\n98 18 l\n2 18 l\n2 2 l\nh f\n";
        const QByteArray bottomRight = "99 19 m\n99 1 l\n1 1 l\n2 2 l\n98 2 l\n98 18 l\nh f\n";
        look = plain;
        look.borderColour = {0};
        look.borderStyle = BorderStyle::Beveled;
        QTest::newRow("beveled without background") << look << frame + "1 g\n" + topLeft + "0.75 g\n" + bottomRight;
        look.background = {0.8};
        QTest::newRow("beveled on gray") << look << "0.8 g\n0 0 100 20 re\nf\n" + frame + "1 g\n" + topLeft
                + "0.6 g\n" + bottomRight;
        look.background = {1, 0.4, 0};
        QTest::newRow("beveled on RGB") << look << "1 0.4 0 rg\n0 0 100 20 re\nf\n" + frame + "1 g\n" + topLeft
                + "0.75 0.3 0 rg\n" + bottomRight;
        look.background = {0, 0, 0, 0.2};
        QTest::newRow("beveled on CMYK") << look << "0 0 0 0.2 k\n0 0 100 20 re\nf\n" + frame + "1 g\n" + topLeft
                + "0 0 0 0.4 k\n" + bottomRight;
        look.background = {};
        look.borderStyle = BorderStyle::Inset;
        QTest::newRow("inset") << look << frame + "0.5 g\n" + topLeft + "0.75 g\n" + bottomRight;
    }

    void frame()
    {
        QFETCH(WidgetLook, look);
        QFETCH(QByteArray, frame);

        const QByteArray content = built(look).content;
        const qsizetype textPart = content.indexOf("/Tx BMC\n");
        QVERIFY(textPart >= 0);
        QCOMPARE(content.left(textPart), frame);
    }

    void password_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<int>("stars");

        WidgetLook look = textLook("AB ğış");
        look.password = true;
        QTest::newRow("letters and a space") << look << 6;
        look.comb = true;
        look.maxLength = 20;
        QTest::newRow("comb flag not for passwords") << look << 6;
        look = textLook("AB\nAB");
        look.password = true;
        look.multiline = true;
        QTest::newRow("multiline flag not for passwords") << look << 5;
        look.text = QString::fromUcs4(U"A\U0001F600");
        QTest::newRow("one star per code point") << look << 2;
        look.text.clear();
        QTest::newRow("empty") << look << 0;
    }

    void password()
    {
        QFETCH(WidgetLook, look);
        QFETCH(int, stars);

        GlyphUse used;
        const QList<ContentOp> ops = contentOps(built(look, &used).content);
        QCOMPARE(opsNamed(ops, "Tm").size(), 1);
        QCOMPARE(shownTexts(ops), QStringList{QString(stars, '*')});
        QVERIFY(used == (stars > 0 ? GlyphUse{{5, U'*'}} : GlyphUse{}));
    }
};

QTEST_GUILESS_MAIN(AppearanceStreamTest)
#include "AppearanceStreamTest.moc"
