// Adding text or a sticky note end to end: the real worker in the real
// sandbox writes into the task's workspace, the result is inspected, and
// only a file that keeps every page reaches the destination, atomically.
// Failures of the worker or of the check leave the destination as it was
// (absent, or with its previous content), and no workspace survives any
// task. This program sits in the application directory, beside the worker.

#include "operations/AddTextOrNote.h"

#include "document/core/DocumentOpen.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kAdded = QStringLiteral("Çağrı İşleği ğüşıöç");
const QByteArray kPrevious = "previous content";

} // namespace

class AddTextOrNoteTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_out;
    QTemporaryDir m_temp;
    PdfDocumentPtr m_document;
    QString m_documentWorkspace;

    QString out(const QString& name) const { return m_out.filePath(name); }
    // The temporary location holds nothing but the open document's own
    // workspace: every task's workspace, and every document it re-opened,
    // is gone.
    void checkNoWorkspaceLeft() { QCOMPARE(entriesOf(m_temp.path()), QStringList{m_documentWorkspace}); }

    QJsonArray notesOf(const QString& path)
    {
        const WorkerReply reply = runPdfWorker({{"operation", "notes"}, {"path", path}}, nullptr, 20000);
        return reply.json.value(QStringLiteral("notes")).toArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QCoreApplication::applicationDirPath(), QFileInfo(applicationDirectory()).canonicalFilePath());
        QVERIFY(m_sources.isValid() && m_out.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        const QString source = m_sources.filePath(QStringLiteral("kaynak ğüş.pdf"));
        QVERIFY(writePdf(source, PdfFixtureSpec::withPages(2)));
        const PdfOpenResult opened = openPdfDocument(source, QString(), nullptr);
        QCOMPARE(opened.error, QString());
        m_document = opened.document;
        m_documentWorkspace = QFileInfo(m_document->workspace->path()).fileName();
        checkNoWorkspaceLeft();
    }

    void init()
    {
        for (const QString& name : entriesOf(m_out.path()))
            QVERIFY(QFile::remove(out(name)));
    }

    void publishesAddedTurkishText_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new destination") << false;
        QTest::newRow("replaces an existing destination") << true;
    }

    void publishesAddedTurkishText()
    {
        QFETCH(bool, existing);
        const QString destination = out(QStringLiteral("eklenen metin.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));
        const QByteArray sourceBefore = readBytes(m_document->sourcePath);

        const ExportResult result = addTextOrNote(m_document, 1, QPointF(0.1, 0.3), kAdded, false, 14, destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);

        const PdfOpenResult published = openPdfDocument(destination, QString(), nullptr);
        QCOMPARE(published.error, QString());
        QCOMPARE(published.document->pageCount(), 2);
        QVERIFY(popplerText(destination).contains(kAdded));
        QVERIFY(qpdfAccepts(destination));
        // Nothing but the published file beside it; the document unchanged.
        QCOMPARE(entriesOf(m_out.path()), QStringList{QStringLiteral("eklenen metin.pdf")});
        QCOMPARE(readBytes(m_document->sourcePath), sourceBefore);
        QVERIFY(!popplerText(m_document->workingPath).contains(kAdded));
    }

    void publishesAStickyNote()
    {
        const QString destination = out(QStringLiteral("not.pdf"));
        const QString note = QStringLiteral("Not: ğüşıöç İ\nikinci satır");
        const ExportResult result = addTextOrNote(m_document, 0, QPointF(0.9, 0.1), note, true, 14, destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        const QJsonArray notes = notesOf(destination);
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.at(0).toObject().value("text").toString(), note);
        QCOMPARE(notes.at(0).toObject().value("page").toInt(), 0);
        checkNoWorkspaceLeft();
    }

    void workerFailuresLeaveNoOutput_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QPointF>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QString>("message");
        const QString noFit =
            QStringLiteral("Metin sayfaya sığmadı veya yazılamadı. Farklı konum ya da küçük punto seçin.");
        const QString invalid = QStringLiteral("Metin/not isteği geçersiz.");
        const QString wide = QString(60, QChar(u'Ş'));
        QTest::newRow("text past the page edge") << 0 << QPointF(0.8, 0.5) << wide << 40.0 << false << noFit;
        QTest::newRow("text past the page edge, existing") << 0 << QPointF(0.8, 0.5) << wide << 40.0 << true << noFit;
        QTest::newRow("page outside the document") << 2 << QPointF(0.5, 0.5) << kAdded << 14.0 << false << invalid;
        QTest::newRow("size below 6, existing") << 0 << QPointF(0.5, 0.5) << kAdded << 5.9 << true << invalid;
        QTest::newRow("position outside the page") << 0 << QPointF(-0.01, 0.5) << kAdded << 14.0 << false << invalid;
    }

    void workerFailuresLeaveNoOutput()
    {
        QFETCH(int, page);
        QFETCH(QPointF, position);
        QFETCH(QString, text);
        QFETCH(double, size);
        QFETCH(bool, existing);
        QFETCH(QString, message);
        const QString destination = out(QStringLiteral("başarısız.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));

        const ExportResult result = addTextOrNote(m_document, page, position, text, false, size, destination);
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        QCOMPARE(QFileInfo::exists(destination), existing);
        if (existing)
            QCOMPARE(readBytes(destination), kPrevious);
        QCOMPARE(entriesOf(m_out.path()).size(), existing ? 1 : 0);
        checkNoWorkspaceLeft();
    }

    void outputWithAnotherPageCountIsNeverPublished_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new destination") << false;
        QTest::newRow("existing destination") << true;
    }

    void outputWithAnotherPageCountIsNeverPublished()
    {
        // The worker keeps every page, so the document is described with
        // one page more than its file has: the inspected output then
        // disagrees with the document, as a page lost in editing would.
        QFETCH(bool, existing);
        const QString destination = out(QStringLiteral("eksik.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));
        const ExportResult result =
            addTextOrNote(withExtraPage(m_document), 0, QPointF(0.1, 0.3), kAdded, false, 14, destination);
        QCOMPARE(result.message, QStringLiteral("Düzenlenen PDF doğrulanamadı."));
        QVERIFY(!result.ok);
        QCOMPARE(QFileInfo::exists(destination), existing);
        if (existing)
            QCOMPARE(readBytes(destination), kPrevious);
        checkNoWorkspaceLeft();
    }

    void cleanup()
    {
        // Every task, whatever its outcome, has removed its workspace.
        checkNoWorkspaceLeft();
    }
};

QTEST_GUILESS_MAIN(AddTextOrNoteTest)
#include "AddTextOrNoteTest.moc"
