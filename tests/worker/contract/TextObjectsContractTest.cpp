// "textObjects", "replaceText" and "deleteText" through their contract: the
// listing and the edit request round trip; a listed entry of the wrong kind
// is skipped, the listing is cut at its limit, and an object handle is an
// index only when it is a whole number below the page-object limit.

#include "worker/contract/operations/TextObjectsContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

QJsonObject listed(const QJsonValue& object, const QJsonValue& text, const QJsonValue& size)
{
    return QJsonObject{{"object", object}, {"text", text}, {"size", size}};
}

} // namespace

class TextObjectsContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestRoundTrip()
    {
        const QJsonObject json = TextObjectsRequest{QStringLiteral("/tmp/a.pdf"), 4}.toJson();
        QCOMPARE(json.value("operation").toString(), QStringLiteral("textObjects"));
        const TextObjectsRequest read = TextObjectsRequest::fromJson(json);
        QCOMPARE(read.path, QStringLiteral("/tmp/a.pdf"));
        QCOMPARE(read.page, 4);
        QCOMPARE(TextObjectsRequest::fromJson(QJsonObject{{"page", 0.5}}).page, -1);
        QCOMPARE(TextObjectsRequest::fromJson(QJsonObject{{"page", 10000}}).page, -1);
    }

    void replyRoundTrip()
    {
        TextObjectsReply reply;
        reply.objects = {{0, QStringLiteral("Başlık"), 12.5}, {49999, QString(), 0}};
        reply.nestedForms = 3;
        const TextObjectsReply read = TextObjectsReply::fromJson(reply.toJson());
        QCOMPARE(read.objects, reply.objects);
        QCOMPARE(read.nestedForms, 3);
    }

    void replyEntries_data()
    {
        QTest::addColumn<QJsonValue>("entry");
        QTest::addColumn<bool>("kept");

        QTest::newRow("good") << QJsonValue(listed(7, "a", 10)) << true;
        QTest::newRow("not an object") << QJsonValue(7) << false;
        QTest::newRow("object 50000") << QJsonValue(listed(50000, "a", 10)) << false;
        QTest::newRow("object negative") << QJsonValue(listed(-1, "a", 10)) << false;
        QTest::newRow("object fraction") << QJsonValue(listed(1.5, "a", 10)) << false;
        QTest::newRow("object a string") << QJsonValue(listed("7", "a", 10)) << false;
        QTest::newRow("text 10001 units") << QJsonValue(listed(7, QString(10001, 'a'), 10)) << false;
        QTest::newRow("text missing") << QJsonValue(QJsonObject{{"object", 7}, {"size", 10}}) << false;
        QTest::newRow("size a string") << QJsonValue(listed(7, "a", "10")) << false;
    }

    void replyEntries()
    {
        QFETCH(QJsonValue, entry);
        QFETCH(bool, kept);
        const QJsonObject json{{"ok", true}, {"objects", QJsonArray{entry, listed(8, "b", 9)}}};
        const TextObjectsReply read = TextObjectsReply::fromJson(json);
        QCOMPARE(read.objects.size(), kept ? 2 : 1);
        QCOMPARE(read.objects.last().object, 8);
    }

    void replyCutAtTheListingLimit()
    {
        QJsonArray entries;
        for (int i = 0; i < 2001; ++i)
            entries.append(listed(i, "a", 10));
        const TextObjectsReply read = TextObjectsReply::fromJson(QJsonObject{{"objects", entries}});
        QCOMPARE(read.objects.size(), 2000);
        QCOMPARE(read.objects.last().object, 1999);
        QVERIFY(TextObjectsReply::fromJson(QJsonObject{{"objects", "a"}}).objects.isEmpty());
    }

    void editRequestRoundTrip_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("replaceText") << false;
        QTest::newRow("deleteText") << true;
    }

    void editRequestRoundTrip()
    {
        QFETCH(bool, deleting);
        TextObjectEditRequest request;
        request.deleting = deleting;
        request.page = 2;
        request.object = QJsonValue(11);
        request.text = QStringLiteral("Yeni");
        QCOMPARE(request.toJson(), (QJsonObject{{"operation", deleting ? "deleteText" : "replaceText"},
                                                {"page", 2},
                                                {"object", 11},
                                                {"text", "Yeni"}}));
        request.path = QStringLiteral("/tmp/a.pdf");
        request.output = QStringLiteral("/tmp/o.pdf");
        const TextObjectEditRequest read = TextObjectEditRequest::fromJson(request.toJson());
        QCOMPARE(read.deleting, deleting);
        QCOMPARE(read.path, request.path);
        QCOMPARE(read.page, 2);
        QCOMPARE(read.objectIndex(), 11);
        QCOMPARE(read.text, request.text);
        QCOMPARE(read.output, request.output);
    }

    void editRequestFields_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<qint64>("page");
        QTest::addColumn<qint64>("object");

        QTest::newRow("good") << QJsonObject{{"page", 0}, {"object", 49999}} << qint64(0) << qint64(49999);
        QTest::newRow("object 50000") << QJsonObject{{"page", 0}, {"object", 50000}} << qint64(0) << qint64(-1);
        QTest::newRow("object fraction") << QJsonObject{{"page", 0}, {"object", 2.5}} << qint64(0) << qint64(-1);
        QTest::newRow("object a handle string") << QJsonObject{{"page", 0}, {"object", "handle-7"}} << qint64(0)
                                                << qint64(-1);
        QTest::newRow("object missing") << QJsonObject{{"page", 0}} << qint64(0) << qint64(-1);
        QTest::newRow("page negative") << QJsonObject{{"page", -1}, {"object", 1}} << qint64(-1) << qint64(1);
        QTest::newRow("page a string") << QJsonObject{{"page", "0"}, {"object", 1}} << qint64(-1) << qint64(1);
    }

    void editRequestFields()
    {
        QFETCH(QJsonObject, json);
        QFETCH(qint64, page);
        QFETCH(qint64, object);
        const TextObjectEditRequest read = TextObjectEditRequest::fromJson(json);
        QCOMPARE(read.page, page);
        QCOMPARE(read.objectIndex(), object);
        QCOMPARE(read.text, QString());
    }
};

QTEST_GUILESS_MAIN(TextObjectsContractTest)
#include "TextObjectsContractTest.moc"
