// velk-secure-store, run as a real process on a fresh data directory: which
// requests it takes and which it refuses, and that a refused request leaves
// no trace on disk.

#include "StoreHome.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace velk::test;

namespace {

const QString kInvalid = QStringLiteral("Güvenli depo isteği geçersiz.");
const QString kFormat = QStringLiteral("Güvenli kayıt biçimi geçersiz.");
const QString kTooLarge = QStringLiteral("Güvenli kayıt sınırı aşıldı.");

constexpr qsizetype kMaxRecordBytes = 24576;
constexpr qsizetype kMaxRequestBytes = 32768;

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// {"f":"xx…"} serialised to exactly size bytes.
QJsonObject recordOfSize(qsizetype size)
{
    return QJsonObject{{QStringLiteral("f"), QString(size - 8, QLatin1Char('x'))}};
}

QByteArray requestWith(const QJsonValue& operation, const QJsonValue& account)
{
    return compact(QJsonObject{{QStringLiteral("operation"), operation}, {QStringLiteral("account"), account}});
}

} // namespace

class StoreRequestTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("error"); // empty: the request succeeds

        const QString test = QStringLiteral("test-abcdefgh");
        QTest::newRow("update device account") << storeRequest("read", "update-Velk-HW-AB12-CD34") << QString();
        QTest::newRow("device account") << storeRequest("read", "Velk-HW-0000-ZZ99") << QString();
        QTest::newRow("test account") << storeRequest("read", test) << QString();
        QTest::newRow("80 after test-") << storeRequest("read", "test-" + QString(80, 'a')) << QString();
        QTest::newRow("clear") << storeRequest("clear", test) << QString();
        QTest::newRow("lower-case device") << storeRequest("read", "Velk-HW-ab12-CD34") << kInvalid;
        QTest::newRow("too short") << storeRequest("read", "test-abc") << kInvalid;
        QTest::newRow("empty account") << storeRequest("read", "") << kInvalid;
        QTest::newRow("81 after test-") << storeRequest("read", "test-" + QString(81, 'a')) << kInvalid;
        QTest::newRow("line feed after test") << storeRequest("read", test + "\n") << kInvalid;
        QTest::newRow("line feed after device") << storeRequest("read", "Velk-HW-AB12-CD34\n") << kInvalid;
        QTest::newRow("underscore") << storeRequest("read", "test-abcd_efgh") << kInvalid;
        QTest::newRow("other prefix") << storeRequest("read", "backup-Velk-HW-AB12-CD34") << kInvalid;
        QTest::newRow("account a number") << requestWith("read", 12345678) << kInvalid;
        QTest::newRow("account missing") << compact({{"operation", "read"}}) << kInvalid;
        QTest::newRow("Read") << storeRequest("Read", test) << kInvalid;
        QTest::newRow("unknown operation") << storeRequest("list", test) << kInvalid;
        QTest::newRow("operation missing") << compact({{"account", test}}) << kInvalid;
        QTest::newRow("operation an array") << requestWith(QJsonArray{"read"}, test) << kInvalid;
        QTest::newRow("not JSON") << QByteArray("{\"operation\":\"read\",") << kInvalid;
        QTest::newRow("array") << QByteArray("[{\"operation\":\"read\"}]") << kInvalid;
        QTest::newRow("write without record") << storeRequest("write", test) << kFormat;
        QTest::newRow("record an array")
            << compact({{"operation", "write"}, {"account", test}, {"record", QJsonArray{1}}}) << kFormat;
        QTest::newRow("record a string")
            << compact({{"operation", "write"}, {"account", test}, {"record", "{}"}}) << kFormat;
        QTest::newRow("record of 24,576 bytes") << writeRequest(test, recordOfSize(kMaxRecordBytes)) << QString();
        QTest::newRow("record of 24,577 bytes") << writeRequest(test, recordOfSize(kMaxRecordBytes + 1)) << kTooLarge;

        // The largest request is still read whole: its record's size is what
        // it is refused for. One byte more, and it is not read at all.
        QByteArray largest = writeRequest(test, recordOfSize(kMaxRecordBytes + 1));
        largest.insert(largest.size() - 3, QByteArray(kMaxRequestBytes - largest.size(), 'x'));
        QTest::newRow("request of 32,768 bytes") << largest << kTooLarge;
        QTest::newRow("request of 32,769 bytes") << largest.insert(largest.size() - 3, 'x') << kInvalid;
    }

    void requests()
    {
        QFETCH(QByteArray, request);
        QFETCH(QString, error);
        const StoreHome home;
        QVERIFY(home.isValid());
        const StoreRun run = home.run(request);
        QVERIFY(run.finished);
        QVERIFY(run.output.endsWith('}'));
        QCOMPARE(run.error(), error);
        QCOMPARE(run.reply().value("ok").toBool(), error.isEmpty());
        QCOMPARE(run.exitCode, error.isEmpty() ? 0 : 1);
        QCOMPARE(run.errorOutput, QByteArray());
        // Only a request that passed every check prepares the store.
        QCOMPARE(QFileInfo(home.storeDirectory()).isDir(), error.isEmpty());
    }

    void recordAtTheLimitReadsBack()
    {
        const StoreHome home;
        const QJsonObject record = recordOfSize(kMaxRecordBytes);
        QCOMPARE(compact(record).size(), kMaxRecordBytes);
        QCOMPARE(home.write("test-abcdefgh", record).exitCode, 0);
        const StoreRun run = home.read("test-abcdefgh");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.reply().value("record").toObject(), record);
    }
};

QTEST_GUILESS_MAIN(StoreRequestTest)
#include "StoreRequestTest.moc"
