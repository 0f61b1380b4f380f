// Default appearance strings read for the size and colour a generated
// appearance keeps: the last Tf and the last colour operator win, operators
// with the wrong operands are skipped, strings, arrays, dictionaries and
// comments never disturb the reading, and oversized strings read as the
// defaults.

#include "forms/appearance/DefaultAppearance.h"

#include <QTest>

using namespace velk;

class DefaultAppearanceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("size");
        QTest::addColumn<QList<double>>("colour");

        const QList<double> black{0};
        QTest::newRow("empty") << QByteArray() << 0.0 << black;
        QTest::newRow("only spaces") << QByteArray(" \r\n\t ") << 0.0 << black;
        QTest::newRow("auto size, gray") << QByteArray("/Helv 0 Tf 0 g") << 0.0 << black;
        QTest::newRow("size and RGB") << QByteArray("/Helv 12 Tf 0 0 1 rg") << 12.0 << QList<double>{0, 0, 1};
        QTest::newRow("fractional size") << QByteArray("/F1 9.5 Tf") << 9.5 << black;
        QTest::newRow("leading point and sign") << QByteArray("/F1 +.5 Tf -.0 g") << 0.5 << QList<double>{0};
        QTest::newRow("last Tf wins") << QByteArray("/Helv 9 Tf /Cour 14.5 Tf") << 14.5 << black;
        QTest::newRow("last Tf auto wins") << QByteArray("/Helv 9 Tf /Helv 0 Tf") << 0.0 << black;
        QTest::newRow("last colour wins") << QByteArray("0.2 0.4 0.6 rg /Helv 8 Tf 0.3 g") << 8.0
                                          << QList<double>{0.3};
        QTest::newRow("CMYK") << QByteArray("/Helv 10 Tf 0 0.5 0 1 k") << 10.0 << QList<double>{0, 0.5, 0, 1};
        QTest::newRow("RGB with two operands") << QByteArray("1 0 rg") << 0.0 << black;
        QTest::newRow("gray with two operands") << QByteArray("0.5 g 1 0 g") << 0.0 << QList<double>{0.5};
        QTest::newRow("CMYK with three operands") << QByteArray("0.5 g 0 0 1 k") << 0.0 << QList<double>{0.5};
        QTest::newRow("RGB with four operands") << QByteArray("1 0 0 1 rg") << 0.0 << black;
        QTest::newRow("out of range clamped") << QByteArray("2 -1 0.5 rg") << 0.0 << QList<double>{1, 0, 0.5};
        QTest::newRow("negative size") << QByteArray("/Helv -3 Tf") << 0.0 << black;
        QTest::newRow("size without font name") << QByteArray("/Helv 9 Tf 12 Tf") << 9.0 << black;
        QTest::newRow("size as a string") << QByteArray("/Helv 9 Tf /Helv (12) Tf") << 9.0 << black;
        QTest::newRow("font name glued to size") << QByteArray("/Helv12 Tf") << 0.0 << black;
        QTest::newRow("operator glued to size") << QByteArray("/Helv 12Tf ET 1 g") << 0.0 << QList<double>{1};
        QTest::newRow("extra operand before Tf") << QByteArray("/Helv 9 Tf 1 /Helv 12 Tf") << 9.0 << black;
        QTest::newRow("exponent is no number") << QByteArray("/Helv 1e3 Tf 1 1 1 rg") << 0.0
                                               << QList<double>{1, 1, 1};
        QTest::newRow("two points is no number") << QByteArray("1.2.3 g") << 0.0 << black;
        QTest::newRow("stroke colour ignored") << QByteArray("1 0 0 RG 0.5 G /Helv 7 Tf") << 7.0 << black;
        QTest::newRow("operators inside a string")
            << QByteArray("(12 Tf 1 0 0 rg) Tj /Helv 8 Tf 0 1 0 rg") << 8.0 << QList<double>{0, 1, 0};
        QTest::newRow("escaped and nested parentheses")
            << QByteArray("(a\\) (b [ ] 30 Tf) c) Tj /Helv 7 Tf") << 7.0 << black;
        QTest::newRow("array before") << QByteArray("[3 1] 0 d /Helv 10 Tf") << 10.0 << black;
        QTest::newRow("array as operand") << QByteArray("/Helv 10 Tf [1] g") << 10.0 << black;
        QTest::newRow("string inside an array")
            << QByteArray("[(]) 5 Tf] TJ /Helv 6 Tf") << 6.0 << black;
        QTest::newRow("dictionary") << QByteArray("/Tx << /A 1 /B (x) >> BDC /Helv 6 Tf EMC") << 6.0 << black;
        QTest::newRow("hex string") << QByteArray("<48656C> Tj /Helv 5 Tf") << 5.0 << black;
        QTest::newRow("comment") << QByteArray("% 20 Tf 1 g\n/Helv 11 Tf") << 11.0 << black;
        QTest::newRow("unterminated string") << QByteArray("/Helv 9 Tf 1 g (abc 20 Tf") << 9.0
                                             << QList<double>{1};
        QTest::newRow("unterminated array") << QByteArray("/Helv 9 Tf [1 2 20 Tf") << 9.0 << black;
        QTest::newRow("stray closers") << QByteArray(") ] > } ET /Helv 9 Tf") << 9.0 << black;
        QTest::newRow("stray closers as operands") << QByteArray("/Helv 9 Tf ) 1 g") << 9.0 << black;
        QTest::newRow("binary garbage") << QByteArray("\x01\xff\x80 Tf\x00 g", 11) << 0.0 << black;
        QTest::newRow("delimiters without space") << QByteArray("/Helv 9 Tf(x)Tj/F 4 Tf") << 4.0 << black;
        const QByteArray huge = "1" + QByteArray(400, '0');
        QTest::newRow("infinite size") << "/Helv 9 Tf /Helv " + huge + " Tf" << 0.0 << black;
        QTest::newRow("infinite colour component") << "0.5 g " + huge + " 0 0 rg" << 0.0 << QList<double>{0.5};

        const QByteArray fitting = "/Helv 12 Tf 0 0 1 rg";
        QTest::newRow("4,096 bytes") << fitting + QByteArray(4096 - fitting.size(), ' ') << 12.0
                                     << QList<double>{0, 0, 1};
        QTest::newRow("4,097 bytes") << fitting + QByteArray(4097 - fitting.size(), ' ') << 0.0 << black;
    }

    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, size);
        QFETCH(QList<double>, colour);

        const DefaultAppearance appearance = DefaultAppearance::parse(text);
        QCOMPARE(appearance.fontSize, size);
        QCOMPARE(appearance.textColour, colour);
    }
};

QTEST_GUILESS_MAIN(DefaultAppearanceTest)
#include "DefaultAppearanceTest.moc"
