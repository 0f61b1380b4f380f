// Document queries through the real worker in the real sandbox, and the
// modal progress dialog around them: its texts and modality while a query
// runs, the reply handed back unchanged, and "İptal" (or Escape), which
// stops the run and answers "İşlem iptal edildi." once the run has really
// ended. The
// user's worker lock is held while the dialog is examined, so the query is
// still running, deterministically, when the test looks or cancels.

#include "operations/DocumentQueryProgress.h"
#include "operations/QueryDocument.h"

#include "document/core/DocumentOpen.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "support/TestPaths.h"
#include "support/SandboxHold.h"

#include <QApplication>
#include <QJsonArray>
#include <QMainWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velk;
using namespace velk::test;

namespace {

QStringList textsOf(const WorkerReply& reply)
{
    QStringList texts;
    for (const QJsonValue& entry : reply.json.value(QStringLiteral("objects")).toArray())
        texts << entry.toObject().value(QStringLiteral("text")).toString();
    return texts;
}

} // namespace

class DocumentQueryTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_temp;
    PdfDocumentPtr m_document;

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QCoreApplication::applicationDirPath(), QFileInfo(applicationDirectory()).canonicalFilePath());
        QVERIFY(m_sources.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        PdfPageSpec second(612, 792, 0, "Ikinci sayfa");
        second.lines = {QStringLiteral("Şeker ılık")};
        PdfFixtureSpec spec;
        spec.pages = {PdfPageSpec{}, second};
        QVERIFY(writePdf(m_sources.filePath(QStringLiteral("belge.pdf")), spec));
        const PdfOpenResult opened = openPdfDocument(m_sources.filePath(QStringLiteral("belge.pdf")), QString(), nullptr);
        QCOMPARE(opened.error, QString());
        m_document = opened.document;
    }

    void listsThePagesTextObjects_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("first page") << 0 << QStringList{QStringLiteral("Velk PDF")};
        QTest::newRow("second page") << 1 << QStringList{QStringLiteral("Ikinci sayfa"), QStringLiteral("Şeker ılık")};
    }

    void listsThePagesTextObjects()
    {
        QFETCH(int, page);
        QFETCH(QStringList, texts);
        const WorkerReply reply = queryDocument(m_document, QStringLiteral("textObjects"), page, nullptr);
        QCOMPARE(reply.error, QString());
        QCOMPARE(textsOf(reply), texts);
    }

    void workerRefusalsComeBackUnchanged()
    {
        const WorkerReply reply = queryDocument(m_document, QStringLiteral("textObjects"), 2, nullptr);
        QCOMPARE(reply.error, QStringLiteral("Sayfa numarası geçersiz."));
        QCOMPARE(reply.json.value(QStringLiteral("ok")), QJsonValue(false));
    }

    void progressDialogShowsWhileTheQueryRuns()
    {
        QMainWindow window;
        window.show();
        SandboxHold hold;
        QVERIFY(hold.take());
        bool looked = false;
        QTimer::singleShot(0, &window, [&] {
            auto* progress = window.findChild<QProgressDialog*>();
            QVERIFY(progress);
            looked = true;
            QVERIFY(progress->isVisible());
            QCOMPARE(progress->labelText(), QStringLiteral("Belge alanları okunuyor…"));
            QCOMPARE(progress->windowModality(), Qt::WindowModal);
            QCOMPARE(progress->minimum(), 0);
            QCOMPARE(progress->maximum(), 0);
            QCOMPARE(progress->minimumDuration(), 0);
            QCOMPARE(progress->findChild<QPushButton*>()->text(), QStringLiteral("İptal"));
            hold.release();
        });
        const WorkerReply reply = query(&window, m_document, QStringLiteral("textObjects"), 1);
        QVERIFY(looked);
        QCOMPARE(reply.error, QString());
        QCOMPARE(textsOf(reply), QStringList({QStringLiteral("Ikinci sayfa"), QStringLiteral("Şeker ılık")}));
        QVERIFY(!window.findChild<QProgressDialog*>());
    }

    void cancellingAnswersCancelledAfterTheRunEnded_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("escape");
        QTest::newRow("text objects, İptal") << "textObjects" << false;
        QTest::newRow("fields, İptal") << "fields" << false;
        QTest::newRow("text objects, Escape") << "textObjects" << true;
    }

    void cancellingAnswersCancelledAfterTheRunEnded()
    {
        QFETCH(QString, operation);
        QFETCH(bool, escape);
        QMainWindow window;
        window.show();
        SandboxHold hold;
        QVERIFY(hold.take());
        bool stillUpAfterCancel = false;
        QTimer::singleShot(0, &window, [&] {
            auto* progress = window.findChild<QProgressDialog*>();
            QVERIFY(progress);
            if (escape)
                QTest::keyClick(progress, Qt::Key_Escape);
            else
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            // The run waits behind the lock until it notices the flag; the
            // dialog stays up until then.
            stillUpAfterCancel = progress->isVisible();
        });
        const WorkerReply reply = query(&window, m_document, operation, 0);
        hold.release();
        QCOMPARE(stillUpAfterCancel, !escape);
        QCOMPARE(reply.error, QStringLiteral("İşlem iptal edildi."));
        QVERIFY(reply.json.isEmpty());
        QVERIFY(!window.findChild<QProgressDialog*>());
    }

    void invalidQueriesNeverReachTheWorker()
    {
        const WorkerReply reply = query(nullptr, m_document, QStringLiteral("notes"), 0);
        QCOMPARE(reply.error, QStringLiteral("Belge sorgusu geçersiz."));
    }
};

QTEST_MAIN(DocumentQueryTest)
#include "DocumentQueryTest.moc"
