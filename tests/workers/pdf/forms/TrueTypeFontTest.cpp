// The reader of the embedded font: against the real Roboto Bold it finds
// every Turkish letter's glyph, the advances and the vertical metrics; and
// copies of the file damaged at each structure it reads are refused whole,
// without a crash.

#include "edit/EmbeddedFont.h"
#include "forms/appearance/TrueTypeFont.h"

#include <QSet>
#include <QTest>

using namespace velk;

namespace {

// Roboto Bold's own numbers: 2,048 units per em, 3,359 glyphs of which the
// last takes the advance of the 3,358th full metric.
constexpr int kRobotoGlyphs = 3359;
constexpr double kEmScale = 1000.0 / 2048;

quint32 u32At(const QByteArray& data, qsizetype at)
{
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = (value << 8) | quint8(data.at(at + i));
    return value;
}

quint16 u16At(const QByteArray& data, qsizetype at)
{
    return quint16(quint8(data.at(at)) << 8 | quint8(data.at(at + 1)));
}

QByteArray withU16(QByteArray data, qsizetype at, quint16 value)
{
    data[at] = char(value >> 8);
    data[at + 1] = char(value);
    return data;
}

QByteArray withU32(QByteArray data, qsizetype at, quint32 value)
{
    return withU16(withU16(data, at, quint16(value >> 16)), at + 2, quint16(value));
}

// Where the table directory's record of the tag starts; -1 when absent.
qsizetype directoryRecord(const QByteArray& font, const QByteArray& tag)
{
    for (qsizetype i = 0; i < u16At(font, 4); ++i) {
        if (font.mid(12 + 16 * i, 4) == tag)
            return 12 + 16 * i;
    }
    return -1;
}

qsizetype tableOffset(const QByteArray& font, const QByteArray& tag)
{
    return u32At(font, directoryRecord(font, tag) + 8);
}

// The cmap encoding record for the platform and encoding; -1 when absent.
qsizetype cmapRecord(const QByteArray& font, quint16 platform, quint16 encoding)
{
    const qsizetype cmap = tableOffset(font, "cmap");
    for (qsizetype i = 0; i < u16At(font, cmap + 2); ++i) {
        const qsizetype record = cmap + 4 + 8 * i;
        if (u16At(font, record) == platform && u16At(font, record + 2) == encoding)
            return record;
    }
    return -1;
}

qsizetype cmapSubtable(const QByteArray& font, quint16 platform, quint16 encoding)
{
    return tableOffset(font, "cmap") + u32At(font, cmapRecord(font, platform, encoding) + 4);
}

// The font with its format 12 subtables hidden behind an unused platform
// (2, ISO), so that a format 4 subtable is the one read.
QByteArray withoutFormat12(const QByteArray& font)
{
    return withU16(withU16(font, cmapRecord(font, 3, 10), 2), cmapRecord(font, 0, 4), 2);
}

// Only the platform 0 subtables remain Unicode ones.
QByteArray onlyUnicodePlatformFormat4(const QByteArray& font)
{
    return withU16(withoutFormat12(font), cmapRecord(font, 3, 1), 2);
}

QByteArray withEveryCmapPlatform(QByteArray font, quint16 platform)
{
    const qsizetype cmap = tableOffset(font, "cmap");
    for (qsizetype i = 0; i < u16At(font, cmap + 2); ++i)
        font = withU16(font, cmap + 4 + 8 * i, platform);
    return font;
}

const QString kTurkishSample = QStringLiteral("AÇağrıİşŞkW");

} // namespace

class TrueTypeFontTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_roboto = EmbeddedFont::read();
        QVERIFY(!m_roboto.isEmpty());
    }

    void findsTheTurkishLettersGlyphs_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("format 12 (Windows UCS-4)") << m_roboto;
        QTest::newRow("format 4 (Windows BMP)") << withoutFormat12(m_roboto);
        QTest::newRow("format 4 (Unicode platform)") << onlyUnicodePlatformFormat4(m_roboto);
    }

    void findsTheTurkishLettersGlyphs()
    {
        QFETCH(QByteArray, data);
        const std::optional<TrueTypeFont> font = TrueTypeFont::parse(data);
        QVERIFY(font);
        QSet<quint16> seen;
        for (const QChar c : kTurkishSample) {
            const quint16 glyph = font->glyphFor(c.unicode());
            QVERIFY2(glyph != 0 && glyph < kRobotoGlyphs, qPrintable(QString(c)));
            seen << glyph;
        }
        QCOMPARE(seen.size(), kTurkishSample.size());
        // Values known from the file itself.
        QCOMPARE(font->glyphFor(U'A'), quint16(38));
        QCOMPARE(font->glyphFor(U'ğ'), quint16(2337));
        QCOMPARE(font->glyphFor(U'ı'), quint16(142));
        QCOMPARE(font->glyphFor(U'İ'), quint16(2352));
        QCOMPARE(font->glyphFor(U'\u4E00'), quint16(0));
        QCOMPARE(font->glyphFor(U'\U0001F600'), quint16(0));
        QCOMPARE(font->glyphFor(char32_t(0x110000)), quint16(0));
    }

    void readsMetricsInThousandthsOfAnEm()
    {
        const std::optional<TrueTypeFont> font = TrueTypeFont::parse(m_roboto);
        QVERIFY(font);
        QCOMPARE(font->glyphCount(), kRobotoGlyphs);
        QCOMPARE(font->advance(font->glyphFor(U'A')), 1379 * kEmScale);
        QVERIFY(font->advance(font->glyphFor(U' ')) < font->advance(font->glyphFor(U'W')));
        QCOMPARE(font->advance(kRobotoGlyphs - 1), font->advance(kRobotoGlyphs - 2));
        QCOMPARE(font->advance(kRobotoGlyphs - 1), 561 * kEmScale);
        QCOMPARE(font->advance(kRobotoGlyphs), 0.0);
        QCOMPARE(font->ascent(), 1900 * kEmScale);
        QCOMPARE(font->descent(), -500 * kEmScale);
        QVERIFY(font->ascent() > 0 && font->descent() < 0);
        QCOMPARE(font->capHeight(), 1456 * kEmScale);
        QCOMPARE(font->italicAngle(), 0.0);
        const std::array<double, 4> box{-1870 * kEmScale, -555 * kEmScale, 4220 * kEmScale, 2163 * kEmScale};
        QCOMPARE(font->boundingBox(), box);
        QCOMPARE(font->postScriptName(), QByteArray("Roboto-Bold"));
        QCOMPARE(font->data(), m_roboto);
    }

    void fallsBackWhenOptionalValuesAreAbsent()
    {
        // OS/2 version 1 has no cap height; a name table without ID 6 no
        // PostScript name.
        QByteArray data = withU16(m_roboto, tableOffset(m_roboto, "OS/2"), 1);
        const qsizetype name = tableOffset(data, "name");
        for (qsizetype i = 0; i < u16At(data, name + 2); ++i) {
            const qsizetype record = name + 6 + 12 * i;
            if (u16At(data, record + 6) == 6)
                data = withU16(data, record + 6, 7);
        }
        const std::optional<TrueTypeFont> font = TrueTypeFont::parse(data);
        QVERIFY(font);
        QCOMPARE(font->capHeight(), font->ascent() * 0.7);
        QCOMPARE(font->postScriptName(), QByteArray("VelkUnicodeFont"));
    }

    void readsAppleVersionTagAndSignedItalicAngle()
    {
        QByteArray data = withU32(m_roboto, 0, 0x74727565); // 'true'
        data = withU32(data, tableOffset(data, "post") + 4, quint32(qint32(-12.5 * 65536)));
        const std::optional<TrueTypeFont> font = TrueTypeFont::parse(data);
        QVERIFY(font);
        QCOMPARE(font->italicAngle(), -12.5);
        QCOMPARE(font->glyphFor(U'ş'), quint16(2391));
    }

    void refusesDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray& f = m_roboto;
        const qsizetype cmap = tableOffset(f, "cmap");
        const qsizetype format12 = cmapSubtable(f, 3, 10);
        const qsizetype format4 = cmapSubtable(f, 3, 1);
        const qsizetype head = tableOffset(f, "head");
        const qsizetype hhea = tableOffset(f, "hhea");
        const qsizetype maxp = tableOffset(f, "maxp");
        const qsizetype name = tableOffset(f, "name");

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a font") << QByteArray("%PDF-1.7\n").repeated(100);
        QTest::newRow("CFF outlines") << withU32(f, 0, 0x4F54544F);
        QTest::newRow("cut in header") << f.left(10);
        QTest::newRow("cut in table directory") << f.left(12 + 16 * 6);
        QTest::newRow("cut in hmtx") << f.left(tableOffset(f, "hmtx") + 100);
        QTest::newRow("cut in cmap") << f.left(cmap + 1000);
        QTest::newRow("no tables") << withU16(f, 4, 0);
        QTest::newRow("too many tables") << withU16(f, 4, 300);
        QTest::newRow("table past the end") << withU32(f, directoryRecord(f, "glyf") + 8, quint32(f.size() - 16));
        QTest::newRow("table offset wraps") << withU32(f, directoryRecord(f, "post") + 8, 0xFFFFFFF0);
        QTest::newRow("table length wraps") << withU32(f, directoryRecord(f, "post") + 12, 0xFFFFFFFF);
        QTest::newRow("cmap table too short for its subtables") << withU32(f, directoryRecord(f, "cmap") + 12, 40);
        QTest::newRow("head without magic") << withU32(f, head + 12, 0);
        QTest::newRow("unitsPerEm 0") << withU16(f, head + 18, 0);
        QTest::newRow("unitsPerEm too large") << withU16(f, head + 18, 20000);
        QTest::newRow("no glyphs") << withU16(f, maxp + 4, 0);
        QTest::newRow("numberOfHMetrics 0") << withU16(f, hhea + 34, 0);
        QTest::newRow("numberOfHMetrics above numGlyphs") << withU16(f, hhea + 34, kRobotoGlyphs + 1);
        QTest::newRow("hmtx too short") << withU32(f, directoryRecord(f, "hmtx") + 12, 100);
        QTest::newRow("cmap without Unicode subtable") << withEveryCmapPlatform(f, 1);
        QTest::newRow("cmap subtable past the table") << withU32(f, cmapRecord(f, 3, 10) + 4, 0x7FFFFFFF);
        QTest::newRow("format 12 huge group count") << withU32(f, format12 + 12, 0x7FFFFFFF);
        QTest::newRow("format 12 groups past the table") << withU32(f, format12 + 12, 5000);
        QTest::newRow("format 12 range beyond Unicode") << withU32(f, format12 + 20, 0x110000);
        QTest::newRow("format 12 reversed range") << withU32(f, format12 + 16, 0xFFFF);
        QTest::newRow("format 4 huge segment count") << withU16(withoutFormat12(f), format4 + 6, 0xFFFE);
        QTest::newRow("format 4 odd segment count") << withU16(withoutFormat12(f), format4 + 6, 7);
        QTest::newRow("format 4 range offset past the table")
            << withU16(withoutFormat12(f), format4 + 16 + 6 * (u16At(f, format4 + 6) / 2), 0xFFF0);
        QTest::newRow("name string past the table") << withU16(f, name + 6 + 8, 0xFFFF);
        QTest::newRow("OS/2 too short for its version") << withU32(f, directoryRecord(f, "OS/2") + 12, 40);
        QTest::newRow("post too short") << withU32(f, directoryRecord(f, "post") + 12, 6);
    }

    void refusesDamagedFiles()
    {
        QFETCH(QByteArray, data);
        QVERIFY(!TrueTypeFont::parse(data));
    }

private:
    QByteArray m_roboto;
};

QTEST_GUILESS_MAIN(TrueTypeFontTest)
#include "TrueTypeFontTest.moc"
