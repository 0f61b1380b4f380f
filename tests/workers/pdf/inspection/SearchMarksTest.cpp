// Where "search" says its hit is, through the real worker in the real
// sandbox: the hit's rectangles cover the same glyphs as pdftotext's word
// boxes, for words with İ, ı and ş and on a page turned by /Rotate; the hit
// ordinal walks the hits of a page forwards and backwards; wrapping round
// is reported.

#include "support/PopplerText.h"
#include "support/ReadingFixtures.h"
#include "support/SandboxedRun.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QRectF unitedRects(const QJsonArray& rects)
{
    QRectF united;
    for (const QJsonValue& value : rects) {
        const QJsonArray side = value.toArray();
        united = united.united(QRectF(side.at(0).toDouble(), side.at(1).toDouble(), side.at(2).toDouble(),
                                      side.at(3).toDouble()));
    }
    return united;
}

double overlap(const QRectF& a, const QRectF& b)
{
    const QRectF common = a.intersected(b);
    const double united = a.width() * a.height() + b.width() * b.height() - common.width() * common.height();
    return united > 0 ? common.width() * common.height() / united : 0.0;
}

} // namespace

class SearchMarksTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_pdf;

    QJsonObject search(const QJsonObject& fields)
    {
        QJsonObject request{{"operation", "search"}, {"path", m_pdf}};
        for (auto field = fields.begin(); field != fields.end(); ++field)
            request.insert(field.key(), field.value());
        const WorkerReply reply = runSandboxed(request, kSearchTimeLimitMs);
        return reply.error.isEmpty() ? reply.json : QJsonObject{{"error", reply.error}};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath("isaretler.pdf");
        ReadingPage first;
        first.lines = {u("Birinci sayfa"), u("abc ve abc"), u("Şanlıurfa ile İzmir ışık")};
        ReadingPage turned;
        turned.rotate = 90;
        turned.lines = {u("Yatay sayfa"), u("Döndürülmüş Iğdır")};
        ReadingPage third;
        third.width = 612;
        third.height = 792;
        third.lines = {u("abc abc abc")};
        ReadingSpec spec;
        spec.pages = {first, turned, third};
        QVERIFY(writeReadingPdf(m_pdf, spec));
    }

    void rectanglesCoverTheWord_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("word");
        QTest::newRow("ş and ı") << u("ŞANLIURFA") << 0 << u("Şanlıurfa");
        QTest::newRow("İ by the Turkish rules") << u("izmir") << 0 << u("İzmir");
        QTest::newRow("ı by the Turkish rules") << u("IŞIK") << 0 << u("ışık");
        QTest::newRow("turned page") << u("ığdır") << 1 << u("Iğdır");
        QTest::newRow("turned page, first line") << u("yatay") << 1 << u("Yatay");
    }

    void rectanglesCoverTheWord()
    {
        QFETCH(QString, query);
        QFETCH(int, page);
        QFETCH(QString, word);
        const QJsonObject reply = search({{"query", query}});
        QCOMPARE(reply.value("page").toInt(-2), page);
        const QJsonArray rects = reply.value("rects").toArray();
        QCOMPARE(rects.size(), 1);
        const QRectF hit = unitedRects(rects);

        QRectF judged;
        for (const PopplerWord& candidate : popplerWords(m_pdf, page)) {
            if (candidate.text == word)
                judged = candidate.box;
        }
        QVERIFY2(!judged.isEmpty(), qPrintable(word));
        const QString shown = QStringLiteral("hit %1,%2 %3×%4; pdftotext %5,%6 %7×%8")
                                  .arg(hit.x()).arg(hit.y()).arg(hit.width()).arg(hit.height())
                                  .arg(judged.x()).arg(judged.y()).arg(judged.width()).arg(judged.height());
        QVERIFY2(hit.contains(judged.center()) && judged.contains(hit.center()), qPrintable(shown));
        QVERIFY2(overlap(hit, judged) >= 0.5, qPrintable(shown));
    }

    void hitsOfAPageInTurn_data()
    {
        QTest::addColumn<QJsonObject>("fields");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("hit");
        QTest::addColumn<bool>("wrapped");
        // "abc": twice on page 1, three times on page 3.
        QTest::newRow("first") << QJsonObject{{"query", "abc"}} << 0 << 0 << false;
        QTest::newRow("second of the page") << QJsonObject{{"query", "abc"}, {"first", 1}} << 0 << 1 << false;
        QTest::newRow("past the page's last") << QJsonObject{{"query", "abc"}, {"first", 2}} << 2 << 0 << false;
        QTest::newRow("past the document's last")
            << QJsonObject{{"query", "abc"}, {"start", 2}, {"first", 3}} << 0 << 0 << true;
        QTest::newRow("backwards: the page's last")
            << QJsonObject{{"query", "abc"}, {"start", 2}, {"backward", true}} << 2 << 2 << false;
        QTest::newRow("backwards from the third")
            << QJsonObject{{"query", "abc"}, {"start", 2}, {"first", 1}, {"backward", true}} << 2 << 1 << false;
        QTest::newRow("backwards before the page's first")
            << QJsonObject{{"query", "abc"}, {"start", 2}, {"first", -1}, {"backward", true}} << 0 << 1 << false;
        QTest::newRow("backwards before the document's first")
            << QJsonObject{{"query", "abc"}, {"start", 0}, {"first", -1}, {"backward", true}} << 2 << 2 << true;
        QTest::newRow("the only hit, found again after a whole round")
            << QJsonObject{{"query", "birinci"}, {"first", 1}} << 0 << 0 << true;
    }

    void hitsOfAPageInTurn()
    {
        QFETCH(QJsonObject, fields);
        QFETCH(int, page);
        QFETCH(int, hit);
        QFETCH(bool, wrapped);
        const QJsonObject reply = search(fields);
        QCOMPARE(reply.value("page").toInt(-2), page);
        QCOMPARE(reply.value("hit").toInt(-2), hit);
        QCOMPARE(reply.value("wrapped").toBool(), wrapped);
        QCOMPARE(reply.value("rects").toArray().size(), 1);
    }

    void theHitsOfOnePageHaveTheirOwnPlaces()
    {
        const QRectF first = unitedRects(search({{"query", "abc"}, {"start", 2}}).value("rects").toArray());
        const QRectF second =
            unitedRects(search({{"query", "abc"}, {"start", 2}, {"first", 1}}).value("rects").toArray());
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        QVERIFY(second.left() > first.right());
        QCOMPARE(second.top(), first.top());
    }
};

QTEST_GUILESS_MAIN(SearchMarksTest)
#include "SearchMarksTest.moc"
