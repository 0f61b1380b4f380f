// What the runner makes of the sandbox's result: when the output may be read,
// the size limit, the parse, "ok" against the exit status, and which
// sentence the user sees.

#include "worker/runner/ReplyInterpretation.h"

#include <QJsonDocument>
#include <QTest>

using namespace velk;

namespace {

const QString kSandbox = QStringLiteral(
    "PDF işleyicisi yalıtılmış ortamda tamamlanamadı. Sistem yalıtım desteğini ve süre sınırını kontrol edin.");
constexpr SandboxOutcome kCompleted = SandboxOutcome::Completed;
constexpr SandboxOutcome kExited = SandboxOutcome::WorkerExited;
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
        QTest::addColumn<SandboxOutcome>("outcome");
        QTest::addColumn<quint32>("exitStatus");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("jsonKept");

        const QByteArray failedX = R"({"code":0,"error":"X","ok":false})";
        QTest::newRow("clean success") << QByteArray(R"({"ok":true,"pages":[]})") << kCompleted << 0u << QString() << true;
        QTest::newRow("ok false, exit 1: worker's sentence, json kept")
            << failedX << kExited << 1u << QString("X") << true;
        QTest::newRow("ok false on a clean run") << failedX << kCompleted << 0u << QString("X") << true;
        QTest::newRow("ok true, exit 3") << QByteArray(R"({"ok":true})") << kExited << 3u << kSandbox << false;
        QTest::newRow("ok true, exit 3, no sandbox text")
            << QByteArray(R"({"ok":true})") << kCompleted << 3u << QString("PDF işleyicisi hata bildirdi.") << false;
        QTest::newRow("ok true, exit 1 reported as exited")
            << QByteArray(R"({"ok":true})") << kExited << 1u << QString("PDF işleyicisi hata bildirdi.") << false;
        QTest::newRow("ok false, error missing") << QByteArray(R"({"ok":false})") << kExited << 1u
                                                 << QString("PDF işlemi tamamlanamadı.") << true;
        QTest::newRow("ok false, error a number") << QByteArray(R"({"ok":false,"error":5})") << kExited << 1u
                                                  << QString("PDF işlemi tamamlanamadı.") << true;
        QTest::newRow("ok false, error empty") << QByteArray(R"({"ok":false,"error":""})") << kExited << 1u
                                               << QString("PDF işlemi tamamlanamadı.") << true;
        QTest::newRow("ok missing counts as false") << QByteArray(R"({"error":"Y"})") << kCompleted << 0u
                                                    << QString("Y") << true;
        QTest::newRow("ok a string counts as false") << QByteArray(R"({"ok":"true","error":"Z"})") << kCompleted
                                                     << 0u << QString("Z") << true;
        QTest::newRow("not an object") << QByteArray("[1,2]") << kCompleted << 0u
                                       << QString("PDF işleyicisi geçersiz yanıt verdi.") << false;
        QTest::newRow("syntax error") << QByteArray("{\"ok\":tru") << kCompleted << 0u
                                      << QString("PDF işleyicisi geçersiz yanıt verdi.") << false;
        QTest::newRow("empty output, clean") << QByteArray() << kCompleted << 0u
                                             << QString("PDF işleyicisi geçersiz yanıt verdi.") << false;
        QTest::newRow("output at the limit") << objectOfSize(kReplyLimit) << kCompleted << 0u << QString() << true;
        QTest::newRow("output above the limit") << objectOfSize(kReplyLimit + 1) << kCompleted << 0u
                                                << QString("PDF işleyicisi çıktı sınırını aştı.") << false;
        QTest::newRow("timed out after half a reply")
            << QByteArray("{\"ok\":true,\"pix") << SandboxOutcome::CancelledOrTimedOut << 1u << kSandbox << false;
        QTest::newRow("cancelled, complete failure reply")
            << failedX << SandboxOutcome::CancelledOrTimedOut << 1u << kSandbox << false;
        QTest::newRow("set-up failure") << QByteArray() << SandboxOutcome::WorkerCouldNotStart << 1u
                                        << kSandbox << false;
        QTest::newRow("output limit exceeded in the sandbox")
            << failedX << SandboxOutcome::OutputLimitExceeded << 1u << kSandbox << false;
        QTest::newRow("exited with 1 but nothing written") << QByteArray() << kExited << 1u << kSandbox << false;
        QTest::newRow("exited text with another status") << failedX << kExited << 3u << kSandbox << false;
        QTest::newRow("another failure with status 1")
            << failedX << SandboxOutcome::OutputFailed << 1u << kSandbox << false;
    }

    void interpret()
    {
        QFETCH(QByteArray, output);
        QFETCH(SandboxOutcome, outcome);
        QFETCH(quint32, exitStatus);
        QFETCH(QString, error);
        QFETCH(bool, jsonKept);

        const SandboxResult result{output, outcome, exitStatus};
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
