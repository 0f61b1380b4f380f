// "links", "outline" and "text" through their contracts: what a client accepts from
// a reply, each bound at N and N + 1, each field refused when of the wrong
// kind; the URIs a link may offer.

#include "worker/contract/operations/LinksContract.h"
#include "worker/contract/operations/OutlineContract.h"
#include "worker/contract/operations/TextContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

QJsonObject pageLink(int page)
{
    return QJsonObject{{"rect", QJsonArray{1, 2, 3, 4}}, {"page", page}};
}

QJsonObject outlineEntry(int depth, int page = 0, const QString& title = QStringLiteral("Giriş"))
{
    return QJsonObject{{"title", title}, {"page", page}, {"depth", depth}};
}

} // namespace

class LinksOutlineContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linksRoundTrip()
    {
        LinksReply reply;
        reply.links = {PageLinkEntry{QRectF(72, 100, 50, 12), 2, QString()},
                       PageLinkEntry{QRectF(72, 120, 50, 12), -1, QStringLiteral("https://example.org/")}};
        const std::optional<LinksReply> read = LinksReply::fromJson(reply.toJson(), 3);
        QVERIFY(read);
        QCOMPARE(read->links, reply.links);
        const std::optional<LinksRequest> request = LinksRequest::fromJson(LinksRequest{"/x.pdf", 9999}.toJson());
        QVERIFY(request);
        QCOMPARE(request->page, 9999);
        QVERIFY(!LinksRequest::fromJson(LinksRequest{"/x.pdf", 10000}.toJson()));
    }

    void linkReplies_data()
    {
        QTest::addColumn<QJsonValue>("links");
        QTest::addColumn<bool>("accepted");
        QJsonArray limit;
        for (int i = 0; i < 1000; ++i)
            limit.append(pageLink(0));
        QJsonArray beyond = limit;
        beyond.append(pageLink(0));
        QTest::newRow("1,000 links") << QJsonValue(limit) << true;
        QTest::newRow("1,001 links") << QJsonValue(beyond) << false;
        QTest::newRow("page beyond the document") << QJsonValue(QJsonArray{pageLink(3)}) << false;
        QTest::newRow("both page and URI")
            << QJsonValue(QJsonArray{QJsonObject{{"rect", QJsonArray{1, 2, 3, 4}}, {"page", 0}, {"uri", "https://a"}}})
            << false;
        QTest::newRow("neither") << QJsonValue(QJsonArray{QJsonObject{{"rect", QJsonArray{1, 2, 3, 4}}}}) << false;
        QTest::newRow("no rectangle") << QJsonValue(QJsonArray{QJsonObject{{"page", 0}}}) << false;
        QTest::newRow("URI with a control character")
            << QJsonValue(QJsonArray{QJsonObject{{"rect", QJsonArray{1, 2, 3, 4}}, {"uri", "https://a\u0001"}}})
            << false;
        QTest::newRow("URI of 2,049 characters")
            << QJsonValue(QJsonArray{QJsonObject{{"rect", QJsonArray{1, 2, 3, 4}}, {"uri", QString(2049, 'a')}}})
            << false;
        QTest::newRow("URI of 2,048 characters")
            << QJsonValue(QJsonArray{QJsonObject{{"rect", QJsonArray{1, 2, 3, 4}}, {"uri", QString(2048, 'a')}}})
            << true;
        QTest::newRow("not a list") << QJsonValue("x") << false;
    }

    void linkReplies()
    {
        QFETCH(QJsonValue, links);
        QFETCH(bool, accepted);
        QCOMPARE(LinksReply::fromJson(QJsonObject{{"ok", true}, {"links", links}}, 3).has_value(), accepted);
    }

    void selectionTextBound()
    {
        QCOMPARE(TextReply::fromJson(TextReply{QString(200000, QChar(0x0131))}.toJson())->text.size(), 200000);
        QVERIFY(!TextReply::fromJson(TextReply{QString(200001, 'a')}.toJson()));
        QVERIFY(!TextReply::fromJson(QJsonObject{{"ok", true}, {"text", 5}}));
        const std::optional<TextRequest> request =
            TextRequest::fromJson(TextRequest{"/x.pdf", 3, QRectF(10, 20, 30, 40)}.toJson());
        QVERIFY(request);
        QCOMPARE(request->area, QRectF(10, 20, 30, 40));
        QCOMPARE(request->page, 3);
    }

    void outlineRoundTrip()
    {
        OutlineReply reply;
        reply.entries = {OutlineEntry{QStringLiteral("Giriş"), 0, 0}, OutlineEntry{QStringLiteral("İlk Adımlar"), 1, 1},
                         OutlineEntry{QStringLiteral("Şifre"), -1, 2}, OutlineEntry{QStringLiteral("Son"), 2, 0}};
        reply.truncated = true;
        const std::optional<OutlineReply> read = OutlineReply::fromJson(reply.toJson(), 3);
        QVERIFY(read);
        QCOMPARE(read->entries, reply.entries);
        QVERIFY(read->truncated);
    }

    void outlineReplies_data()
    {
        QTest::addColumn<QJsonArray>("entries");
        QTest::addColumn<bool>("accepted");
        QJsonArray limit;
        for (int i = 0; i < 4000; ++i)
            limit.append(outlineEntry(0));
        QJsonArray beyond = limit;
        beyond.append(outlineEntry(0));
        QJsonArray deepest;
        for (int depth = 0; depth < 16; ++depth)
            deepest.append(outlineEntry(depth));
        QJsonArray tooDeep = deepest;
        tooDeep.append(outlineEntry(16));
        QTest::newRow("4,000 entries") << limit << true;
        QTest::newRow("4,001 entries") << beyond << false;
        QTest::newRow("16 levels") << deepest << true;
        QTest::newRow("17 levels") << tooDeep << false;
        QTest::newRow("first entry nested") << QJsonArray{outlineEntry(1)} << false;
        QTest::newRow("a level skipped") << QJsonArray{outlineEntry(0), outlineEntry(2)} << false;
        QTest::newRow("page beyond the document") << QJsonArray{outlineEntry(0, 3)} << false;
        QTest::newRow("no page") << QJsonArray{outlineEntry(0, -1)} << true;
        QTest::newRow("title of 512 units") << QJsonArray{outlineEntry(0, 0, QString(512, 'a'))} << true;
        QTest::newRow("title of 513 units") << QJsonArray{outlineEntry(0, 0, QString(513, 'a'))} << false;
        QTest::newRow("entry not an object") << QJsonArray{1} << false;
    }

    void outlineReplies()
    {
        QFETCH(QJsonArray, entries);
        QFETCH(bool, accepted);
        QCOMPARE(OutlineReply::fromJson(QJsonObject{{"ok", true}, {"outline", entries}}, 3).has_value(), accepted);
    }
};

QTEST_GUILESS_MAIN(LinksOutlineContractTest)
#include "LinksOutlineContractTest.moc"
