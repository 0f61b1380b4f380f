// Replacing and deleting text objects and adding shapes end to end: the
// real worker in the real sandbox writes into the task's workspace, the
// output is re-opened as a new document, and only its inspected working
// copy of the same page count reaches the destination. Worker failures
// pass through unchanged and leave the destination as it was; no workspace
// and no re-opened document survives a task. This program sits in the
// application directory, beside the worker.

#include "operations/ApplyEdit.h"

#include "document/core/DocumentOpen.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "operations/QueryDocument.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QByteArray kPrevious = "previous content";

QJsonObject shape(const QString& kind, double left, double top, double right, double bottom)
{
    return {{"operation", "annotate"}, {"page", 0}, {"kind", kind},
            {"left", left}, {"top", top}, {"right", right}, {"bottom", bottom}};
}

} // namespace

class ApplyEditTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_out;
    QTemporaryDir m_temp;
    PdfDocumentPtr m_document;
    QString m_documentWorkspace;

    QString out(const QString& name) const { return m_out.filePath(name); }
    void checkNoWorkspaceLeft() { QCOMPARE(entriesOf(m_temp.path()), QStringList{m_documentWorkspace}); }

    // The worker's handle of the text object that reads `text` on page 0.
    QJsonValue textObject(const QString& text)
    {
        const WorkerReply reply = queryDocument(m_document, QStringLiteral("textObjects"), 0, nullptr);
        for (const QJsonValue& entry : reply.json.value(QStringLiteral("objects")).toArray())
            if (entry.toObject().value(QStringLiteral("text")).toString() == text)
                return entry.toObject().value(QStringLiteral("object"));
        return QJsonValue();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QCoreApplication::applicationDirPath(), QFileInfo(applicationDirectory()).canonicalFilePath());
        QVERIFY(m_sources.isValid() && m_out.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        PdfPageSpec first(595, 842, 0, "Eski metin");
        first.lines = {QStringLiteral("Kalan satır")};
        PdfFixtureSpec spec;
        spec.pages = {first, PdfPageSpec{}, PdfPageSpec{}};
        const QString source = m_sources.filePath(QStringLiteral("kaynak.pdf"));
        QVERIFY(writePdf(source, spec));
        const PdfOpenResult opened = openPdfDocument(source, QString(), nullptr);
        QCOMPARE(opened.error, QString());
        m_document = opened.document;
        m_documentWorkspace = QFileInfo(m_document->workspace->path()).fileName();
    }

    void init()
    {
        for (const QString& name : entriesOf(m_out.path()))
            QVERIFY(QFile::remove(out(name)));
    }

    void cleanup() { checkNoWorkspaceLeft(); }

    void publishesAShape_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("subtype");
        QTest::addColumn<bool>("existing");
        QTest::newRow("highlight") << "highlight" << QByteArray("/Subtype /Highlight") << false;
        QTest::newRow("rectangle over an existing file") << "rectangle" << QByteArray("/Subtype /Square") << true;
        QTest::newRow("ellipse") << "ellipse" << QByteArray("/Subtype /Circle") << false;
    }

    void publishesAShape()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, subtype);
        QFETCH(bool, existing);
        const QString destination = out(QStringLiteral("açıklamalı.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));

        const ExportResult result = applyEdit(m_document, shape(kind, 0.1, 0.1, 0.4, 0.3), destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        const PdfOpenResult published = openPdfDocument(destination, QString(), nullptr);
        QCOMPARE(published.error, QString());
        QCOMPARE(published.document->pageCount(), 3);
        QVERIFY(uncompressed(destination, m_sources.path()).contains(subtype));
        QVERIFY(!uncompressed(m_document->workingPath, m_sources.path()).contains(subtype));
        QCOMPARE(entriesOf(m_out.path()), QStringList{QStringLiteral("açıklamalı.pdf")});
    }

    void replacesATextObject()
    {
        const QJsonValue object = textObject(QStringLiteral("Eski metin"));
        QVERIFY(!object.isUndefined());
        const QString replacement = QStringLiteral("Yeni metin ğüşıöç İ");
        const QString destination = out(QStringLiteral("değişen.pdf"));
        const ExportResult result = applyEdit(
            m_document, {{"operation", "replaceText"}, {"page", 0}, {"object", object}, {"text", replacement}},
            destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        const QString text = popplerText(destination);
        QVERIFY(text.contains(replacement));
        QVERIFY(!text.contains(QStringLiteral("Eski metin")));
        QVERIFY(text.contains(QStringLiteral("Kalan satır")));
    }

    void deletesATextObject()
    {
        const QJsonValue object = textObject(QStringLiteral("Eski metin"));
        QVERIFY(!object.isUndefined());
        const QString destination = out(QStringLiteral("silinen.pdf"));
        // "text" travels for both operations; deleting ignores it.
        const ExportResult result = applyEdit(
            m_document, {{"operation", "deleteText"}, {"page", 0}, {"object", object}, {"text", ""}}, destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        const QString text = popplerText(destination);
        QVERIFY(!text.contains(QStringLiteral("Eski metin")));
        QVERIFY(text.contains(QStringLiteral("Kalan satır")));
    }

    void workerFailuresPassThroughAndLeaveNoOutput_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QString>("message");
        QTest::newRow("area too narrow") << shape("rectangle", 0.1, 0.1, 0.1019, 0.3) << false
                                         << "Şekil alanı geçersiz.";
        QTest::newRow("kind in capitals, existing") << shape("Highlight", 0.1, 0.1, 0.4, 0.3) << true
                                                    << "Şekil alanı geçersiz.";
        QTest::newRow("object outside the page")
            << QJsonObject{{"operation", "deleteText"}, {"page", 0}, {"object", 9999}, {"text", ""}} << true
            << "Metin nesnesi geçersiz.";
        QTest::newRow("page outside the document") << QJsonObject{{"operation", "annotate"}, {"page", 3},
                                                                  {"kind", "ellipse"}, {"left", 0.1}, {"top", 0.1},
                                                                  {"right", 0.4}, {"bottom", 0.3}}
                                                   << false << "Sayfa numarası geçersiz.";
    }

    void workerFailuresPassThroughAndLeaveNoOutput()
    {
        QFETCH(QJsonObject, request);
        QFETCH(bool, existing);
        QFETCH(QString, message);
        const QString destination = out(QStringLiteral("başarısız.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));
        const ExportResult result = applyEdit(m_document, request, destination);
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        QCOMPARE(QFileInfo::exists(destination), existing);
        if (existing)
            QCOMPARE(readBytes(destination), kPrevious);
        QCOMPARE(entriesOf(m_out.path()).size(), existing ? 1 : 0);
    }

    void pathAndOutputOfTheRequestAreAlwaysOurOwn()
    {
        // A request naming other files still edits the working copy into
        // the task's workspace; the named output is never created.
        const QString elsewhere = out(QStringLiteral("elsewhere.pdf"));
        QJsonObject request = shape("ellipse", 0.2, 0.2, 0.6, 0.5);
        request.insert("path", m_sources.filePath("missing.pdf"));
        request.insert("output", elsewhere);
        const QString destination = out(QStringLiteral("elips.pdf"));
        QVERIFY(applyEdit(m_document, request, destination).ok);
        QVERIFY(!QFileInfo::exists(elsewhere));
        QVERIFY(uncompressed(destination, m_sources.path()).contains("/Subtype /Circle"));
    }

    void outputWithAnotherPageCountIsNeverPublished_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new destination") << false;
        QTest::newRow("existing destination") << true;
    }

    void outputWithAnotherPageCountIsNeverPublished()
    {
        // Described with one page more than its file has, the document can
        // never match what the worker wrote.
        QFETCH(bool, existing);
        const QString destination = out(QStringLiteral("eksik.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));
        const ExportResult result =
            applyEdit(withExtraPage(m_document), shape("highlight", 0.1, 0.1, 0.4, 0.3), destination);
        QCOMPARE(result.message, QStringLiteral("Düzenlenen PDF yeniden doğrulanamadı."));
        QVERIFY(!result.ok);
        QCOMPARE(QFileInfo::exists(destination), existing);
        if (existing)
            QCOMPARE(readBytes(destination), kPrevious);
    }
};

QTEST_GUILESS_MAIN(ApplyEditTest)
#include "ApplyEditTest.moc"
