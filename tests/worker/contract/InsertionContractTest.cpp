// "addText" and "addNote" through their contract: the request round trips
// under both names; a page, text, point or size of the wrong kind or beyond
// its bound is refused, an absent size asks for the default.

#include "worker/contract/operations/InsertionContract.h"

#include "support/JsonEdits.h"

#include <QTest>

#include <limits>

using namespace velk;
using velk::test::with;

namespace {

QJsonObject good()
{
    return QJsonObject{{"operation", "addText"}, {"path", "/tmp/a.pdf"}, {"page", 2}, {"text", "Merhaba"},
                       {"x", 0.25},              {"y", 0.75},             {"size", 14}, {"output", "/tmp/o.pdf"}};
}

} // namespace

class InsertionContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<bool>("note");
        QTest::newRow("addText") << false;
        QTest::newRow("addNote") << true;
    }

    void roundTrip()
    {
        QFETCH(bool, note);
        InsertionRequest request;
        request.note = note;
        request.path = QStringLiteral("/tmp/a.pdf");
        request.page = 9999;
        request.text = QStringLiteral("İki\nsatır");
        request.x = 1.0;
        request.y = 0.0;
        request.size = 6.0;
        request.output = QStringLiteral("/tmp/o.pdf");
        const QJsonObject json = request.toJson();
        QCOMPARE(json.value("operation").toString(), note ? QStringLiteral("addNote") : QStringLiteral("addText"));
        const std::optional<InsertionRequest> read = InsertionRequest::fromJson(json);
        QVERIFY(read);
        QCOMPARE(read->note, note);
        QCOMPARE(read->path, request.path);
        QCOMPARE(read->page, 9999);
        QCOMPARE(read->text, request.text);
        QCOMPARE(read->x, 1.0);
        QCOMPARE(read->y, 0.0);
        QCOMPARE(read->size, 6.0);
        QCOMPARE(read->output, request.output);
    }

    void outputLeftToTheTask()
    {
        InsertionRequest request;
        request.text = QStringLiteral("a");
        QVERIFY(!request.toJson().contains("output"));
    }

    void fields_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("size");

        QTest::newRow("good") << good() << true << 14.0;
        QTest::newRow("size absent: default") << with(good(), "size", QJsonValue::Undefined) << true << 14.0;
        QTest::newRow("size a string: default") << with(good(), "size", "20") << true << 14.0;
        QTest::newRow("size 120") << with(good(), "size", 120) << true << 120.0;
        QTest::newRow("size 120.000001 held as 120 in single precision")
            << with(good(), "size", 120.000001) << true << 120.0;
        QTest::newRow("size 5.99") << with(good(), "size", 5.99) << false << 0.0;
        QTest::newRow("size 121") << with(good(), "size", 121) << false << 0.0;
        QTest::newRow("size 1e300") << with(good(), "size", 1e300) << false << 0.0;
        QTest::newRow("size NaN") << with(good(), "size", std::numeric_limits<double>::quiet_NaN()) << false << 0.0;
        QTest::newRow("size infinite") << with(good(), "size", std::numeric_limits<double>::infinity()) << false
                                       << 0.0;
        QTest::newRow("x NaN") << with(good(), "x", std::numeric_limits<double>::quiet_NaN()) << false << 0.0;
        QTest::newRow("page missing") << with(good(), "page", QJsonValue::Undefined) << false << 0.0;
        QTest::newRow("page 10000") << with(good(), "page", 10000) << false << 0.0;
        QTest::newRow("page negative") << with(good(), "page", -1) << false << 0.0;
        QTest::newRow("page fraction") << with(good(), "page", 0.5) << false << 0.0;
        QTest::newRow("page a string") << with(good(), "page", "0") << false << 0.0;
        QTest::newRow("text blank") << with(good(), "text", " \n\t") << false << 0.0;
        QTest::newRow("text with a zero") << with(good(), "text", QString(QString(QChar(0)) + QStringLiteral("a"))) << false << 0.0;
        QTest::newRow("text 10000 units") << with(good(), "text", QString(10000, 'a')) << true << 14.0;
        QTest::newRow("text 10001 units") << with(good(), "text", QString(10001, 'a')) << false << 0.0;
        QTest::newRow("text a number") << with(good(), "text", 1) << false << 0.0;
        QTest::newRow("x negative") << with(good(), "x", -0.01) << false << 0.0;
        QTest::newRow("y beyond 1") << with(good(), "y", 1.01) << false << 0.0;
        QTest::newRow("x a string") << with(good(), "x", "0.5") << false << 0.0;
        QTest::newRow("y missing") << with(good(), "y", QJsonValue::Undefined) << false << 0.0;
    }

    void fields()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QFETCH(double, size);
        const std::optional<InsertionRequest> read = InsertionRequest::fromJson(json);
        QCOMPARE(read.has_value(), accepted);
        if (accepted)
            QCOMPARE(read->size, size);
    }
};

QTEST_GUILESS_MAIN(InsertionContractTest)
#include "InsertionContractTest.moc"
