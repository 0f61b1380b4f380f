// "search" through its contract: query and start page, found page and
// snippet, each refused when of the wrong kind or out of bounds.

#include "worker/contract/operations/SearchContract.h"

#include <QTest>

using namespace velk;

class SearchContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        const SearchRequest request{QStringLiteral("/tmp/a.pdf"), QStringLiteral("Ağaç"), 4};
        const std::optional<SearchRequest> read = SearchRequest::fromJson(request.toJson());
        QVERIFY(read);
        QCOMPARE(read->query, request.query);
        QCOMPARE(read->start, 4);
        QCOMPARE(request.toJson().value("operation").toString(), QStringLiteral("search"));

        const std::optional<SearchReply> found = SearchReply::fromJson(SearchReply{2, QStringLiteral("… ağaç …")}.toJson(), 3);
        QVERIFY(found);
        QCOMPARE(found->page, 2);
        QCOMPARE(found->snippet, QStringLiteral("… ağaç …"));
        const std::optional<SearchReply> none = SearchReply::fromJson(SearchReply{}.toJson(), 3);
        QVERIFY(none);
        QCOMPARE(none->page, -1);
        QCOMPARE(none->snippet, QString());
    }

    void requests_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<qint64>("start");

        QTest::newRow("512 units") << QJsonObject{{"query", QString(512, QLatin1Char('a'))}} << true << qint64(0);
        QTest::newRow("start kept for clamping") << QJsonObject{{"query", "a"}, {"start", -5}} << true << qint64(-5);
        QTest::newRow("fractional start") << QJsonObject{{"query", "a"}, {"start", 1.5}} << true << qint64(0);
        QTest::newRow("513 units") << QJsonObject{{"query", QString(513, QLatin1Char('a'))}} << false << qint64(0);
        QTest::newRow("empty query") << QJsonObject{{"query", ""}} << false << qint64(0);
        QTest::newRow("query a number") << QJsonObject{{"query", 5}} << false << qint64(0);
        QTest::newRow("query missing") << QJsonObject{{"start", 0}} << false << qint64(0);
    }

    void requests()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QFETCH(qint64, start);
        const std::optional<SearchRequest> read = SearchRequest::fromJson(json);
        QCOMPARE(read.has_value(), accepted);
        if (accepted)
            QCOMPARE(read->start, start);
    }

    void replies_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("page");

        QTest::newRow("no page") << QJsonObject{{"ok", true}} << true << -1;
        QTest::newRow("last page") << QJsonObject{{"page", 2}, {"snippet", "x"}} << true << 2;
        QTest::newRow("whole double") << QJsonObject{{"page", 1.0}} << true << 1;
        QTest::newRow("page beyond the document") << QJsonObject{{"page", 3}} << false << 0;
        QTest::newRow("page below -1") << QJsonObject{{"page", -2}} << false << 0;
        QTest::newRow("page fraction") << QJsonObject{{"page", 0.5}} << false << 0;
        QTest::newRow("page string") << QJsonObject{{"page", "1"}} << false << 0;
        QTest::newRow("page null") << QJsonObject{{"page", QJsonValue()}} << false << 0;
    }

    void replies()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QFETCH(int, page);
        const std::optional<SearchReply> read = SearchReply::fromJson(json, 3);
        QCOMPARE(read.has_value(), accepted);
        if (accepted)
            QCOMPARE(read->page, page);
    }

    void snippetIsCut()
    {
        const std::optional<SearchReply> read =
            SearchReply::fromJson(QJsonObject{{"page", 0}, {"snippet", QString(500, QLatin1Char('s'))}}, 1);
        QVERIFY(read);
        QCOMPARE(read->snippet.size(), 160);
    }
};

QTEST_GUILESS_MAIN(SearchContractTest)
#include "SearchContractTest.moc"
