// "render" through its contract: the request's page and width, and the
// reply's geometry and pixels, round trip; every bound and every field of
// the wrong kind is refused before a pixel is decoded.

#include "worker/contract/operations/RenderContract.h"

#include <QTest>

using namespace velk;

namespace {

QJsonObject replyOf(int width, int height, int stride, const QByteArray& pixels)
{
    return QJsonObject{{"ok", true},         {"format", "RGBA8888"}, {"width", width},
                       {"height", height},   {"stride", stride},     {"pixels", QString::fromLatin1(pixels.toBase64())}};
}

QJsonObject with(QJsonObject json, const QString& key, const QJsonValue& value)
{
    json.insert(key, value);
    return json;
}

} // namespace

class RenderContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestRoundTrip()
    {
        const RenderRequest request{QStringLiteral("/tmp/a.pdf"), 9999, 1200};
        const std::optional<RenderRequest> read = RenderRequest::fromJson(request.toJson());
        QVERIFY(read);
        QCOMPARE(read->path, request.path);
        QCOMPARE(read->page, 9999);
        QCOMPARE(read->width, 1200);
        QCOMPARE(request.toJson().value("operation").toString(), QStringLiteral("render"));
    }

    void requestFields_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<qint64>("width");

        QTest::newRow("page 0, no width") << QJsonObject{{"page", 0}} << true << qint64(1200);
        QTest::newRow("width kept for clamping") << QJsonObject{{"page", 0}, {"width", 100000}} << true
                                                 << qint64(100000);
        QTest::newRow("fractional width") << QJsonObject{{"page", 0}, {"width", 99.5}} << true << qint64(1200);
        QTest::newRow("string width") << QJsonObject{{"page", 0}, {"width", "800"}} << true << qint64(1200);
        QTest::newRow("page missing") << QJsonObject{{"width", 800}} << false << qint64(0);
        QTest::newRow("page negative") << QJsonObject{{"page", -1}} << false << qint64(0);
        QTest::newRow("page 10000") << QJsonObject{{"page", 10000}} << false << qint64(0);
        QTest::newRow("page fraction") << QJsonObject{{"page", 0.5}} << false << qint64(0);
        QTest::newRow("page string") << QJsonObject{{"page", "0"}} << false << qint64(0);
    }

    void requestFields()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QFETCH(qint64, width);
        const std::optional<RenderRequest> read = RenderRequest::fromJson(json);
        QCOMPARE(read.has_value(), accepted);
        if (accepted)
            QCOMPARE(read->width, width);
    }

    void replyRoundTrip()
    {
        const RenderReply reply{2, 3, QByteArray(24, '\x7f')};
        const std::optional<RenderReply> read = RenderReply::fromJson(reply.toJson());
        QVERIFY(read);
        QCOMPARE(read->width, 2);
        QCOMPARE(read->height, 3);
        QCOMPARE(read->pixels, reply.pixels);
    }

    void replyRefusals_data()
    {
        QTest::addColumn<QJsonObject>("json");

        const QByteArray six(6 * 4, '\0');
        const QJsonObject good = replyOf(2, 3, 8, six);
        QTest::newRow("width 0") << replyOf(0, 3, 0, {});
        QTest::newRow("width 4097") << with(good, "width", 4097);
        QTest::newRow("height 4097") << with(good, "height", 4097);
        QTest::newRow("over 8,000,000 pixels") << replyOf(4000, 2001, 16000, {});
        QTest::newRow("width fraction") << with(good, "width", 2.5);
        QTest::newRow("height string") << with(good, "height", "3");
        QTest::newRow("stride not four bytes a pixel") << with(good, "stride", 9);
        QTest::newRow("stride missing") << [&] { QJsonObject j = good; j.remove("stride"); return j; }();
        QTest::newRow("format BGRA") << with(good, "format", "BGRA8888");
        QTest::newRow("pixels short") << replyOf(2, 3, 8, QByteArray(23, '\0'));
        QTest::newRow("pixels long") << replyOf(2, 3, 8, QByteArray(25, '\0'));
        QTest::newRow("pixels not Base64") << with(good, "pixels", QString(32, QLatin1Char('*')));
        QTest::newRow("pixels a number") << with(good, "pixels", 0);
        QTest::newRow("pixels missing") << [&] { QJsonObject j = good; j.remove("pixels"); return j; }();
    }

    void replyRefusals()
    {
        QFETCH(QJsonObject, json);
        QVERIFY(!RenderReply::fromJson(json));
    }
};

QTEST_GUILESS_MAIN(RenderContractTest)
#include "RenderContractTest.moc"
