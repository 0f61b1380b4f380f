// "links" and "outline" through the real worker in the real sandbox: links
// that go to a page or to a URI, placed on the page as displayed; an
// outline of three levels with Turkish titles; the limits at N and N + 1;
// damaged link and outline data giving fewer entries, never a failure.

#include "support/PdfFixtures.h"
#include "support/ReadingFixtures.h"
#include "support/SandboxedRun.h"

#include <QFile>
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

QJsonArray box(double x, double y, double w, double h)
{
    return QJsonArray{x, y, w, h};
}

QJsonObject toPage(const QJsonArray& rect, int page)
{
    return QJsonObject{{"rect", rect}, {"page", page}};
}

QJsonObject toUri(const QJsonArray& rect, const QString& uri)
{
    return QJsonObject{{"rect", rect}, {"uri", uri}};
}

ReadingLink link(int page, const QRectF& rect, int target, const QByteArray& uri = {}, const QByteArray& raw = {})
{
    ReadingLink made;
    made.page = page;
    made.rect = rect;
    made.targetPage = target;
    made.uri = uri;
    made.rawAction = raw;
    return made;
}

ReadingOutlineItem item(const QString& title, int page, const QList<ReadingOutlineItem>& children = {})
{
    return ReadingOutlineItem{title, page, children};
}

QJsonObject entry(const QString& title, int page, int depth)
{
    return QJsonObject{{"title", title}, {"page", page}, {"depth", depth}};
}

} // namespace

class LinksAndOutlineTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QJsonObject run(const ReadingSpec& spec, const QJsonObject& request)
    {
        const QString path = m_dir.filePath(QStringLiteral("belge-%1.pdf").arg(++m_files));
        if (!writeReadingPdf(path, spec))
            return {};
        QJsonObject sent = request;
        sent.insert("path", path);
        const WorkerReply reply = runSandboxed(sent);
        return reply.error.isEmpty() ? withoutIsolation(reply.json) : QJsonObject{{"error", reply.error}};
    }

    QJsonObject runRaw(const QList<QByteArray>& bodies, const QJsonObject& request)
    {
        const QString path = m_dir.filePath(QStringLiteral("bozuk-%1.pdf").arg(++m_files));
        QFile file(path);
        const QByteArray bytes = pdfFromObjects(bodies);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        file.close();
        QJsonObject sent = request;
        sent.insert("path", path);
        const WorkerReply reply = runSandboxed(sent);
        return reply.error.isEmpty() ? withoutIsolation(reply.json) : QJsonObject{{"error", reply.error}};
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void linksOfAPage()
    {
        ReadingSpec spec;
        spec.pages = {ReadingPage{}, ReadingPage{}, ReadingPage{}};
        // User space: origin bottom left of an 842-point-high page.
        spec.links = {
            link(0, QRectF(72, 700, 128, 20), 2),
            link(0, QRectF(72, 650, 100, 20), -1, "https://example.org/kilavuz?bolum=3"),
            link(0, QRectF(72, 600, 100, 20), -1, "mailto:destek@example.org"),
            link(0, QRectF(72, 550, 100, 20), -1, "javascript:alert(1)"),
            link(0, QRectF(72, 500, 100, 20), -1, {}, "<< /S /GoTo /D [2 0 R /Fit] >>"),
            link(1, QRectF(10, 10, 20, 20), 0),
        };
        const QJsonObject reply = run(spec, {{"operation", "links"}, {"page", 0}});
        // The fourth page object is page 1: "2 0 R" is the page tree, no page.
        const QJsonArray expected{toPage(box(72, 122, 128, 20), 2),
                                  toUri(box(72, 172, 100, 20), "https://example.org/kilavuz?bolum=3"),
                                  toUri(box(72, 222, 100, 20), "mailto:destek@example.org"),
                                  toUri(box(72, 272, 100, 20), "javascript:alert(1)")};
        QCOMPARE(reply, (QJsonObject{{"ok", true}, {"links", expected}}));
        QCOMPARE(run(spec, {{"operation", "links"}, {"page", 2}}), (QJsonObject{{"ok", true}, {"links", QJsonArray{}}}));
    }

    void linksOnATurnedPage()
    {
        ReadingPage turned;
        turned.rotate = 90;
        ReadingSpec spec;
        spec.pages = {turned};
        spec.links = {link(0, QRectF(72, 700, 128, 20), 0)};
        const QJsonArray links = run(spec, {{"operation", "links"}, {"page", 0}}).value("links").toArray();
        QCOMPARE(links.size(), 1);
        const QJsonArray rect = links.at(0).toObject().value("rect").toArray();
        // Turned a quarter clockwise: 842 wide, 595 high, the top edge on
        // the right and the left edge at the top; the link's long side now
        // runs down the page.
        QCOMPARE(rect.at(0).toDouble(), 700.0);
        QCOMPARE(rect.at(1).toDouble(), 72.0);
        QCOMPARE(rect.at(2).toDouble(), 20.0);
        QCOMPARE(rect.at(3).toDouble(), 128.0);
    }

    void urisOffered_data()
    {
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<bool>("offered");
        const QByteArray stem = "https://example.org/";
        QTest::newRow("2,048 characters") << QByteArray("<< /S /URI /URI (" + stem + QByteArray(2048 - stem.size(), 'a') + ") >>") << true;
        QTest::newRow("2,049 characters") << QByteArray("<< /S /URI /URI (" + stem + QByteArray(2049 - stem.size(), 'a') + ") >>") << false;
        QTest::newRow("control character") << QByteArray("<< /S /URI /URI (https://a\\001b.org) >>") << false;
        QTest::newRow("line break") << QByteArray("<< /S /URI /URI (https://a.org/\\nx) >>") << false;
        QTest::newRow("space") << QByteArray("<< /S /URI /URI (https://a.org/ x) >>") << false;
        QTest::newRow("URI a list") << QByteArray("<< /S /URI /URI [(https://a.org)] >>") << false;
        QTest::newRow("no URI") << QByteArray("<< /S /URI >>") << false;
        QTest::newRow("launch") << QByteArray("<< /S /Launch /F (calc) >>") << false;
        QTest::newRow("go to a missing page") << QByteArray("<< /S /GoTo /D [99 0 R /Fit] >>") << false;
        QTest::newRow("go to nothing") << QByteArray("<< /S /GoTo /D 7 >>") << false;
        QTest::newRow("action not a dictionary") << QByteArray("(x)") << false;
    }

    void urisOffered()
    {
        QFETCH(QByteArray, action);
        QFETCH(bool, offered);
        ReadingSpec spec;
        spec.links = {link(0, QRectF(72, 700, 100, 20), -1, {}, action), link(0, QRectF(72, 600, 100, 20), 0)};
        const QJsonObject reply = run(spec, {{"operation", "links"}, {"page", 0}});
        QCOMPARE(reply.value("ok").toBool(), true);
        // The good link beside it is always there.
        QCOMPARE(reply.value("links").toArray().size(), offered ? 2 : 1);
    }

    void linkLimit_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("listed");
        QTest::newRow("1,000") << 1000 << 1000;
        QTest::newRow("1,001") << 1001 << 1000;
    }

    void linkLimit()
    {
        QFETCH(int, count);
        QFETCH(int, listed);
        ReadingSpec spec;
        for (int i = 0; i < count; ++i)
            spec.links.append(link(0, QRectF(10 + i % 50 * 10, 10 + i / 50 * 10, 8, 8), 0));
        const QJsonObject reply = run(spec, {{"operation", "links"}, {"page", 0}});
        QCOMPARE(reply.value("links").toArray().size(), listed);
    }

    void linksOfAPageOutsideTheDocument()
    {
        const QJsonObject refused{{"error", QStringLiteral("Sayfa numarası geçersiz.")}};
        QCOMPARE(run(ReadingSpec{}, {{"operation", "links"}, {"page", 1}}), refused);
        QCOMPARE(run(ReadingSpec{}, {{"operation", "links"}, {"page", "0"}}), refused);
        QCOMPARE(run(ReadingSpec{}, {{"operation", "links"}, {"page", -1}}), refused);
    }

    void outlineOfThreeLevels()
    {
        ReadingSpec spec;
        spec.pages = {ReadingPage{}, ReadingPage{}, ReadingPage{}};
        spec.outline = {item(u("Giriş"), 0, {item(u("Kurulum ve İlk Adımlar"), 1, {item(u("Şifre Değiştirme"), 2)})}),
                        item(u("Sık Sorulan Sorular"), 2), item(u("Hedefsiz başlık"), -1)};
        const QJsonArray expected{entry(u("Giriş"), 0, 0), entry(u("Kurulum ve İlk Adımlar"), 1, 1),
                                  entry(u("Şifre Değiştirme"), 2, 2), entry(u("Sık Sorulan Sorular"), 2, 0),
                                  entry(u("Hedefsiz başlık"), -1, 0)};
        QCOMPARE(run(spec, {{"operation", "outline"}}),
                 (QJsonObject{{"ok", true}, {"outline", expected}, {"truncated", false}}));
        QCOMPARE(run(ReadingSpec{}, {{"operation", "outline"}}),
                 (QJsonObject{{"ok", true}, {"outline", QJsonArray{}}, {"truncated", false}}));
    }

    void outlineLimits_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("listed");
        QTest::addColumn<bool>("truncated");
        QTest::newRow("4,000 entries") << 4000 << 1 << 4000 << false;
        QTest::newRow("4,001 entries") << 4001 << 1 << 4000 << true;
        QTest::newRow("16 levels") << 1 << 16 << 16 << false;
        QTest::newRow("17 levels") << 1 << 17 << 16 << true;
    }

    void outlineLimits()
    {
        QFETCH(int, entries);
        QFETCH(int, depth);
        QFETCH(int, listed);
        QFETCH(bool, truncated);
        ReadingSpec spec;
        for (int i = 0; i < entries; ++i)
            spec.outline.append(item(QStringLiteral("Bölüm %1").arg(i), 0));
        for (int level = 1; level < depth; ++level) {
            ReadingOutlineItem* deepest = &spec.outline.last();
            while (!deepest->children.isEmpty())
                deepest = &deepest->children.last();
            deepest->children.append(item(QStringLiteral("Düzey %1").arg(level), 0));
        }
        const QJsonObject reply = run(spec, {{"operation", "outline"}});
        QCOMPARE(reply.value("outline").toArray().size(), listed);
        QCOMPARE(reply.value("truncated").toBool(), truncated);
    }

    void damagedOutlines_data()
    {
        QTest::addColumn<QList<QByteArray>>("bodies");
        QTest::addColumn<int>("listed");
        const QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R /Outlines 3 0 R >>";
        const QByteArray pages = "<< /Type /Pages /Kids [4 0 R] /Count 1 >>";
        const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>";
        QTest::newRow("siblings in a loop")
            << QList<QByteArray>{catalog, pages, "<< /First 5 0 R /Last 6 0 R >>", page,
                                 "<< /Title (A) /Parent 3 0 R /Next 6 0 R >>",
                                 "<< /Title (B) /Parent 3 0 R /Next 5 0 R >>"}
            << 2;
        QTest::newRow("an item its own child")
            << QList<QByteArray>{catalog, pages, "<< /First 5 0 R /Last 5 0 R >>", page,
                                 "<< /Title (A) /Parent 3 0 R /First 5 0 R /Dest [4 0 R /Fit] >>"}
            << 1;
        QTest::newRow("title not a string, destination not a page")
            << QList<QByteArray>{catalog, pages, "<< /First 5 0 R /Last 5 0 R >>", page,
                                 "<< /Title 12 /Parent 3 0 R /Dest [99 0 R /Fit] >>"}
            << 1;
        QTest::newRow("outlines not a dictionary")
            << QList<QByteArray>{catalog, pages, "(yok)", page} << 0;
        QTest::newRow("first not a dictionary")
            << QList<QByteArray>{catalog, pages, "<< /First 7 >>", page} << 0;
    }

    void damagedOutlines()
    {
        QFETCH(QList<QByteArray>, bodies);
        QFETCH(int, listed);
        const QJsonObject reply = runRaw(bodies, {{"operation", "outline"}});
        QCOMPARE(reply.value("ok").toBool(), true);
        const QJsonArray outline = reply.value("outline").toArray();
        QCOMPARE(outline.size(), listed);
        for (const QJsonValue& value : outline)
            QVERIFY(value.toObject().value("page").toInt() <= 0);
    }
};

QTEST_GUILESS_MAIN(LinksAndOutlineTest)
#include "LinksAndOutlineTest.moc"
