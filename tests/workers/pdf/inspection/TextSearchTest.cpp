// "search" through the real worker in the real sandbox: the first page from
// "start" on, wrapping round to page 0, whose text holds the query with case
// ignored by the default or the Turkish rules; the snippet cut from that
// page's own text 30 units before the hit; the query bounds.

#include "support/PdfFixtures.h"
#include "support/SandboxedRun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kQueryError = QStringLiteral("Arama metni geçersiz.");

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kFirstPage = u("Birinci sayfa\r\nIğdır ve Şanlıurfa");
const QString kHitAt10 = u("0123456789pdf dosyasi");
const QString kTurkishPage = u("İstanbul INFO");
const QString kLongLine = QString(50, QLatin1Char('x')) + u("hedef") + QString(200, QLatin1Char('y'));
const QString kLongWord = QString(600, QLatin1Char('z'));

QJsonObject hit(int page, const QString& snippet)
{
    return QJsonObject{{"ok", true}, {"page", page}, {"snippet", snippet}};
}

// Hit ordinals, wrapping and rectangles are SearchMarksTest's subject.
QJsonObject withoutPlacement(QJsonObject reply)
{
    for (const char* key : {"hit", "wrapped", "rects"})
        reply.remove(QLatin1String(key));
    return reply;
}

QJsonObject noHit()
{
    return QJsonObject{{"ok", true}, {"page", -1}};
}

} // namespace

Q_DECLARE_METATYPE(QJsonValue)

class TextSearchTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_pdf;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath("arama.pdf");
        PdfPageSpec first{595, 842, 0, "Birinci sayfa"};
        first.lines = {u("Iğdır ve Şanlıurfa")};
        PdfPageSpec turkish{595, 842, 0, ""};
        turkish.lines = {kTurkishPage};
        PdfFixtureSpec spec;
        spec.pages = {first,
                      {595, 842, 0, kHitAt10.toLatin1()},
                      turkish,
                      {595, 842, 0, kLongLine.toLatin1()},
                      {595, 842, 0, kLongWord.toLatin1()},
                      {595, 842, 0, "Son sayfa"}};
        QVERIFY(writePdf(m_pdf, spec));
    }

    void search_data()
    {
        QTest::addColumn<QJsonValue>("query");
        QTest::addColumn<QJsonValue>("start");
        QTest::addColumn<QJsonObject>("reply");
        const QJsonValue absent(QJsonValue::Undefined);

        QTest::newRow("PDF finds pdf; hit at 10, snippet from 0") << QJsonValue("PDF") << absent << hit(1, kHitAt10);
        QTest::newRow("snippet from 30 before the hit, 160 long")
            << QJsonValue("HEDEF") << absent << hit(3, kLongLine.mid(20, 160));
        QTest::newRow("istanbul finds İstanbul") << QJsonValue("istanbul") << absent << hit(2, kTurkishPage);
        QTest::newRow("ığdır finds Iğdır") << QJsonValue(u("ığdır")) << absent << hit(0, kFirstPage);
        QTest::newRow("ŞANLIURFA finds Şanlıurfa") << QJsonValue(u("ŞANLIURFA")) << absent << hit(0, kFirstPage);
        QTest::newRow("info still finds INFO") << QJsonValue("info") << absent << hit(2, kTurkishPage);
        QTest::newRow("across a line break") << QJsonValue("sayfa\r\nI") << absent << hit(0, kFirstPage);

        QTest::newRow("from start on") << QJsonValue("sayfa") << QJsonValue(1) << hit(5, u("Son sayfa"));
        QTest::newRow("start page itself") << QJsonValue("sayfa") << QJsonValue(5) << hit(5, u("Son sayfa"));
        QTest::newRow("wraps round to page 0") << QJsonValue("Birinci") << QJsonValue(3) << hit(0, kFirstPage);
        QTest::newRow("start beyond the last page begins at the last")
            << QJsonValue("sayfa") << QJsonValue(99) << hit(5, u("Son sayfa"));
        QTest::newRow("start beyond the last page, then wraps")
            << QJsonValue("Birinci") << QJsonValue(99) << hit(0, kFirstPage);
        QTest::newRow("negative start begins at 0") << QJsonValue("sayfa") << QJsonValue(-3) << hit(0, kFirstPage);
        QTest::newRow("start as a string: 0") << QJsonValue("sayfa") << QJsonValue("5") << hit(0, kFirstPage);
        QTest::newRow("no page holds it") << QJsonValue("bulunmaz") << absent << noHit();

        QTest::newRow("query of 512 units accepted")
            << QJsonValue(QString(512, QLatin1Char('Z'))) << absent << hit(4, kLongWord.left(160));
        QString pairs;
        for (int i = 0; i < 256; ++i)
            pairs += u("😀");
        QTest::newRow("256 surrogate pairs are 512 units") << QJsonValue(pairs) << absent << noHit();
        QTest::newRow("query of 513 units refused")
            << QJsonValue(QString(513, QLatin1Char('z'))) << absent << failureReply(kQueryError);
        QTest::newRow("257 surrogate pairs refused") << QJsonValue(pairs + u("😀")) << absent << failureReply(kQueryError);
        QTest::newRow("empty query refused") << QJsonValue("") << absent << failureReply(kQueryError);
        QTest::newRow("no query refused") << absent << absent << failureReply(kQueryError);
        QTest::newRow("query not a string refused") << QJsonValue(7) << absent << failureReply(kQueryError);
    }

    void search()
    {
        QFETCH(QJsonValue, query);
        QFETCH(QJsonValue, start);
        QFETCH(QJsonObject, reply);
        QJsonObject request{{"operation", "search"}, {"path", m_pdf}};
        if (!query.isUndefined())
            request.insert("query", query);
        if (!start.isUndefined())
            request.insert("start", start);
        const WorkerReply answer = runSandboxed(request, kSearchTimeLimitMs);
        QCOMPARE(answer.error, reply.value("error").toString());
        QCOMPARE(answer.json.value("isolation").toObject(), isolationPassed());
        QCOMPARE(withoutPlacement(withoutIsolation(answer.json)), reply);
    }
};

QTEST_GUILESS_MAIN(TextSearchTest)
#include "TextSearchTest.moc"
