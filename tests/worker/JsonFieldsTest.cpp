// The one JSON field reader: each kind of field against the values a
// request or reply may hold, from the exact edge to every wrong type.

#include "worker/contract/JsonFields.h"

#include <QJsonDocument>
#include <QTest>

#include <limits>

using namespace velk;

namespace {

// Parses one JSON object text; the reader sees what the wire gives it.
QJsonObject parsed(const QByteArray& text)
{
    return QJsonDocument::fromJson(text).object();
}

} // namespace

class JsonFieldsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void integers_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<qint64>("minimum");
        QTest::addColumn<qint64>("maximum");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<qint64>("expected");

        QTest::newRow("zero") << QByteArray(R"({"v":0})") << qint64(0) << qint64(10) << true << qint64(0);
        QTest::newRow("at maximum") << QByteArray(R"({"v":10})") << qint64(0) << qint64(10) << true << qint64(10);
        QTest::newRow("above maximum") << QByteArray(R"({"v":11})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("below minimum") << QByteArray(R"({"v":-1})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("negative allowed") << QByteArray(R"({"v":-1})") << qint64(-1) << qint64(10) << true << qint64(-1);
        QTest::newRow("whole double") << QByteArray(R"({"v":3.0})") << qint64(0) << qint64(10) << true << qint64(3);
        QTest::newRow("exponent") << QByteArray(R"({"v":1e3})") << qint64(0) << qint64(5000) << true << qint64(1000);
        QTest::newRow("fraction") << QByteArray(R"({"v":2.5})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("one as default twin") << QByteArray(R"({"v":1})") << qint64(0) << qint64(10) << true << qint64(1);
        QTest::newRow("2^32") << QByteArray(R"({"v":4294967296})") << qint64(0)
                              << std::numeric_limits<qint64>::max() << true << qint64(4294967296);
        QTest::newRow("2^63") << QByteArray(R"({"v":9223372036854775808})") << qint64(0)
                              << std::numeric_limits<qint64>::max() << false << qint64(0);
        QTest::newRow("1e300") << QByteArray(R"({"v":1e300})") << qint64(0)
                               << std::numeric_limits<qint64>::max() << false << qint64(0);
        QTest::newRow("string") << QByteArray(R"({"v":"3"})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("boolean") << QByteArray(R"({"v":true})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("null") << QByteArray(R"({"v":null})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("array") << QByteArray(R"({"v":[1]})") << qint64(0) << qint64(10) << false << qint64(0);
        QTest::newRow("missing") << QByteArray(R"({"w":1})") << qint64(0) << qint64(10) << false << qint64(0);
    }

    void integers()
    {
        QFETCH(QByteArray, json);
        QFETCH(qint64, minimum);
        QFETCH(qint64, maximum);
        QFETCH(bool, accepted);
        QFETCH(qint64, expected);
        const auto value = JsonFields::integer(parsed(json), QStringLiteral("v"), minimum, maximum);
        QCOMPARE(value.has_value(), accepted);
        if (accepted)
            QCOMPARE(*value, expected);
    }

    void indices_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<qint64>("expected");

        QTest::newRow("first") << QByteArray(R"({"v":0})") << qint64(0);
        QTest::newRow("at maximum") << QByteArray(R"({"v":9})") << qint64(9);
        QTest::newRow("whole double") << QByteArray(R"({"v":2.0})") << qint64(2);
        QTest::newRow("above maximum") << QByteArray(R"({"v":10})") << qint64(-1);
        QTest::newRow("negative") << QByteArray(R"({"v":-3})") << qint64(-1);
        QTest::newRow("fraction") << QByteArray(R"({"v":0.5})") << qint64(-1);
        QTest::newRow("string") << QByteArray(R"({"v":"1"})") << qint64(-1);
        QTest::newRow("missing") << QByteArray(R"({})") << qint64(-1);
    }

    void indices()
    {
        QFETCH(QByteArray, json);
        QFETCH(qint64, expected);
        QCOMPARE(JsonFields::index(parsed(json), QStringLiteral("v"), 9), expected);
    }

    void strings_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("empty") << QByteArray(R"({"v":""})") << 4 << true;
        QTest::newRow("at limit") << QByteArray(R"({"v":"abcd"})") << 4 << true;
        QTest::newRow("over limit") << QByteArray(R"({"v":"abcde"})") << 4 << false;
        // Counted in UTF-16 units: one letter outside the basic plane is two.
        QTest::newRow("surrogate pair over") << QByteArray("{\"v\":\"abc\xF0\x9F\x98\x80\"}") << 4 << false;
        QTest::newRow("Turkish letters") << QByteArray("{\"v\":\"\xC4\x9F\xC4\xB1\xC4\xB0\xC5\x9F\"}") << 4 << true;
        QTest::newRow("number") << QByteArray(R"({"v":1})") << 4 << false;
        QTest::newRow("null") << QByteArray(R"({"v":null})") << 4 << false;
        QTest::newRow("missing") << QByteArray(R"({})") << 4 << false;
    }

    void strings()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, maxLength);
        QFETCH(bool, accepted);
        QCOMPARE(JsonFields::string(parsed(json), QStringLiteral("v"), maxLength).has_value(), accepted);
    }

    void arraysAndObjects()
    {
        const QJsonObject object = parsed(R"({"a":[1,2,3],"o":{"k":1},"s":"x"})");
        QCOMPARE(JsonFields::array(object, QStringLiteral("a"), 3).value().size(), 3);
        QVERIFY(!JsonFields::array(object, QStringLiteral("a"), 2));
        QVERIFY(!JsonFields::array(object, QStringLiteral("o"), 10));
        QVERIFY(!JsonFields::array(object, QStringLiteral("missing"), 10));
        QCOMPARE(JsonFields::object(object, QStringLiteral("o")).value().value(QStringLiteral("k")).toInt(), 1);
        QVERIFY(!JsonFields::object(object, QStringLiteral("a")));
        QVERIFY(!JsonFields::object(object, QStringLiteral("s")));
    }

    void booleansAndNumbers()
    {
        const QJsonObject object = parsed(R"({"t":true,"n":1,"d":0.5,"big":1e300})");
        QCOMPARE(JsonFields::boolean(object, QStringLiteral("t")), std::optional<bool>(true));
        QVERIFY(!JsonFields::boolean(object, QStringLiteral("n")));
        QCOMPARE(JsonFields::number(object, QStringLiteral("d"), 0.0, 1.0), std::optional<double>(0.5));
        QVERIFY(!JsonFields::number(object, QStringLiteral("big"), 0.0, 1e10));
        QVERIFY(!JsonFields::number(object, QStringLiteral("t"), 0.0, 1.0));
    }

    void base64_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("empty") << QByteArray(R"({"v":""})") << 4 << true << QByteArray();
        QTest::newRow("three bytes") << QByteArray(R"({"v":"YWJj"})") << 3 << true << QByteArray("abc");
        QTest::newRow("padded at limit") << QByteArray(R"({"v":"YWJjZA=="})") << 4 << true << QByteArray("abcd");
        QTest::newRow("padded over limit") << QByteArray(R"({"v":"YWJjZA=="})") << 3 << false << QByteArray();
        QTest::newRow("missing padding") << QByteArray(R"({"v":"YWJjZA"})") << 4 << false << QByteArray();
        QTest::newRow("space") << QByteArray(R"({"v":"YW Jj"})") << 4 << false << QByteArray();
        QTest::newRow("url alphabet") << QByteArray(R"({"v":"__-_"})") << 4 << false << QByteArray();
        QTest::newRow("non-Latin") << QByteArray("{\"v\":\"YWJ\xC4\x9F\"}") << 4 << false << QByteArray();
        QTest::newRow("number") << QByteArray(R"({"v":12})") << 4 << false << QByteArray();
    }

    void base64()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, maxBytes);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, expected);
        const auto value = JsonFields::base64(parsed(json), QStringLiteral("v"), maxBytes);
        QCOMPARE(value.has_value(), accepted);
        if (accepted)
            QCOMPARE(*value, expected);
    }

    void hex_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("empty") << QByteArray(R"({"v":""})") << 2 << true << QByteArray();
        QTest::newRow("mixed case") << QByteArray(R"({"v":"0aFf"})") << 2 << true << QByteArray("\x0a\xff", 2);
        QTest::newRow("over limit") << QByteArray(R"({"v":"0aFf00"})") << 2 << false << QByteArray();
        QTest::newRow("odd length") << QByteArray(R"({"v":"0aF"})") << 2 << false << QByteArray();
        QTest::newRow("not hex") << QByteArray(R"({"v":"0g"})") << 2 << false << QByteArray();
        QTest::newRow("non-ASCII") << QByteArray("{\"v\":\"0\xC4\x9F\"}") << 2 << false << QByteArray();
    }

    void hex()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, maxBytes);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, expected);
        const auto value = JsonFields::hex(parsed(json), QStringLiteral("v"), maxBytes);
        QCOMPARE(value.has_value(), accepted);
        if (accepted)
            QCOMPARE(*value, expected);
    }
};

QTEST_GUILESS_MAIN(JsonFieldsTest)
#include "JsonFieldsTest.moc"
