// "inspect" through its contract: what the worker writes the client reads
// back unchanged, and every field of the wrong kind is refused, the page
// list with its own sentences.

#include "worker/contract/operations/InspectContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

QJsonObject withPages(QJsonObject json)
{
    json.insert(QStringLiteral("pages"), QJsonArray{QJsonArray{612, 792}});
    return json;
}

} // namespace

class InspectContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        InspectReply reply;
        reply.pageSizes = {QSizeF(595.276, 841.89), QSizeF(612, 792)};
        reply.signatureCount = 3;
        reply.protection = DocumentProtection{true, false, true};
        reply.permissions = 4294967295LL;
        const Decoded<InspectReply> read = InspectReply::fromJson(reply.toJson());
        QVERIFY(read.value);
        QCOMPARE(read.value->pageSizes, reply.pageSizes);
        QCOMPARE(read.value->signatureCount, 3);
        QVERIFY(read.value->protection == reply.protection);
        QCOMPARE(read.value->permissions, 4294967295LL);

        const QJsonObject request = InspectRequest{QStringLiteral("/tmp/a.pdf")}.toJson();
        QCOMPARE(request.value("operation").toString(), QStringLiteral("inspect"));
        QCOMPARE(request.value("path").toString(), QStringLiteral("/tmp/a.pdf"));
        QVERIFY(!request.contains("password"));
    }

    void refusals_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<QString>("error");

        const QString invalid = QStringLiteral("PDF sayfa bilgisi geçersiz.");
        QTest::newRow("pages missing") << QJsonObject{{"signatures", 0}} << invalid;
        QTest::newRow("pages a string") << QJsonObject{{"pages", "612x792"}} << invalid;
        QTest::newRow("side out of range") << QJsonObject{{"pages", QJsonArray{QJsonArray{612, 20001}}}}
                                           << QStringLiteral("PDF sayfa ölçüleri geçersiz.");
        QTest::newRow("signatures a fraction") << withPages({{"signatures", 1.5}}) << QString();
        QTest::newRow("signatures a string") << withPages({{"signatures", "2"}}) << QString();
        QTest::newRow("signatures below -1") << withPages({{"signatures", -2}}) << QString();
        QTest::newRow("signatures beyond int") << withPages({{"signatures", 2147483648.0}}) << QString();
        QTest::newRow("permissions beyond 32 bits") << withPages({{"permissions", 4294967296.0}}) << QString();
        QTest::newRow("permissions negative") << withPages({{"permissions", -1}}) << QString();
        QTest::newRow("signed a number") << withPages({{"signed", 0}}) << QString();
        QTest::newRow("encrypted a string") << withPages({{"encrypted", "false"}}) << QString();
    }

    void refusals()
    {
        QFETCH(QJsonObject, json);
        QFETCH(QString, error);
        const Decoded<InspectReply> read = InspectReply::fromJson(json);
        QVERIFY(!read.value);
        QCOMPARE(read.error, error);
    }

    void unreadableSignaturesAndDefaults()
    {
        const Decoded<InspectReply> unreadable = InspectReply::fromJson(withPages({{"signatures", -1}}));
        QVERIFY(unreadable.value);
        QCOMPARE(unreadable.value->signatureCount, -1);

        const Decoded<InspectReply> bare = InspectReply::fromJson(withPages({}));
        QVERIFY(bare.value);
        QCOMPARE(bare.value->signatureCount, 0);
        QVERIFY(bare.value->protection == DocumentProtection{});
    }
};

QTEST_GUILESS_MAIN(InspectContractTest)
#include "InspectContractTest.moc"
