// Where generated appearances put their text: comb cells, quadding and
// vertical centring, automatic sizes, wrapped lines of multiline fields,
// list rows with the highlights of the chosen options, and the bounds on
// how much text is drawn. Measured with a hand-made font whose every
// advance is known, so each position is worked out by hand.

#include "AppearanceProbe.h"

#include <QTest>

using namespace velk;
using namespace velk::test;

Q_DECLARE_METATYPE(velk::WidgetLook)

class AppearanceTextLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void comb_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<QList<double>>("starts");
        QTest::addColumn<QStringList>("shown");

        WidgetLook look = textLook("ABC");
        look.comb = true;
        look.maxLength = 5;
        QTest::newRow("five cells") << look << QList<double>{7.5, 27.5, 47.5} << QStringList{"A", "B", "C"};
        look.maxLength = 2;
        QTest::newRow("beyond the length left out") << look << QList<double>{22.5, 72.5} << QStringList{"A", "B"};
        look.maxLength = 4;
        look.text = "AW";
        QTest::newRow("each glyph centred by its advance") << look << QList<double>{10, 32.5} << QStringList{"A", "W"};
        look.maxLength = 3;
        look.text = "AB";
        look.borderColour = {0};
        QTest::newRow("cells across the whole box") << look << QList<double>{14.1667, 47.5} << QStringList{"A", "B"};
        look = textLook("A\nB");
        look.comb = true;
        look.maxLength = 5;
        QTest::newRow("line break as a space") << look << QList<double>{7.5, 28.75, 47.5} << QStringList{"A", " ", "B"};
        look = textLook("AB");
        look.comb = true;
        QTest::newRow("no maximum length") << look << QList<double>{2} << QStringList{"AB"};
        look.maxLength = 5;
        look.multiline = true;
        QTest::newRow("multiline") << look << QList<double>{2} << QStringList{"AB"};
    }

    void comb()
    {
        QFETCH(WidgetLook, look);
        QFETCH(QList<double>, starts);
        QFETCH(QStringList, shown);

        const QList<ContentOp> ops = opsOf(look);
        QVERIFY2(nearly(startsOf(ops), starts), listed(startsOf(ops)).constData());
        QCOMPARE(shownTexts(ops), shown);
        if (!look.multiline)
            QCOMPARE(baselinesOf(ops), QList<double>(starts.size(), 7));
    }

    void quadding_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("baseline");

        WidgetLook look = textLook("AB");
        QTest::newRow("left") << look << 2.0 << 7.0;
        look.quadding = 1;
        QTest::newRow("centred") << look << 45.0 << 7.0;
        look.quadding = 2;
        QTest::newRow("right") << look << 88.0 << 7.0;
        look.quadding = 7;
        QTest::newRow("unknown quadding") << look << 2.0 << 7.0;
        look.quadding = 2;
        look.text = QString(25, 'A');
        QTest::newRow("too wide: its start shows") << look << 2.0 << 7.0;
        look.text = "AB";
        look.borderColour = {0};
        look.borderWidth = 2;
        QTest::newRow("right inside a border") << look << 85.0 << 7.0;
        look = textLook("AB", 100, 30);
        QTest::newRow("taller box") << look << 2.0 << 12.0;
        look = textLook("ğış");
        look.kind = WidgetKind::Combo;
        look.quadding = 1;
        QTest::newRow("combo centred") << look << 42.5 << 7.0;
    }

    void quadding()
    {
        QFETCH(WidgetLook, look);
        QFETCH(double, start);
        QFETCH(double, baseline);

        const QList<ContentOp> ops = opsOf(look);
        QCOMPARE(startsOf(ops), QList<double>{start});
        QCOMPARE(baselinesOf(ops), QList<double>{baseline});
    }

    void autoSize_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<double>("size");

        QTest::newRow("capped") << textLook("AB", 100, 20, 0) << 12.0;
        QTest::newRow("fits the height") << textLook("AB", 100, 10, 0) << 8.0;
        QTest::newRow("never below 4") << textLook("AB", 100, 5, 0) << 4.0;
        QTest::newRow("shrunk to the width") << textLook(QString(40, 'A'), 100, 20, 0) << 4.8;
        QTest::newRow("shrunk, at least 4") << textLook(QString(100, 'A'), 100, 20, 0) << 4.0;
        QTest::newRow("negative reads as auto") << textLook("AB", 100, 20, -5) << 12.0;
        QTest::newRow("not a number reads as auto") << textLook("AB", 100, 20, std::nan("")) << 12.0;
        QTest::newRow("written size kept") << textLook("AB", 100, 20, 30) << 30.0;
        QTest::newRow("written size bounded") << textLook("AB", 100, 20, 5000) << 1000.0;
        WidgetLook look = textLook("AB", 100, 16, 0);
        look.borderColour = {0};
        look.borderWidth = 2;
        QTest::newRow("inside a border") << look << 8.0;
        look = textLook("AB", 100, 14, 0);
        look.kind = WidgetKind::Combo;
        QTest::newRow("combo") << look << 12.0;
        look = textLook("W", 50, 20, 0);
        look.comb = true;
        look.maxLength = 10;
        QTest::newRow("comb: widest glyph fits a cell") << look << 5.0;
        look = listLook({"A"}, {}, 0, 100);
        look.fontSize = 0;
        QTest::newRow("list") << look << 12.0;
    }

    void autoSize()
    {
        QFETCH(WidgetLook, look);
        QFETCH(double, size);

        QCOMPARE(fontSizeOf(opsOf(look)), size);
    }

    void multiline_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<double>>("starts");

        // 38 points of text width: 3,800 thousandths at 10 points.
        const auto multiline = [](const QString& text, int quadding = 0) {
            WidgetLook look = textLook(text, 42, 100);
            look.multiline = true;
            look.quadding = quadding;
            return look;
        };
        QTest::newRow("each line break") << multiline("A\nB\r\nC\rAB") << QStringList{"A", "B", "C", "AB"}
                                         << QList<double>(4, 2);
        QTest::newRow("empty line kept") << multiline("A\n\nB") << QStringList{"A", "", "B"} << QList<double>(3, 2);
        QTest::newRow("trailing break") << multiline("A\n") << QStringList{"A", ""} << QList<double>(2, 2);
        QTest::newRow("empty") << multiline("") << QStringList{""} << QList<double>{2};
        QTest::newRow("wrapped at a space") << multiline("AB AB AB AB") << QStringList{"AB AB AB", "AB"}
                                            << QList<double>(2, 2);
        QTest::newRow("long word between characters") << multiline(QString(10, 'A'))
                                                      << QStringList{"AAAAAAA", "AAA"} << QList<double>(2, 2);
        QTest::newRow("long word after a short one") << multiline("AB " + QString(10, 'A'))
                                                     << QStringList{"AB", "AAAAAAA", "AAA"} << QList<double>(3, 2);
        QTest::newRow("spaces kept") << multiline("  A") << QStringList{"  A"} << QList<double>{2};
        QTest::newRow("double space kept") << multiline("AB  AB") << QStringList{"AB  AB"} << QList<double>{2};
        QTest::newRow("right per line") << multiline("AB\nABAB", 2) << QStringList{"AB", "ABAB"}
                                        << QList<double>{30, 20};
        QTest::newRow("centred per line") << multiline("AB\nABAB", 1) << QStringList{"AB", "ABAB"}
                                          << QList<double>{16, 11};
    }

    void multiline()
    {
        QFETCH(WidgetLook, look);
        QFETCH(QStringList, lines);
        QFETCH(QList<double>, starts);

        const QList<ContentOp> ops = opsOf(look);
        QCOMPARE(shownTexts(ops), lines);
        QCOMPARE(startsOf(ops), starts);
        // From the top of the clip box (99) down, one size apart.
        QList<double> baselines;
        for (qsizetype i = 0; i < lines.size(); ++i)
            baselines.append(91 - 10 * double(i));
        QCOMPARE(baselinesOf(ops), baselines);
    }

    void multilineAutoSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("lines");

        const auto lines = [](int count) { return QStringList(count, "A").join('\n'); };
        QTest::newRow("few lines at 12") << lines(3) << 12.0 << 3;
        QTest::newRow("shrunk until all fit") << lines(20) << 4.5 << 20;
        QTest::newRow("at least 4, lines below left out") << lines(100) << 4.0 << 25;
        QTest::newRow("wrapped at 12") << QString("AB AB AB AB AB AB AB AB") << 12.0 << 4;
    }

    void multilineAutoSize()
    {
        QFETCH(QString, text);
        QFETCH(double, size);
        QFETCH(int, lines);

        WidgetLook look = textLook(text, 42, 100, 0);
        look.multiline = true;
        const QList<ContentOp> ops = opsOf(look);
        QCOMPARE(fontSizeOf(ops), size);
        QCOMPARE(opsNamed(ops, "Tm").size(), lines);
    }

    void listRows_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<QList<double>>>("highlights");

        const QStringList options{"A", "B", "C", "ı", "ş"};
        QTest::newRow("from the top, two chosen") << listLook(options, {1, 3}, 0, 52) << options
                                                  << QList<QList<double>>{{1, 31, 98, 10}, {1, 11, 98, 10}};
        QTest::newRow("from the third") << listLook(options, {1, 3}, 2, 52) << QStringList{"C", "ı", "ş"}
                                        << QList<QList<double>>{{1, 31, 98, 10}};
        QTest::newRow("nothing chosen") << listLook(options, {}, 0, 52) << options << QList<QList<double>>{};
        QTest::newRow("negative top index") << listLook(options, {0}, -5, 52) << options
                                            << QList<QList<double>>{{1, 41, 98, 10}};
        QTest::newRow("top index past the end") << listLook(options, {4}, 99, 52) << QStringList{"ş"}
                                                << QList<QList<double>>{{1, 41, 98, 10}};
        QTest::newRow("rows below the box left out") << listLook(options, {4}, 0, 30) << QStringList{"A", "B", "C"}
                                                     << QList<QList<double>>{};
        QTest::newRow("chosen indices out of range") << listLook(options, {-1, 7}, 0, 52) << options
                                                     << QList<QList<double>>{};
        QTest::newRow("no options") << listLook({}, {0}, 0, 52) << QStringList{} << QList<QList<double>>{};
        QTest::newRow("line break in an option") << listLook({"A\nB", "C"}, {1}, 0, 52) << QStringList{"A B", "C"}
                                                 << QList<QList<double>>{{1, 31, 98, 10}};
        WidgetLook bordered = listLook(options, {0}, 0, 52);
        bordered.borderColour = {0};
        QTest::newRow("inside a border") << bordered << options << QList<QList<double>>{{2, 40, 96, 10}};
    }

    void listRows()
    {
        QFETCH(WidgetLook, look);
        QFETCH(QStringList, shown);
        QFETCH(QList<QList<double>>, highlights);

        const QByteArray content = built(look).content;
        const QList<ContentOp> ops = contentOps(content);
        QCOMPARE(shownTexts(ops), shown);
        // Bands inside the clip, behind the text.
        QCOMPARE(rectanglesBetween(ops, "n", "BT"), highlights);
        QCOMPARE(content.contains("0.6 0.75 0.85 rg\n"), !highlights.isEmpty());
        const double top = look.height - (look.borderColour.isEmpty() ? 1 : 2);
        QList<double> baselines;
        for (qsizetype row = 0; row < shown.size(); ++row)
            baselines.append(top - 8 - 10 * double(row));
        QCOMPARE(baselinesOf(ops), baselines);
    }

    void boundedText_data()
    {
        QTest::addColumn<WidgetLook>("look");
        QTest::addColumn<int>("glyphs");
        QTest::addColumn<int>("lines");

        QTest::newRow("single line") << textLook(QString(20000, 'A')) << 10000 << 1;
        QTest::newRow("pair cut at the bound") << textLook(QString(9999, 'A') + QString::fromUcs4(U"\U0001F600"))
                                               << 10000 << 1;
        WidgetLook look = textLook(QString(20000, 'A'));
        look.password = true;
        QTest::newRow("password") << look << 10000 << 1;
        look = textLook(QStringList(5000, "A").join('\n'), 100, 2000, 1);
        look.multiline = true;
        QTest::newRow("wrapped lines") << look << 1000 << 1000;
        look = listLook(QStringList(300, "A"), {}, 0, 4000);
        QTest::newRow("options") << look << 256 << 256;
    }

    void boundedText()
    {
        QFETCH(WidgetLook, look);
        QFETCH(int, glyphs);
        QFETCH(int, lines);

        const QList<ContentOp> ops = opsOf(look);
        QCOMPARE(opsNamed(ops, "Tm").size(), lines);
        qsizetype drawn = 0;
        for (const ContentOp& op : opsNamed(ops, "Tj"))
            drawn += hexGlyphs(op.operands.value(0)).size();
        QCOMPARE(drawn, qsizetype(glyphs));
    }
};

QTEST_GUILESS_MAIN(AppearanceTextLayoutTest)
#include "AppearanceTextLayoutTest.moc"
