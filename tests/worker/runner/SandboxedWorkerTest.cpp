// End to end: runPdfWorker starts the real velk-pdf-worker inside the real
// sandbox. The worker must find itself isolated (both "isolation" keys
// true) and then answer for real: for a readable PDF and an operation it
// does not know, "PDF işlemi tanınmadı." with its whole reply kept.

#include "support/PdfFixtures.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

constexpr int kTimeLimitMs = 20000;

QJsonObject isolated()
{
    return QJsonObject{{"filesystem", true}, {"networkAndExecution", true}};
}

WorkerReply run(const QJsonObject& request)
{
    return runPdfWorker(request, nullptr, kTimeLimitMs, velk::test::applicationDirectory());
}

} // namespace

class SandboxedWorkerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath("document.pdf");
        QVERIFY(velk::test::writePdf(m_pdf, velk::test::PdfFixtureSpec::withPages(2)));
        QVERIFY(QDir().mkdir(m_dir.filePath("out")));
    }

    // The worker's replies, each as the sandboxed worker gives it; every
    // one reports that the self-check passed.
    void isolatedReplies_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QString>("error");

        const QString unknown = QStringLiteral("PDF işlemi tanınmadı.");
        QTest::newRow("unknown operation on a real PDF")
            << QJsonObject{{"operation", "noSuchOperation"}, {"path", m_pdf}} << unknown;
        QTest::newRow("operation differing in case")
            << QJsonObject{{"operation", "Inspect"}, {"path", m_pdf}} << unknown;
        QTest::newRow("no operation, with an output directory granted")
            << QJsonObject{{"path", m_pdf}, {"output", m_dir.filePath("out/result.pdf")}} << unknown;
        QTest::newRow("inspect without a path")
            << QJsonObject{{"operation", "inspect"}}
            << QStringLiteral("PDF dosyası okunamıyor veya 512 MiB sınırını aşıyor.");
    }

    void isolatedReplies()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QString, error);
        const WorkerReply reply = run(request);
        QCOMPARE(reply.error, error);
        QCOMPARE(reply.json.value("ok").toBool(true), false);
        QCOMPARE(reply.json.value("error").toString(), error);
        QCOMPARE(reply.json.value("code").toInt(-1), 0);
        QCOMPARE(reply.json.value("isolation").toObject(), isolated());
    }

    // A request of exactly the limit reaches the worker and is answered.
    void requestAtTheLimit()
    {
        const qsizetype frame = QByteArray(R"({"operation":"inspect","pad":""})").size();
        const QJsonObject request{{"operation", "inspect"}, {"pad", QString(262144 - frame, QLatin1Char('x'))}};
        const WorkerReply reply = run(request);
        QCOMPARE(reply.error, QStringLiteral("PDF dosyası okunamıyor veya 512 MiB sınırını aşıyor."));
        QCOMPARE(reply.json.value("isolation").toObject(), isolated());
    }

    // An input that cannot be granted (here: missing) stops the run in the
    // sandbox; the user sees the one sandbox sentence.
    void missingInput()
    {
        const QJsonObject request{{"operation", "inspect"}, {"path", m_dir.filePath("missing.pdf")}};
        const WorkerReply reply = run(request);
        QCOMPARE(reply.error, QStringLiteral("PDF işleyicisi yalıtılmış ortamda tamamlanamadı. "
                                             "Sistem yalıtım desteğini ve süre sınırını kontrol edin."));
        QVERIFY(reply.json.isEmpty());
    }

private:
    QTemporaryDir m_dir;
    QString m_pdf;
};

QTEST_GUILESS_MAIN(SandboxedWorkerTest)
#include "SandboxedWorkerTest.moc"
