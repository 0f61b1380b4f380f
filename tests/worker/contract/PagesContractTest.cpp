// "pages" and "overlay" through their contract: the request and reply round
// trip; sources are bounded; selections and rotations that are no index or
// not a list read as values the worker refuses in its own words.

#include "worker/contract/operations/PagesContract.h"

#include <QTest>

using namespace velk;

namespace {

QJsonArray sourcesOf(int count)
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(QJsonObject{{"path", QStringLiteral("/tmp/%1.pdf").arg(i)}});
    return list;
}

} // namespace

using OptionalIndices = std::optional<QList<qint64>>;
Q_DECLARE_METATYPE(velk::PageSourceEntry)
Q_DECLARE_METATYPE(OptionalIndices)

class PagesContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestRoundTrip_data()
    {
        QTest::addColumn<bool>("overlay");
        QTest::newRow("pages") << false;
        QTest::newRow("overlay") << true;
    }

    void requestRoundTrip()
    {
        QFETCH(bool, overlay);
        PagesRequest request;
        request.overlay = overlay;
        request.sources = {{QStringLiteral("/tmp/a.pdf"), {2, 0, 9999}}, {QStringLiteral("/tmp/b.pdf"), {}}};
        request.rotations = QList<qint64>{90, 0, 270, 180};
        request.output = QStringLiteral("/tmp/o.pdf");
        const QJsonObject json = request.toJson();
        QCOMPARE(json.value("operation").toString(), overlay ? QStringLiteral("overlay") : QStringLiteral("pages"));
        QVERIFY(!json.value("sources").toArray().at(1).toObject().contains("pages"));
        const std::optional<PagesRequest> read = PagesRequest::fromJson(json);
        QVERIFY(read);
        QCOMPARE(read->overlay, overlay);
        QCOMPARE(read->sources, request.sources);
        QCOMPARE(read->rotations, request.rotations);
        QCOMPARE(read->output, request.output);
    }

    void requestWithoutRotationsOrOutput()
    {
        PagesRequest request;
        request.sources = {{QStringLiteral("/tmp/a.pdf"), {}}};
        const QJsonObject json = request.toJson();
        QVERIFY(!json.contains("rotations") && !json.contains("output"));
        QCOMPARE(PagesRequest::fromJson(json)->rotations, std::optional<QList<qint64>>(QList<qint64>()));
    }

    void sourceLists_data()
    {
        QTest::addColumn<QJsonValue>("sources");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("one") << QJsonValue(sourcesOf(1)) << true;
        QTest::newRow("100") << QJsonValue(sourcesOf(100)) << true;
        QTest::newRow("101") << QJsonValue(sourcesOf(101)) << false;
        QTest::newRow("empty") << QJsonValue(QJsonArray()) << false;
        QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined) << false;
        QTest::newRow("an object") << QJsonValue(QJsonObject{{"path", "/tmp/a.pdf"}}) << false;
    }

    void sourceLists()
    {
        QFETCH(QJsonValue, sources);
        QFETCH(bool, accepted);
        QJsonObject json{{"output", "/tmp/o.pdf"}};
        if (!sources.isUndefined())
            json.insert("sources", sources);
        QCOMPARE(PagesRequest::fromJson(json).has_value(), accepted);
    }

    void sourceFields_data()
    {
        QTest::addColumn<QJsonValue>("source");
        QTest::addColumn<PageSourceEntry>("read");

        QTest::newRow("all pages") << QJsonValue(QJsonObject{{"path", "/a"}}) << PageSourceEntry{"/a", {}};
        QTest::newRow("null selection: all") << QJsonValue(QJsonObject{{"path", "/a"}, {"pages", QJsonValue()}})
                                             << PageSourceEntry{"/a", {}};
        QTest::newRow("whole double") << QJsonValue(QJsonObject{{"path", "/a"}, {"pages", QJsonArray{4.0}}})
                                      << PageSourceEntry{"/a", {4}};
        QTest::newRow("entries that are no index")
            << QJsonValue(QJsonObject{{"path", "/a"}, {"pages", QJsonArray{1.5, "1", -1, 10000, QJsonValue()}}})
            << PageSourceEntry{"/a", {-1, -1, -1, -1, -1}};
        QTest::newRow("selection not a list") << QJsonValue(QJsonObject{{"path", "/a"}, {"pages", "1-2"}})
                                              << PageSourceEntry{"/a", {-1}};
        QTest::newRow("source not an object") << QJsonValue("/a") << PageSourceEntry{};
        QTest::newRow("path a number") << QJsonValue(QJsonObject{{"path", 1}}) << PageSourceEntry{};
    }

    void sourceFields()
    {
        QFETCH(QJsonValue, source);
        QFETCH(PageSourceEntry, read);
        const std::optional<PagesRequest> request = PagesRequest::fromJson(QJsonObject{{"sources", QJsonArray{source}}});
        QVERIFY(request);
        QCOMPARE(request->sources.value(0), read);
    }

    void rotations_data()
    {
        QTest::addColumn<QJsonValue>("rotations");
        QTest::addColumn<OptionalIndices>("read");

        QTest::newRow("absent") << QJsonValue(QJsonValue::Undefined) << std::optional(QList<qint64>());
        QTest::newRow("null") << QJsonValue() << std::optional(QList<qint64>());
        QTest::newRow("angles") << QJsonValue(QJsonArray{0, 90, 180, 270})
                                << std::optional(QList<qint64>{0, 90, 180, 270});
        QTest::newRow("no angles kept as no index")
            << QJsonValue(QJsonArray{45, 360, -90, 90.5, "90"}) << std::optional(QList<qint64>{45, -1, -1, -1, -1});
        QTest::newRow("not a list") << QJsonValue("90") << std::optional<QList<qint64>>();
    }

    void rotations()
    {
        QFETCH(QJsonValue, rotations);
        QFETCH(OptionalIndices, read);
        QJsonObject json{{"sources", sourcesOf(1)}};
        if (!rotations.isUndefined())
            json.insert("rotations", rotations);
        QCOMPARE(PagesRequest::fromJson(json)->rotations, read);
    }

    void reply_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<int>("pages");

        QTest::newRow("one page") << QJsonObject{{"ok", true}, {"pages", 1}} << 1;
        QTest::newRow("10000 pages") << QJsonObject{{"ok", true}, {"pages", 10000}} << 10000;
        QTest::newRow("no pages") << QJsonObject{{"ok", true}, {"pages", 0}} << -1;
        QTest::newRow("10001 pages") << QJsonObject{{"ok", true}, {"pages", 10001}} << -1;
        QTest::newRow("fraction") << QJsonObject{{"ok", true}, {"pages", 2.5}} << -1;
        QTest::newRow("a string") << QJsonObject{{"ok", true}, {"pages", "2"}} << -1;
        QTest::newRow("missing") << QJsonObject{{"ok", true}} << -1;
    }

    void reply()
    {
        QFETCH(QJsonObject, json);
        QFETCH(int, pages);
        const std::optional<PagesReply> read = PagesReply::fromJson(json);
        QCOMPARE(read ? read->pages : -1, pages);
        if (read)
            QCOMPARE(PagesReply::fromJson(read->toJson())->pages, pages);
    }
};

QTEST_GUILESS_MAIN(PagesContractTest)
#include "PagesContractTest.moc"
