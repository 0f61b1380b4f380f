// The shipped worker run as a real process outside any sandbox: its
// self-check fails, so even a valid request is refused with the isolation
// sentence; invalid requests get their own sentence first. Every reply is
// compact, its keys ascend, it carries "isolation" and ends with the
// closing brace.

#include "support/PdfFixtures.h"
#include "support/TestPaths.h"
#include "support/WorkerProcess.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velk::test;

namespace {

const QByteArray kIsolationReply =
    "{\"code\":0,\"error\":\"PDF işleyicisinin zorunlu güvenlik yalıtımı kullanılamıyor.\","
    "\"isolation\":{\"filesystem\":false,\"networkAndExecution\":false},\"ok\":false}";
const QByteArray kInvalidReply = "{\"code\":0,\"error\":\"PDF işlem isteği geçersiz.\","
                                 "\"isolation\":{\"filesystem\":false,\"networkAndExecution\":false},\"ok\":false}";

// A compact request of exactly the given size, padded in a key no
// operation reads.
QByteArray paddedRequest(const QByteArray& head, qsizetype size)
{
    const QByteArray open = head + ",\"pad\":\"";
    const QByteArray close = "\"}";
    return open + QByteArray(size - open.size() - close.size(), 'x') + close;
}

} // namespace

class PdfWorkerEntryTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    QString m_pdf;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        m_pdf = m_directory.filePath(QStringLiteral("belge.pdf"));
        QVERIFY(writePdf(m_pdf));
        QVERIFY(qpdfAccepts(m_pdf));
    }

    void reply_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray head = "{\"operation\":\"inspect\",\"path\":\"" + m_pdf.toUtf8() + "\"";
        QTest::newRow("valid inspect of a real PDF") << head + "}" << kIsolationReply;
        QTest::newRow("empty object") << QByteArray("{}") << kIsolationReply;
        QTest::newRow("unknown operation") << QByteArray("{\"operation\":\"yok\"}") << kIsolationReply;
        QTest::newRow("exactly 262,144 bytes") << paddedRequest(head, 262144) << kIsolationReply;
        QTest::newRow("262,145 bytes") << paddedRequest(head, 262145) << kInvalidReply;
        QTest::newRow("far over the limit") << paddedRequest(head, 1 << 20) << kInvalidReply;
        QTest::newRow("empty input") << QByteArray() << kInvalidReply;
        QTest::newRow("array") << QByteArray("[{\"operation\":\"inspect\"}]") << kInvalidReply;
        QTest::newRow("string") << QByteArray("\"inspect\"") << kInvalidReply;
        QTest::newRow("syntax error") << QByteArray("{\"operation\":\"inspect\",}") << kInvalidReply;
        QTest::newRow("truncated object") << head << kInvalidReply;
        QTest::newRow("trailing garbage") << head + "}x" << kInvalidReply;
        QTest::newRow("zero byte") << QByteArray("{}\0", 3) << kInvalidReply;
    }

    void reply()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, reply);
        const WorkerRun run = runWorker(program(QStringLiteral("velk-pdf-worker")), input);
        QVERIFY(run.finished);
        // Byte for byte: compact, keys in ascending order, no line feed.
        QCOMPARE(run.output, reply);
        QCOMPARE(run.exitCode, 1);
    }

    void writesNothingOnStandardError_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("valid request") << "{\"operation\":\"inspect\",\"path\":\"" + m_pdf.toUtf8() + "\"}";
        QTest::newRow("invalid request") << QByteArray("[");
    }

    void writesNothingOnStandardError()
    {
        QFETCH(QByteArray, input);
        QProcess worker;
        worker.start(program(QStringLiteral("velk-pdf-worker")), QStringList());
        QVERIFY(worker.waitForStarted());
        worker.write(input);
        worker.closeWriteChannel();
        QVERIFY(worker.waitForFinished(30000));
        QCOMPARE(worker.exitCode(), 1);
        QVERIFY(worker.readAllStandardOutput().endsWith('}'));
        QCOMPARE(worker.readAllStandardError(), QByteArray());
    }

    void paddedRequestSizes()
    {
        QCOMPARE(paddedRequest("{\"a\":1", 262144).size(), 262144);
        QVERIFY(QJsonDocument::fromJson(paddedRequest("{\"a\":1", 262144)).isObject());
    }
};

QTEST_GUILESS_MAIN(PdfWorkerEntryTest)
#include "PdfWorkerEntryTest.moc"
