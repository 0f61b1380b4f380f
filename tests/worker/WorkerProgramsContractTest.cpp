// Every shipped worker program, run as a real process, honours the framing:
// its invalid-request sentence for bad input, its exit statuses, and a reply
// that ends with the object's closing brace.

#include "support/TestPaths.h"
#include "support/WorkerProcess.h"

#include <QTest>

using namespace velk::test;

class WorkerProgramsContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void invalidInput_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("status");

        const struct { const char* program; qsizetype limit; const char* error; int status; } workers[] = {
            {"velk-pdf-worker", 262144, "PDF işlem isteği geçersiz.", 1},
            {"velk-token-worker", 262144, "Token isteği geçersiz.", 1},
            {"velk-secure-store", 32768, "Güvenli depo isteği geçersiz.", 1},
            {"velk-office-worker", 8192, "Word dönüşüm isteği geçersiz.", 42},
        };
        for (const auto& w : workers) {
            const QString error = QString::fromUtf8(w.error);
            QTest::addRow("%s empty", w.program) << w.program << QByteArray() << error << w.status;
            QTest::addRow("%s array", w.program) << w.program << QByteArray("[{}]\n1") << error << w.status;
            QTest::addRow("%s limit + 1", w.program)
                << w.program << QByteArray("{\"a\":\"" + QByteArray(w.limit - 7, 'x') + "\"}\n1") << error << w.status;
        }
    }

    void invalidInput()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, input);
        QFETCH(QString, error);
        QFETCH(int, status);
        const WorkerRun run = runWorker(velk::test::program(program), input);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, status);
        QVERIFY(run.output.endsWith('}'));
        QCOMPARE(run.reply().value("error").toString(), error);
        QCOMPARE(run.reply().value("ok").toBool(true), false);
    }

    void closedStandardOutput_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("status");
        QTest::newRow("pdf") << "velk-pdf-worker" << 2;
        QTest::newRow("token") << "velk-token-worker" << 2;
        QTest::newRow("store") << "velk-secure-store" << 2;
    }

    void closedStandardOutput()
    {
        QFETCH(QString, program);
        QFETCH(int, status);
        WorkerRunOptions options;
        options.closeStandardOutput = true;
        const WorkerRun run = runWorker(velk::test::program(program), "{}\n", options);
        QCOMPARE(run.exitCode, status);
    }
};

QTEST_GUILESS_MAIN(WorkerProgramsContractTest)
#include "WorkerProgramsContractTest.moc"
