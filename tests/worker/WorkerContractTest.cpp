// The framing every worker shares, exercised in-process through memory
// streams for each of the four profiles.

#include "worker/contract/WorkerContract.h"

#include <QJsonDocument>
#include <QTest>

#include <cstdio>

using namespace velk;

namespace {

// A compact JSON object of exactly `size` bytes.
QByteArray objectOfSize(qsizetype size)
{
    const QByteArray head = "{\"operation\":\"inspect\",\"pad\":\"";
    const QByteArray tail = "\"}";
    return head + QByteArray(size - head.size() - tail.size(), 'a') + tail;
}

struct Served {
    int status = -1;
    QByteArray output;
    bool handlerSawValid = false;
    QJsonObject handlerObject;
    QByteArray handlerPin;
};

Served serveBytes(const WorkerProfile& profile, const QByteArray& input, bool readOnlyOutput = false)
{
    Served served;
    QByteArray inputCopy = input;
    std::FILE* in = inputCopy.isEmpty() ? std::fopen("/dev/null", "r")
                                        : fmemopen(inputCopy.data(), size_t(inputCopy.size()), "r");
    char* buffer = nullptr;
    size_t length = 0;
    std::FILE* out = readOnlyOutput ? std::fopen("/dev/null", "r") : open_memstream(&buffer, &length);
    served.status = WorkerContract::serve(profile, [&](ParsedRequest& request) {
        served.handlerSawValid = request.valid;
        served.handlerObject = request.object;
        served.handlerPin = request.pin;
        if (!request.valid)
            return WorkerContract::invalidRequestReply(profile);
        return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("zeta"), 1}, {QStringLiteral("alpha"), 2}};
    }, in, out);
    std::fclose(in);
    std::fclose(out);
    if (!readOnlyOutput) {
        served.output = QByteArray(buffer, qsizetype(length));
        std::free(buffer);
    }
    return served;
}

const WorkerProfile& profileNamed(const QByteArray& name)
{
    if (name == "pdf")
        return WorkerProfiles::pdfWorker();
    if (name == "token")
        return WorkerProfiles::tokenWorker();
    if (name == "store")
        return WorkerProfiles::secureStore();
    return WorkerProfiles::officeWorker();
}

// The token worker's input carries a line feed and the PIN after the JSON.
QByteArray frame(const QByteArray& profile, const QByteArray& json)
{
    return profile == "token" ? json + "\n1234" : json;
}

} // namespace

class WorkerContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void framingEdges_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("valid");

        const struct { const char* name; qsizetype limit; } limits[] = {
            {"pdf", 262144}, {"token", 262144}, {"store", 32768}, {"office", 8192}};
        for (const auto& row : limits) {
            const QByteArray p = row.name;
            // The token worker's limit covers JSON, line feed and PIN together.
            const qsizetype pinOverhead = p == "token" ? 5 : 0;
            QTest::addRow("%s exactly the limit", row.name) << p << frame(p, objectOfSize(row.limit - pinOverhead)) << true;
            QTest::addRow("%s one byte over", row.name) << p << frame(p, objectOfSize(row.limit - pinOverhead + 1)) << false;
            QTest::addRow("%s empty input", row.name) << p << QByteArray() << false;
            QTest::addRow("%s array", row.name) << p << frame(p, "[1,2]") << false;
            QTest::addRow("%s syntax error", row.name) << p << frame(p, "{\"a\":") << false;
            QTest::addRow("%s string", row.name) << p << frame(p, "\"x\"") << false;
            QTest::addRow("%s far over the limit", row.name) << p << QByteArray(row.limit * 3, ' ') << false;
        }
        // Only the token worker accepts bytes after the JSON object.
        QTest::newRow("pdf trailing line") << QByteArray("pdf") << QByteArray("{}\n1234") << false;
        QTest::newRow("token without line feed") << QByteArray("token") << QByteArray("{}") << false;
        QTest::newRow("token empty pin") << QByteArray("token") << QByteArray("{}\n") << true;
        QTest::newRow("token 128 pin bytes") << QByteArray("token") << QByteArray("{}\n" + QByteArray(128, '7')) << true;
        QTest::newRow("token 129 pin bytes") << QByteArray("token") << QByteArray("{}\n" + QByteArray(129, '7')) << false;
        QTest::newRow("token zero byte in pin") << QByteArray("token") << QByteArray("{}\n12\0" "34", 7) << false;
        QTest::newRow("token pin key in json") << QByteArray("token") << QByteArray("{\"pin\":\"1\"}\n1") << false;
    }

    void framingEdges()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QByteArray, input);
        QFETCH(bool, valid);
        const WorkerProfile& p = profileNamed(profile);
        const Served served = serveBytes(p, input);
        QCOMPARE(served.handlerSawValid, valid);
        const QJsonObject reply = QJsonDocument::fromJson(served.output).object();
        if (valid) {
            QCOMPARE(reply.value("ok").toBool(), true);
            QCOMPARE(served.status, p.exitOk);
        } else {
            QCOMPARE(reply.value("ok").toBool(true), false);
            QCOMPARE(reply.value("error").toString(), p.invalidRequestError);
            QCOMPARE(reply.contains("code"), p.invalidReplyHasCode);
            QCOMPARE(served.status, p.exitFailed);
            QVERIFY(served.handlerObject.isEmpty());
            QVERIFY(served.handlerPin.isEmpty());
        }
    }

    void invalidRequestSentences_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<int>("status");
        QTest::newRow("pdf") << QByteArray("pdf") << QStringLiteral("PDF işlem isteği geçersiz.") << 1;
        QTest::newRow("token") << QByteArray("token") << QStringLiteral("Token isteği geçersiz.") << 1;
        QTest::newRow("store") << QByteArray("store") << QStringLiteral("Güvenli depo isteği geçersiz.") << 1;
        QTest::newRow("office") << QByteArray("office") << QStringLiteral("Word dönüşüm isteği geçersiz.") << 42;
    }

    void invalidRequestSentences()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QString, sentence);
        QFETCH(int, status);
        const Served served = serveBytes(profileNamed(profile), QByteArray());
        QCOMPARE(QJsonDocument::fromJson(served.output).object().value("error").toString(), sentence);
        QCOMPARE(served.status, status);
    }

    void replyIsCompactSortedAndEndsWithBrace()
    {
        const Served served = serveBytes(WorkerProfiles::pdfWorker(), "{\"operation\":\"x\"}");
        QCOMPARE(served.output, QByteArray("{\"alpha\":2,\"ok\":true,\"zeta\":1}"));
        const Served failed = serveBytes(WorkerProfiles::pdfWorker(), "[]");
        QCOMPARE(failed.output, QByteArray("{\"code\":0,\"error\":\"PDF işlem isteği geçersiz.\",\"ok\":false}"));
    }

    void tokenPinIsHandedSeparately()
    {
        const Served served = serveBytes(WorkerProfiles::tokenWorker(), "{\"operation\":\"list\"}\n0000");
        QVERIFY(served.handlerSawValid);
        QCOMPARE(served.handlerPin, QByteArray("0000"));
        QCOMPARE(served.handlerObject.value("operation").toString(), QStringLiteral("list"));
    }

    void unwritableOutputGivesNoOutputStatus_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<int>("status");
        QTest::newRow("pdf") << QByteArray("pdf") << 2;
        QTest::newRow("token") << QByteArray("token") << 2;
        QTest::newRow("store") << QByteArray("store") << 2;
        QTest::newRow("office") << QByteArray("office") << 42;
    }

    void unwritableOutputGivesNoOutputStatus()
    {
        QFETCH(QByteArray, profile);
        QFETCH(int, status);
        const Served served = serveBytes(profileNamed(profile), frame(profile, "{}"), true);
        QCOMPARE(served.status, status);
    }

    void okMustBeABooleanTrue_data()
    {
        QTest::addColumn<QJsonObject>("reply");
        QTest::addColumn<bool>("ok");
        QTest::newRow("true") << QJsonObject{{"ok", true}} << true;
        QTest::newRow("false") << QJsonObject{{"ok", false}} << false;
        QTest::newRow("missing") << QJsonObject{} << false;
        QTest::newRow("string") << QJsonObject{{"ok", "true"}} << false;
        QTest::newRow("number") << QJsonObject{{"ok", 1}} << false;
    }

    void okMustBeABooleanTrue()
    {
        QFETCH(QJsonObject, reply);
        QFETCH(bool, ok);
        QCOMPARE(WorkerContract::isOk(reply), ok);
    }

    void parseWipesTheInput()
    {
        QByteArray input = "{\"password\":\"gizli\"}";
        const ParsedRequest request = WorkerContract::parseRequest(WorkerProfiles::pdfWorker(), input);
        QVERIFY(request.valid);
        QCOMPARE(input, QByteArray(input.size(), '\0'));

        QByteArray office = "{\"path\":\"x\"}";
        WorkerContract::parseRequest(WorkerProfiles::officeWorker(), office);
        QCOMPARE(office, QByteArray("{\"path\":\"x\"}"));
    }
};

QTEST_GUILESS_MAIN(WorkerContractTest)
#include "WorkerContractTest.moc"
