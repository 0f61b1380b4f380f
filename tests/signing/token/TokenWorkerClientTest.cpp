// The token client against a stand-in worker: the PIN frame and request
// checks before any process starts, the frame it delivers, every way a
// worker can answer badly, the limits, cancellation in each phase, and no
// child left behind.

#include "signing/token/TokenClientMessages.h"
#include "signing/token/TokenWorkerClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <thread>

using namespace velk;

namespace {

QString sentence(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TokenWorkerClientTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_directory;

    QString pidFile() const { return m_directory.filePath(QStringLiteral("pid")); }

    QJsonObject run(const QString& mode, QJsonObject& request, QByteArray pin, const CancelFlag& cancel = {},
                    const TokenWorkerTimes& times = {})
    {
        QFile::remove(pidFile());
        qputenv("VELK_STAND_IN_MODE", mode.toLatin1());
        qputenv("VELK_STAND_IN_PIDFILE", QFile::encodeName(pidFile()));
        return runTokenWorker(request, cancel, SecretBytes(std::move(pin)),
                              QStringLiteral(VELK_TOKEN_STAND_IN_DIR), times);
    }

    // The stand-in wrote its id on start; it must be gone and reaped.
    void verifyNoChildLeft()
    {
        QFile file(pidFile());
        if (!file.open(QIODevice::ReadOnly))
            return;
        const pid_t pid = pid_t(file.readAll().toInt());
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, 0), -1);
        QCOMPARE(errno, ESRCH);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_directory.isValid()); }

    void deliversFrame_data()
    {
        QTest::addColumn<QByteArray>("pin");
        QTest::newRow("empty PIN") << QByteArray();
        QTest::newRow("128-byte PIN") << QByteArray(128, '7');
        QTest::newRow("UTF-8 PIN") << QByteArray("çğ1234");
    }

    void deliversFrame()
    {
        QFETCH(QByteArray, pin);
        QJsonObject request{{"operation", "list"}, {"module", "/x"}};
        const QByteArray expected = "{\"module\":\"/x\",\"operation\":\"list\"}\n" + pin;
        const QJsonObject reply = run(QStringLiteral("echo"), request, pin);
        QCOMPARE(reply.value("ok").toBool(), true);
        QCOMPARE(QByteArray::fromHex(reply.value("frame").toString().toLatin1()), expected);
        QVERIFY(request.isEmpty());
        verifyNoChildLeft();
    }

    void refusedBeforeStart_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QByteArray>("pin");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("error");
        const QJsonObject list{{"operation", "list"}};
        const QString frame = sentence(TokenClientMessages::kPinFrameInvalid);
        QTest::newRow("129-byte PIN") << list << QByteArray(129, '7') << false << frame;
        QTest::newRow("NUL in PIN") << list << QByteArray("12\0" "34", 5) << false << frame;
        QTest::newRow("pin key") << QJsonObject{{"pin", ""}} << QByteArray() << false << frame;
        QTest::newRow("cancelled") << list << QByteArray("1234") << true << sentence(TokenClientMessages::kCancelled);
    }

    void refusedBeforeStart()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QByteArray, pin);
        QFETCH(bool, cancelled);
        QFETCH(QString, error);
        const CancelFlag cancel = std::make_shared<std::atomic<bool>>(cancelled);
        const QJsonObject reply = run(QStringLiteral("echo"), request, pin, cancel);
        QCOMPARE(reply, QJsonObject({{"ok", false}, {"error", error}}));
        QVERIFY(!QFile::exists(pidFile()));
    }

    void badWorkers_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("error");
        // A worker that exits at once may go before or after the frame
        // lands in the pipe: either the write fails ("not delivered") or
        // the reply is missing ("invalid"). Both are its sentences.
        QTest::addColumn<QString>("orError");
        const QString invalid = sentence(TokenClientMessages::kInvalidReply);
        QTest::newRow("worker error passed on") << "fail" << sentence("PIN yanlış. Otomatik yeniden deneme yapılmadı.") << QString();
        QTest::newRow("reply over 512 KiB") << "flood" << sentence(TokenClientMessages::kLimitExceeded) << QString();
        QTest::newRow("time limit") << "hang" << sentence(TokenClientMessages::kLimitExceeded) << QString();
        QTest::newRow("empty output") << "empty" << invalid << QString();
        QTest::newRow("array") << "array" << invalid << QString();
        QTest::newRow("crash") << "crash" << invalid << QString();
        QTest::newRow("ok with status 3") << "okfailure" << sentence(TokenClientMessages::kFailed) << QString();
        QTest::newRow("gone before reading") << "exitnow" << invalid << sentence(TokenClientMessages::kNotDelivered);
    }

    void badWorkers()
    {
        QFETCH(QString, mode);
        QFETCH(QString, error);
        QFETCH(QString, orError);
        TokenWorkerTimes times;
        times.runLimitMs = 500;
        QJsonObject request{{"operation", "sign"}};
        const QJsonObject reply = run(mode, request, QByteArray("1234"), {}, times);
        QCOMPARE(reply.value("ok").toBool(true), false);
        const QString actual = reply.value("error").toString();
        if (orError.isEmpty() || actual != orError)
            QCOMPARE(actual, error);
        verifyNoChildLeft();
    }

    void drainsStandardError()
    {
        QJsonObject request{{"operation", "sign"}};
        const QJsonObject reply = run(QStringLiteral("noisy"), request, QByteArray("1234"));
        QCOMPARE(reply, QJsonObject({{"ok", true}, {"signature", "AQID"}}));
    }

    void frameOverLimit()
    {
        // JSON line, LF and PIN one byte over 262,144.
        const QJsonObject empty{{"a", ""}};
        const qsizetype base = QJsonDocument(empty).toJson(QJsonDocument::Compact).size() + 1 + 4;
        QJsonObject request{{"a", QString(262145 - base, QLatin1Char('x'))}};
        const QJsonObject reply = run(QStringLiteral("noread"), request, QByteArray("1234"));
        QCOMPARE(reply.value("error").toString(), sentence(TokenClientMessages::kFrameTooLarge));
        QVERIFY(request.isEmpty());
        verifyNoChildLeft();
    }

    void writeLimit()
    {
        TokenWorkerTimes times;
        times.writeLimitMs = 300;
        QJsonObject request{{"a", QString(200000, QLatin1Char('x'))}};
        const QJsonObject reply = run(QStringLiteral("noread"), request, QByteArray("1234"), {}, times);
        QCOMPARE(reply.value("error").toString(), sentence(TokenClientMessages::kNotDelivered));
        verifyNoChildLeft();
    }

    // A worker that never reads keeps the frame from being delivered; the
    // user's cancellation must end the wait long before the write limit.
    void cancelWhileWriting()
    {
        const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
        QElapsedTimer sinceCancel;
        std::thread canceller([&] {
            // Between two of the client's 100 ms waits.
            QThread::msleep(250);
            sinceCancel.start();
            cancel->store(true);
        });
        QJsonObject request{{"a", QString(200000, QLatin1Char('x'))}};
        const QJsonObject reply = run(QStringLiteral("noread"), request, QByteArray("1234"), cancel);
        const qint64 latency = sinceCancel.elapsed();
        canceller.join();
        QCOMPARE(reply.value("error").toString(), sentence(TokenClientMessages::kNotDelivered));
        qInfo("cancellation took effect after %lld ms", latency);
        QVERIFY2(latency < 1000, "the write limit, not the cancellation, ended the run");
        verifyNoChildLeft();
    }

    void cancelWhileRunning()
    {
        const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
        std::thread canceller([&] {
            QThread::msleep(200);
            cancel->store(true);
        });
        QJsonObject request{{"operation", "sign"}};
        const QJsonObject reply = run(QStringLiteral("hang"), request, QByteArray("1234"), cancel);
        canceller.join();
        QCOMPARE(reply.value("error").toString(), sentence(TokenClientMessages::kCancelledWhileRunning));
        verifyNoChildLeft();
    }

    void missingProgram()
    {
        QJsonObject request{{"operation", "list"}};
        const QJsonObject reply = runTokenWorker(request, {}, SecretBytes(), m_directory.path());
        QCOMPARE(reply.value("error").toString(), sentence(TokenClientMessages::kNotStarted));
    }
};

QTEST_GUILESS_MAIN(TokenWorkerClientTest)
#include "TokenWorkerClientTest.moc"
