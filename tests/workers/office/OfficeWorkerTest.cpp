// velk-office-worker, run as a real process: it validates a conversion
// request and always refuses, with exit status 42.

#include "support/TestPaths.h"
#include "support/WorkerProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace velk::test;

namespace {

const QString kInvalid = QStringLiteral("Word dönüşüm isteği geçersiz.");
const QString kBadWorkspace = QStringLiteral("Dönüştürülecek belge veya çalışma alanı geçersiz.");
const QString kUnavailable = QStringLiteral("Bu derlemede yalıtılmış LibreOffice Writer dönüştürücü kullanılamıyor.");

bool makeFile(const QString& path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size); // sparse
}

WorkerRun runOffice(const QByteArray& input)
{
    return runWorker(program(QStringLiteral("velk-office-worker")), input);
}

QByteArray request(const QString& path, const QString& output)
{
    return QJsonDocument(QJsonObject{{"path", path}, {"output", output}}).toJson(QJsonDocument::Compact);
}

} // namespace

class OfficeWorkerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(makeFile(at("letter.docx"), 10));
        QVERIFY(makeFile(at("LETTER2.DOCX"), 10));
        QVERIFY(makeFile(at("notes.odt"), 10));
        QVERIFY(makeFile(at("old.doc"), 10));
        QVERIFY(makeFile(at("text.rtf"), 10));
        QVERIFY(makeFile(at("plain.txt"), 10));
        QVERIFY(makeFile(at("nosuffix"), 10));
        QVERIFY(makeFile(at("exact.docx"), 52428800));
        QVERIFY(makeFile(at("over.docx"), 52428801));
        QVERIFY(makeFile(at("existing.pdf"), 0));
        QVERIFY(QDir(m_dir.path()).mkdir("sub"));
        QVERIFY(QDir(m_dir.path()).mkdir("folder.docx"));
    }

    void validation_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");

        QTest::newRow("docx") << at("letter.docx") << at("out.pdf") << kUnavailable;
        QTest::newRow("capital DOCX") << at("LETTER2.DOCX") << at("out.pdf") << kUnavailable;
        QTest::newRow("odt") << at("notes.odt") << at("out.pdf") << kUnavailable;
        QTest::newRow("doc") << at("old.doc") << at("out.pdf") << kUnavailable;
        QTest::newRow("rtf") << at("text.rtf") << at("out.pdf") << kUnavailable;
        QTest::newRow("exactly 50 MiB") << at("exact.docx") << at("out.pdf") << kUnavailable;
        QTest::newRow("one byte over 50 MiB") << at("over.docx") << at("out.pdf") << kBadWorkspace;
        QTest::newRow("txt suffix") << at("plain.txt") << at("out.pdf") << kBadWorkspace;
        QTest::newRow("no suffix") << at("nosuffix") << at("out.pdf") << kBadWorkspace;
        QTest::newRow("missing input") << at("missing.docx") << at("out.pdf") << kBadWorkspace;
        QTest::newRow("input is a directory") << at("folder.docx") << at("out.pdf") << kBadWorkspace;
        QTest::newRow("output elsewhere") << at("letter.docx") << at("sub/out.pdf") << kBadWorkspace;
        QTest::newRow("output exists") << at("letter.docx") << at("existing.pdf") << kBadWorkspace;
        QTest::newRow("output relative") << at("letter.docx") << QStringLiteral("out.pdf") << kBadWorkspace;
        QTest::newRow("empty output") << at("letter.docx") << QString() << kBadWorkspace;
        QTest::newRow("empty path") << QString() << at("out.pdf") << kBadWorkspace;
    }

    void validation()
    {
        QFETCH(QString, path);
        QFETCH(QString, output);
        QFETCH(QString, error);
        const WorkerRun run = runOffice(request(path, output));
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 42);
        QCOMPARE(run.reply().value("error").toString(), error);
        QCOMPARE(run.reply().value("ok").toBool(true), false);
        QVERIFY(!QFile::exists(at("out.pdf")));
        QVERIFY(!QFile::exists(at("sub/out.pdf")));
    }

    void nonStringFieldsCountAsEmpty()
    {
        const WorkerRun run = runOffice("{\"path\":5,\"output\":true}");
        QCOMPARE(run.reply().value("error").toString(), kBadWorkspace);
        QCOMPARE(run.exitCode, 42);
    }

    void invalidRequests_data()
    {
        QTest::addColumn<QByteArray>("input");
        const QByteArray head = "{\"path\":\"";
        QTest::newRow("8193 bytes") << head + QByteArray(8193 - head.size() - 2, 'a') + "\"}";
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("array") << QByteArray("[]");
        QTest::newRow("syntax") << QByteArray("{\"path\"");
    }

    void invalidRequests()
    {
        QFETCH(QByteArray, input);
        const WorkerRun run = runOffice(input);
        QCOMPARE(run.exitCode, 42);
        QCOMPARE(run.output, QByteArray("{\"error\":\"") + kInvalid.toUtf8() + "\",\"ok\":false}");
    }

    void exactly8192BytesIsParsed()
    {
        const QByteArray head = "{\"path\":\"";
        const QByteArray input = head + QByteArray(8192 - head.size() - 2, 'a') + "\"}";
        QCOMPARE(input.size(), 8192);
        const WorkerRun run = runOffice(input);
        QCOMPARE(run.reply().value("error").toString(), kBadWorkspace);
    }

    void closedOutputStillExits42()
    {
        WorkerRunOptions options;
        options.closeStandardOutput = true;
        const WorkerRun run = runWorker(program("velk-office-worker"), request(at("letter.docx"), at("out.pdf")), options);
        QCOMPARE(run.exitCode, 42);
        QVERIFY(run.output.isEmpty());
    }
};

QTEST_GUILESS_MAIN(OfficeWorkerTest)
#include "OfficeWorkerTest.moc"
