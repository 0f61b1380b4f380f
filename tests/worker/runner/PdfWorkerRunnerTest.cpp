// runPdfWorker's own refusals, each decided before or instead of a worker
// answer: a missing worker, an over-long request, and every way the
// sandbox can fail without a usable reply (which the user sees as one
// sentence). Runs against the real application directory and sandbox.

#include "worker/runner/PdfWorkerRunner.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

const QString kMissing = QStringLiteral("PDF işleyicisi bulunamadı.");
const QString kTooLarge = QStringLiteral("PDF işlem isteği sınırı aşıldı.");
const QString kSandbox = QStringLiteral(
    "PDF işleyicisi yalıtılmış ortamda tamamlanamadı. Sistem yalıtım desteğini ve süre sınırını kontrol edin.");
constexpr int kTimeLimitMs = 20000;

// {"operation":"inspect","pad":"xxx"} padded to exactly `size` compact bytes.
QJsonObject requestOfSize(qsizetype size)
{
    const qsizetype frame = QByteArray(R"({"operation":"inspect","pad":""})").size();
    return QJsonObject{{"operation", "inspect"}, {"pad", QString(size - frame, QLatin1Char('x'))}};
}

} // namespace

class PdfWorkerRunnerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingWorker_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory without the worker") << "none";
        QTest::newRow("worker not executable") << "plain file";
        QTest::newRow("worker is a directory") << "directory";
        QTest::newRow("application directory missing") << "missing directory";
    }

    void missingWorker()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString appDir = dir.path();
        const QString worker = appDir + "/velk-pdf-worker";
        if (kind == "plain file") {
            QFile file(worker);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        } else if (kind == "directory") {
            QVERIFY(QDir().mkdir(worker));
        } else if (kind == "missing directory") {
            appDir += "/absent";
        }
        const WorkerReply reply = runPdfWorker(QJsonObject{{"operation", "inspect"}}, nullptr, kTimeLimitMs, appDir);
        QCOMPARE(reply.error, kMissing);
        QVERIFY(reply.json.isEmpty());
    }

    // Refused before any process starts; the limit itself gets through to
    // the sandbox (whatever it then answers, it is not the runner's limit).
    void requestLimit_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<bool>("refused");
        QTest::newRow("262,144 bytes") << qsizetype(262144) << false;
        QTest::newRow("262,145 bytes") << qsizetype(262145) << true;
        QTest::newRow("1 MiB") << qsizetype(1 << 20) << true;
    }

    void requestLimit()
    {
        QFETCH(qsizetype, size);
        QFETCH(bool, refused);
        const WorkerReply reply =
            runPdfWorker(requestOfSize(size), nullptr, kTimeLimitMs, velk::test::applicationDirectory());
        QCOMPARE(reply.error == kTooLarge, refused);
        if (refused)
            QVERIFY(reply.json.isEmpty());
    }

    // Cancelled before the start, or a time limit the sandbox refuses: the
    // sandbox's English text never reaches the user.
    void sandboxFailure_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<int>("timeLimitMs");
        QTest::newRow("cancelled before the start") << true << kTimeLimitMs;
        QTest::newRow("time limit 0") << false << 0;
        QTest::newRow("time limit 120,001 ms") << false << 120001;
        QTest::newRow("negative time limit") << false << -5;
    }

    void sandboxFailure()
    {
        QFETCH(bool, cancelled);
        QFETCH(int, timeLimitMs);
        const CancelFlag flag = std::make_shared<std::atomic<bool>>(cancelled);
        const WorkerReply reply = runPdfWorker(QJsonObject{{"operation", "inspect"}}, flag, timeLimitMs,
                                               velk::test::applicationDirectory());
        QCOMPARE(reply.error, kSandbox);
        QVERIFY(reply.json.isEmpty());
    }
};

QTEST_GUILESS_MAIN(PdfWorkerRunnerTest)
#include "PdfWorkerRunnerTest.moc"
