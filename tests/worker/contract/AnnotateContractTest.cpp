// "annotate" through its contract: the request round trips; a page of the
// wrong kind reads as -1 for the worker to refuse first; an unknown kind or
// an area outside the page or too small is no usable shape.

#include "worker/contract/operations/AnnotateContract.h"

#include "support/JsonEdits.h"

#include <QTest>

#include <limits>

using namespace velk;
using velk::test::with;

namespace {

QJsonObject good()
{
    return QJsonObject{{"operation", "annotate"}, {"page", 1}, {"kind", "highlight"}, {"left", 0.1},
                       {"top", 0.2},              {"right", 0.3}, {"bottom", 0.4}};
}

} // namespace

class AnnotateContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        AnnotateRequest request;
        request.path = QStringLiteral("/tmp/a.pdf");
        request.page = 9999;
        request.kind = QStringLiteral("ellipse");
        request.left = 0;
        request.top = 0;
        request.right = 1;
        request.bottom = 1;
        request.output = QStringLiteral("/tmp/o.pdf");
        const AnnotateRequest read = AnnotateRequest::fromJson(request.toJson());
        QCOMPARE(read.path, request.path);
        QCOMPARE(read.page, 9999);
        QCOMPARE(read.kind, request.kind);
        QCOMPARE(read.left, 0.0);
        QCOMPARE(read.bottom, 1.0);
        QCOMPARE(read.output, request.output);
        QVERIFY(read.hasUsableShape());
    }

    void pathAndOutputLeftToTheTask()
    {
        const QJsonObject json = AnnotateRequest().toJson();
        QCOMPARE(json.value("operation").toString(), QStringLiteral("annotate"));
        QVERIFY(!json.contains("path"));
        QVERIFY(!json.contains("output"));
    }

    void fields_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<qint64>("page");
        QTest::addColumn<bool>("usable");

        QTest::newRow("good") << good() << qint64(1) << true;
        QTest::newRow("rectangle") << with(good(), "kind", "rectangle") << qint64(1) << true;
        QTest::newRow("kind capitalised") << with(good(), "kind", "Highlight") << qint64(1) << false;
        QTest::newRow("kind a number") << with(good(), "kind", 1) << qint64(1) << false;
        QTest::newRow("kind missing") << with(good(), "kind", QJsonValue::Undefined) << qint64(1) << false;
        QTest::newRow("page missing") << with(good(), "page", QJsonValue::Undefined) << qint64(-1) << true;
        QTest::newRow("page 10000") << with(good(), "page", 10000) << qint64(-1) << true;
        QTest::newRow("page fraction") << with(good(), "page", 1.5) << qint64(-1) << true;
        QTest::newRow("page a string") << with(good(), "page", "1") << qint64(-1) << true;
        QTest::newRow("left negative") << with(good(), "left", -0.1) << qint64(1) << false;
        QTest::newRow("bottom beyond 1") << with(good(), "bottom", 1.1) << qint64(1) << false;
        QTest::newRow("right a string") << with(good(), "right", "0.3") << qint64(1) << false;
        QTest::newRow("top missing") << with(good(), "top", QJsonValue::Undefined) << qint64(1) << false;
        QTest::newRow("width 0.002") << with(with(good(), "left", 0.5), "right", 0.502) << qint64(1) << true;
        QTest::newRow("width 0.0019") << with(with(good(), "left", 0.5), "right", 0.5019) << qint64(1) << false;
        QTest::newRow("left NaN") << with(good(), "left", std::numeric_limits<double>::quiet_NaN()) << qint64(1)
                                  << false;
        QTest::newRow("right infinite") << with(good(), "right", std::numeric_limits<double>::infinity()) << qint64(1)
                                        << false;
        QTest::newRow("inverted") << with(with(good(), "top", 0.5), "bottom", 0.2) << qint64(1) << false;
    }

    void fields()
    {
        QFETCH(QJsonObject, json);
        QFETCH(qint64, page);
        QFETCH(bool, usable);
        const AnnotateRequest read = AnnotateRequest::fromJson(json);
        QCOMPARE(read.page, page);
        QCOMPARE(read.hasUsableShape(), usable);
    }
};

QTEST_GUILESS_MAIN(AnnotateContractTest)
#include "AnnotateContractTest.moc"
