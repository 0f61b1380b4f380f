// What the runner makes of the sandbox's result: when the output may be read,
// the size limit, the parse, "ok" against the exit status, and which
// sentence the user sees.

#include "ReplyInterpretation.h"

#include <QJsonDocument>
#include <QTest>

using namespace velk;

namespace {

const QString kSandbox = QStringLiteral(
    "PDF işleyicisi yalıtılmış ortamda tamamlanamadı. Sistem yalıtım desteğini ve süre sınırını kontrol edin.");
const QByteArray kExited1 = "Restricted worker exited with code 0x00000001";
const QByteArray kExited3 = "Restricted worker exited with code 0x00000003";
constexpr qsizetype kReplyLimit = 46137344;

// A valid JSON object of exactly `size` bytes.
QByteArray objectOfSize(qsizetype size)
{
    const QByteArray head = "{\"ok\":true,\"pad\":\"";
    const QByteArray tail = "\"}";
    return head + QByteArray(size - head.size() - tail.size(), 'x') + tail;
}

} // namespace

class ReplyInterpretationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void interpret_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("sandboxError");
        QTest::addColumn<quint32>("exitStatus");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("jsonKept");

        const QByteArray failedX = R"({"code":0,"error":"X","ok":false})";
        QTest::newRow("clean success") << QByteArray(R"({"ok":true,"pages":[]})") << QByteArray() << 0u << QString() << true;
        QTest::newRow("ok false, exit 1: worker's sentence, json kept")
            << failedX << kExited1 << 1u << QString("X") << true;
        QTest::newRow("ok false on a clean run") << failedX << QByteArray() << 0u << QString("X") << true;
        QTest::newRow("ok true, exit 3") << QByteArray(R"({"ok":true})") << kExited3 << 3u << kSandbox << false;
        QTest::newRow("ok true, exit 3, no sandbox text")
            << QByteArray(R"({"ok":true})") << QByteArray() << 3u << QString("PDF işleyicisi hata bildirdi.") << false;
        QTest::newRow("ok true, exit 1 reported as exited")
            << QByteArray(R"({"ok":true})") << kExited1 << 1u << QString("PDF işleyicisi hata bildirdi.") << false;
        QTest::newRow("ok false, error missing") << QByteArray(R"({"ok":false})") << kExited1 << 1u
                                                 << QString("PDF işlemi tamamlanamadı.") << true;
        QTest::newRow("ok false, error a number") << QByteArray(R"({"ok":false,"error":5})") << kExited1 << 1u
                                                  << QString("PDF işlemi tamamlanamadı.") << true;
        QTest::newRow("ok false, error empty") << QByteArray(R"({"ok":false,"error":""})") << kExited1 << 1u
                                               << QString("PDF işlemi tamamlanamadı.") << true;
        QTest::newRow("ok missing counts as false") << QByteArray(R"({"error":"Y"})") << QByteArray() << 0u
                                                    << QString("Y") << true;
        QTest::newRow("ok a string counts as false") << QByteArray(R"({"ok":"true","error":"Z"})") << QByteArray()
                                                     << 0u << QString("Z") << true;
        QTest::newRow("not an object") << QByteArray("[1,2]") << QByteArray() << 0u
                                       << QString("PDF işleyicisi geçersiz yanıt verdi.") << false;
        QTest::newRow("syntax error") << QByteArray("{\"ok\":tru") << QByteArray() << 0u
                                      << QString("PDF işleyicisi geçersiz yanıt verdi.") << false;
        QTest::newRow("empty output, clean") << QByteArray() << QByteArray() << 0u
                                             << QString("PDF işleyicisi geçersiz yanıt verdi.") << false;
        QTest::newRow("output at the limit") << objectOfSize(kReplyLimit) << QByteArray() << 0u << QString() << true;
        QTest::newRow("output above the limit") << objectOfSize(kReplyLimit + 1) << QByteArray() << 0u
                                                << QString("PDF işleyicisi çıktı sınırını aştı.") << false;
        QTest::newRow("timed out after half a reply")
            << QByteArray("{\"ok\":true,\"pix") << QByteArray("Sandbox cancelled or timed out") << 1u << kSandbox << false;
        QTest::newRow("cancelled, complete failure reply")
            << failedX << QByteArray("Sandbox cancelled or timed out") << 1u << kSandbox << false;
        QTest::newRow("set-up failure") << QByteArray() << QByteArray("Restricted worker could not start") << 1u
                                        << kSandbox << false;
        QTest::newRow("output limit exceeded in the sandbox")
            << failedX << QByteArray("Sandbox output limit exceeded") << 1u << kSandbox << false;
        QTest::newRow("exited with 1 but nothing written") << QByteArray() << kExited1 << 1u << kSandbox << false;
        QTest::newRow("exited text with another status") << failedX << kExited3 << 3u << kSandbox << false;
        QTest::newRow("exit text not at the start")
            << failedX << QByteArray("Sandbox: Restricted worker exited with code 0x00000001") << 1u << kSandbox << false;
    }

    void interpret()
    {
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, sandboxError);
        QFETCH(quint32, exitStatus);
        QFETCH(QString, error);
        QFETCH(bool, jsonKept);

        const SandboxResult result{output, sandboxError, exitStatus};
        const WorkerReply reply = ReplyInterpretation::interpret(result);
        QCOMPARE(reply.error, error);
        if (jsonKept)
            QCOMPARE(reply.json, QJsonDocument::fromJson(output).object());
        else
            QVERIFY(reply.json.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ReplyInterpretationTest)
#include "ReplyInterpretationTest.moc"
