// The texts that make Roboto Bold a Type0 (Identity-H) font: the /W array,
// the ToUnicode CMap and the font descriptor. Beyond their exact form, a
// page written by hand with them shows Turkish text that poppler extracts
// letter for letter and that qpdf finds sound.

#include "edit/EmbeddedFont.h"
#include "workers/pdf/edit/IndependentJudges.h"
#include "support/PdfFixtures.h"
#include "forms/appearance/TrueTypeFont.h"
#include "forms/appearance/UnicodeFontParts.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

QByteArray hexGlyphs(const TrueTypeFont& font, const QString& text, GlyphUse& used)
{
    QByteArray hex;
    for (const char32_t c : text.toUcs4()) {
        const quint16 glyph = font.glyphFor(c);
        used.emplace(glyph, c);
        hex += QByteArray::number(glyph, 16).rightJustified(4, '0');
    }
    return '<' + hex + '>';
}

QByteArray stream(const QByteArray& entries, const QByteArray& data)
{
    return "<< /Length " + QByteArray::number(data.size()) + entries + " >>\nstream\n" + data + "\nendstream";
}

// One page drawing the text in the embedded font, every object by hand.
QByteArray pageInEmbeddedFont(const TrueTypeFont& font, const QString& text)
{
    GlyphUse used;
    const QByteArray content = "BT /F1 24 Tf 20 40 Td " + hexGlyphs(font, text, used) + " Tj ET";
    QByteArray descriptor = UnicodeFontParts::fontDescriptor(font);
    descriptor.chop(2);
    descriptor += "/FontFile2 9 0 R >>";
    const QByteArray baseFont = " /BaseFont /" + font.postScriptName();
    return test::pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 400 100] /Resources << /Font << /F1 5 0 R >> >> "
        "/Contents 4 0 R >>",
        stream({}, content),
        "<< /Type /Font /Subtype /Type0" + baseFont
            + " /Encoding /Identity-H /DescendantFonts [6 0 R] /ToUnicode 7 0 R >>",
        "<< /Type /Font /Subtype /CIDFontType2" + baseFont
            + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor 8 0 R"
              " /CIDToGIDMap /Identity /W "
            + UnicodeFontParts::widths(font, used) + " >>",
        stream({}, UnicodeFontParts::toUnicodeCMap(used)),
        descriptor,
        stream(" /Length1 " + QByteArray::number(font.data().size()), font.data()),
    });
}

} // namespace

class UnicodeFontPartsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_font = TrueTypeFont::parse(EmbeddedFont::read());
        QVERIFY(m_font);
    }

    void widthsGroupRunsAndRound_data()
    {
        // Roboto Bold advances: glyph 3 249.02, 37 895.02, 38 673.34,
        // 39 638.18, 40 654.79, 100 282.71, 101 575.68, 102 594.73; the
        // last glyph (3358) repeats 3357's 273.93; the missing glyph 0 is 442.87.
        QTest::addColumn<QList<int>>("glyphs");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("none") << QList<int>{} << QByteArray("[]");
        QTest::newRow("one glyph") << QList<int>{3} << QByteArray("[3 [249]]");
        QTest::newRow("one run") << QList<int>{40, 37, 39, 38} << QByteArray("[37 [895 673 638 655]]");
        QTest::newRow("three runs") << QList<int>{102, 3, 37, 101, 38, 100}
                                    << QByteArray("[3 [249] 37 [895 673] 100 [283 576 595]]");
        QTest::newRow("last glyph") << QList<int>{3357, 3358} << QByteArray("[3357 [274 274]]");
        QTest::newRow("missing glyph, glyph outside the font")
            << QList<int>{0, 5000} << QByteArray("[0 [443] 5000 [0]]");
    }

    void widthsGroupRunsAndRound()
    {
        QFETCH(QList<int>, glyphs);
        QFETCH(QByteArray, expected);
        GlyphUse used;
        for (const int glyph : glyphs)
            used.emplace(quint16(glyph), U'x');
        QCOMPARE(UnicodeFontParts::widths(*m_font, used), expected);
    }

    void cmapMapsEachGlyphToItsText()
    {
        const GlyphUse used{{38, U'A'}, {2337, U'ğ'}, {2352, U'İ'}, {3000, U'\U0001F600'}, {3001, char32_t(0xD800)}};
        const QByteArray cmap = UnicodeFontParts::toUnicodeCMap(used);
        QVERIFY(cmap.startsWith("/CIDInit /ProcSet findresource begin\n"));
        QVERIFY(cmap.contains("/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"));
        QVERIFY(cmap.contains("1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"));
        // A lone surrogate has no UTF-16 form and is left out.
        QVERIFY(cmap.contains("4 beginbfchar\n<0026> <0041>\n<0921> <011F>\n<0930> <0130>\n<0BB8> <D83DDE00>\n"
                              "endbfchar\n"));
        QVERIFY(cmap.endsWith("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n"));
    }

    void cmapSplitsLongListsIntoBlocks()
    {
        GlyphUse used;
        for (int i = 0; i < 250; ++i)
            used.emplace(quint16(100 + i), char32_t(0x400 + i));
        const QByteArray cmap = UnicodeFontParts::toUnicodeCMap(used);
        const QRegularExpression block(
            QStringLiteral("(\\d+) beginbfchar\n((?:<[0-9A-F]{4}> <[0-9A-F]{4}>\n)*)endbfchar"));
        QList<int> sizes;
        int entries = 0;
        for (const QRegularExpressionMatch& match : block.globalMatch(QString::fromLatin1(cmap))) {
            sizes << match.captured(1).toInt();
            entries += int(match.captured(2).count(u'\n'));
        }
        QCOMPARE(sizes, (QList<int>{100, 100, 50}));
        QCOMPARE(entries, 250);
        QVERIFY(cmap.contains("<0064> <0400>\n"));
        QVERIFY(cmap.contains("<015D> <04F9>\n"));
    }

    void descriptorCarriesTheFontsValues()
    {
        QCOMPARE(UnicodeFontParts::fontDescriptor(*m_font),
                 QByteArray("<< /Type /FontDescriptor /FontName /Roboto-Bold /Flags 32"
                            " /FontBBox [-913.0859 -270.9961 2060.5469 1056.1523] /ItalicAngle 0"
                            " /Ascent 927.7344 /Descent -244.1406 /CapHeight 710.9375 /StemV 80 >>"));
    }

    void readersExtractTheTurkishTextDrawn()
    {
        const QString text = QStringLiteral("Çağrı İşık");
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString path = directory.filePath(QStringLiteral("turkish.pdf"));
        QFile file(path);
        const QByteArray pdf = pageInEmbeddedFont(*m_font, text);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
        file.close();
        QVERIFY(test::qpdfAccepts(path));
        QCOMPARE(test::popplerText(path, 0), text);
    }

private:
    std::optional<TrueTypeFont> m_font;
};

QTEST_GUILESS_MAIN(UnicodeFontPartsTest)
#include "UnicodeFontPartsTest.moc"
