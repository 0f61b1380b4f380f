// "search" through its contract: query, start page, start hit and
// direction; found page, snippet, hit ordinal, wrap and the hit's
// rectangles, each refused when of the wrong kind or out of bounds.

#include "worker/contract/operations/SearchContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

class SearchContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        SearchRequest request;
        request.path = QStringLiteral("/tmp/a.pdf");
        request.query = QStringLiteral("Ağaç");
        request.start = 4;
        const std::optional<SearchRequest> read = SearchRequest::fromJson(request.toJson());
        QVERIFY(read);
        QCOMPARE(read->query, request.query);
        QCOMPARE(read->start, 4);
        QCOMPARE(request.toJson().value("operation").toString(), QStringLiteral("search"));

        SearchReply sent;
        sent.page = 2;
        sent.snippet = QStringLiteral("… ağaç …");
        const std::optional<SearchReply> found = SearchReply::fromJson(sent.toJson(), 3);
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

    void startHitAndDirection_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<int>("first");
        QTest::addColumn<bool>("backward");
        const int absent = -99;
        QTest::newRow("neither") << QJsonObject{{"query", "a"}} << absent << false;
        QTest::newRow("hit 3 backwards") << QJsonObject{{"query", "a"}, {"first", 3}, {"backward", true}} << 3 << true;
        QTest::newRow("-1 passes the page") << QJsonObject{{"query", "a"}, {"first", -1}} << -1 << false;
        QTest::newRow("below -1 kept at -1") << QJsonObject{{"query", "a"}, {"first", -50}} << -1 << false;
        QTest::newRow("beyond a page's hits kept at the limit")
            << QJsonObject{{"query", "a"}, {"first", 1e12}} << 10000 << false;
        QTest::newRow("fraction is absent") << QJsonObject{{"query", "a"}, {"first", 0.5}} << absent << false;
        QTest::newRow("backward not a boolean") << QJsonObject{{"query", "a"}, {"backward", 1}} << absent << false;
    }

    void startHitAndDirection()
    {
        QFETCH(QJsonObject, json);
        QFETCH(int, first);
        QFETCH(bool, backward);
        const std::optional<SearchRequest> read = SearchRequest::fromJson(json);
        QVERIFY(read);
        QCOMPARE(read->first.value_or(-99), first);
        QCOMPARE(read->backward, backward);
        // What is sent is read back the same.
        const std::optional<SearchRequest> again = SearchRequest::fromJson(read->toJson());
        QCOMPARE(again->first, read->first);
        QCOMPARE(again->backward, read->backward);
    }

    void hitPlacementRoundTrip()
    {
        SearchReply reply;
        reply.page = 1;
        reply.snippet = QStringLiteral("Şanlıurfa");
        reply.hit = 2;
        reply.wrapped = true;
        reply.rects = {QRectF(72, 90.5, 60.25, 12), QRectF(72, 106.5, 30, 12)};
        const std::optional<SearchReply> read = SearchReply::fromJson(reply.toJson(), 2);
        QVERIFY(read);
        QCOMPARE(read->hit, 2);
        QVERIFY(read->wrapped);
        QCOMPARE(read->rects, reply.rects);
    }

    void hitPlacementBounds_data()
    {
        QTest::addColumn<QJsonValue>("hit");
        QTest::addColumn<QJsonValue>("rects");
        QTest::addColumn<bool>("accepted");
        const QJsonArray one{10, 20, 30, 12};
        QJsonArray limit;
        for (int i = 0; i < 64; ++i)
            limit.append(one);
        QJsonArray beyond = limit;
        beyond.append(one);
        QTest::newRow("64 rectangles") << QJsonValue(0) << QJsonValue(limit) << true;
        QTest::newRow("65 rectangles") << QJsonValue(0) << QJsonValue(beyond) << false;
        QTest::newRow("no rectangle") << QJsonValue(0) << QJsonValue(QJsonArray{}) << true;
        QTest::newRow("rectangles not a list") << QJsonValue(0) << QJsonValue("x") << false;
        QTest::newRow("three numbers") << QJsonValue(0) << QJsonValue(QJsonArray{QJsonArray{1, 2, 3}}) << false;
        QTest::newRow("negative corner") << QJsonValue(0) << QJsonValue(QJsonArray{QJsonArray{-1, 2, 3, 4}}) << false;
        QTest::newRow("negative width") << QJsonValue(0) << QJsonValue(QJsonArray{QJsonArray{1, 2, -3, 4}}) << false;
        QTest::newRow("far side beyond the largest page")
            << QJsonValue(0) << QJsonValue(QJsonArray{QJsonArray{19990, 2, 20, 4}}) << false;
        QTest::newRow("side a string") << QJsonValue(0) << QJsonValue(QJsonArray{QJsonArray{1, "2", 3, 4}}) << false;
        QTest::newRow("last ordinal") << QJsonValue(9999) << QJsonValue(QJsonArray{}) << true;
        QTest::newRow("ordinal beyond") << QJsonValue(10000) << QJsonValue(QJsonArray{}) << false;
        QTest::newRow("negative ordinal") << QJsonValue(-1) << QJsonValue(QJsonArray{}) << false;
    }

    void hitPlacementBounds()
    {
        QFETCH(QJsonValue, hit);
        QFETCH(QJsonValue, rects);
        QFETCH(bool, accepted);
        const QJsonObject json{{"ok", true}, {"page", 0}, {"snippet", "s"}, {"hit", hit}, {"rects", rects}};
        QCOMPARE(SearchReply::fromJson(json, 1).has_value(), accepted);
    }
};

QTEST_GUILESS_MAIN(SearchContractTest)
#include "SearchContractTest.moc"
