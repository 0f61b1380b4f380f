// Case-ignoring search for Turkish readers: a query matches under the
// default Unicode rules (simple case folding, what QString's
// case-insensitive search does) or under the Turkish ones (I with ı, İ with
// i), never by mixing the two inside one match. Positions are those of the
// page's own text, so both foldings must keep every UTF-16 length.

#include "inspection/TextMatch.h"

#include <QTest>

using namespace velk;

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class TurkishTextMatchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstPosition_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("query");
        QTest::addColumn<qsizetype>("position");

        // Case as the default rules ignore it.
        QTest::newRow("same case") << u("Velk PDF") << u("PDF") << qsizetype(5);
        QTest::newRow("PDF finds pdf") << u("bir pdf dosyası") << u("PDF") << qsizetype(4);
        QTest::newRow("info finds INFO") << u("SEE INFO") << u("info") << qsizetype(4);
        QTest::newRow("DIZI finds dizi (default rules)") << u("Bir dizi") << u("DIZI") << qsizetype(4);
        QTest::newRow("first of several hits") << u("pdf PDF Pdf") << u("pDf") << qsizetype(0);

        // The Turkish rules.
        QTest::newRow("istanbul finds İstanbul") << u("Şehir: İstanbul") << u("istanbul") << qsizetype(7);
        QTest::newRow("İSTANBUL finds istanbul") << u("istanbul") << u("İSTANBUL") << qsizetype(0);
        QTest::newRow("ığdır finds Iğdır") << u("Iğdır ili") << u("ığdır") << qsizetype(0);
        QTest::newRow("IĞDIR finds ığdır") << u("il: ığdır") << u("IĞDIR") << qsizetype(4);
        QTest::newRow("ŞANLIURFA finds Şanlıurfa") << u("Şanlıurfa") << u("ŞANLIURFA") << qsizetype(0);
        QTest::newRow("şanlıurfa finds ŞANLIURFA") << u("> ŞANLIURFA") << u("şanlıurfa") << qsizetype(2);
        QTest::newRow("the other Turkish letters") << u("ÇÖÜĞŞ") << u("çöüğş") << qsizetype(0);

        // What neither rule joins.
        QTest::newRow("dotless does not find dotted") << u("istanbul") << u("ıstanbul") << qsizetype(-1);
        QTest::newRow("dotted does not find dotless") << u("ılık") << u("ilik") << qsizetype(-1);
        QTest::newRow("INFO does not find İnfo") << u("İnfo") << u("INFO") << qsizetype(-1);
        // "I" matches "i" only by the default rules, "İ" only by the
        // Turkish ones: one match never takes a rule for each letter.
        QTest::newRow("rules not mixed in one match") << u("Iİ") << u("ii") << qsizetype(-1);

        // Both rules, the earlier hit wins.
        QTest::newRow("Turkish hit earlier") << u("xİNFO INFO") << u("info") << qsizetype(1);
        QTest::newRow("default hit earlier") << u("INFO İNFO") << u("info") << qsizetype(0);

        // The default rules are case folding, not lower-casing.
        QTest::newRow("final sigma") << u("ΚΑΛΟΣ") << u("καλος") << qsizetype(0);
        QTest::newRow("micro sign") << u("5 µm") << u("5 ΜM") << qsizetype(0);
        QTest::newRow("long s") << u("Meſſe") << u("MESSE") << qsizetype(0);
        // Full folding (ß to ss) would change lengths: not used, as in QString.
        QTest::newRow("sharp s is not ss") << u("STRASSE") << u("straße") << qsizetype(-1);

        // Positions in UTF-16 units of the page's own text.
        QTest::newRow("after surrogate pairs") << u("😀😀İstanbul") << u("istanbul") << qsizetype(4);
        QTest::newRow("supplementary letters fold") << u("a𐐀b") << u("𐐨B") << qsizetype(1);
        QTest::newRow("lone surrogate") << (u("a") + QChar(0xD800) + u("b")) << (QString(QChar(0xD800)) + u("B"))
                                        << qsizetype(1);
        // A decomposed İ (I + U+0307) would need a fold that drops a unit.
        QTest::newRow("decomposed İ not joined") << u("I\u0307stanbul") << u("istanbul") << qsizetype(-1);

        // Degenerate input.
        QTest::newRow("empty query") << u("metin") << QString() << qsizetype(-1);
        QTest::newRow("empty text") << QString() << u("a") << qsizetype(-1);
        QTest::newRow("query longer than text") << u("ab") << u("abc") << qsizetype(-1);
        QTest::newRow("whole text") << u("İĞDIR") << u("iğdır") << qsizetype(0);
    }

    void firstPosition()
    {
        QFETCH(QString, text);
        QFETCH(QString, query);
        QFETCH(qsizetype, position);
        QCOMPARE(TextMatch(query).indexIn(text), position);
    }

    // Everything QString's own case-insensitive search finds is found, at
    // the same place or earlier.
    void holdsOverCaseInsensitiveSearch_data() { firstPosition_data(); }

    void holdsOverCaseInsensitiveSearch()
    {
        QFETCH(QString, text);
        QFETCH(QString, query);
        if (query.isEmpty())
            return;
        const qsizetype byQt = text.indexOf(query, 0, Qt::CaseInsensitive);
        const qsizetype found = TextMatch(query).indexIn(text);
        if (byQt >= 0) {
            QVERIFY(found >= 0);
            QVERIFY(found <= byQt);
        }
    }

    // The two Turkish entries and nothing else distinguish the foldings.
    void foldings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("byDefault");
        QTest::addColumn<QString>("byTurkish");
        QTest::newRow("I and İ") << u("Iİiı") << u("iİiı") << u("ıiiı");
        QTest::newRow("other letters") << u("ĞŞÇÖÜ") << u("ğşçöü") << u("ğşçöü");
        QTest::newRow("empty") << QString() << QString() << QString();
    }

    void foldings()
    {
        QFETCH(QString, text);
        QFETCH(QString, byDefault);
        QFETCH(QString, byTurkish);
        QCOMPARE(TextMatch::foldDefault(text), byDefault);
        QCOMPARE(TextMatch::foldTurkish(text), byTurkish);
    }

    // Every code point, alone, folds to the same number of UTF-16 units.
    void everyCodePointKeepsItsLength()
    {
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const QString text = QString::fromUcs4(&c, 1);
            if (TextMatch::foldDefault(text).size() != text.size() || TextMatch::foldTurkish(text).size() != text.size())
                QFAIL(qPrintable(QStringLiteral("U+%1 changes length").arg(uint(c), 4, 16, QLatin1Char('0'))));
        }
    }
};

QTEST_GUILESS_MAIN(TurkishTextMatchTest)
#include "TurkishTextMatchTest.moc"
