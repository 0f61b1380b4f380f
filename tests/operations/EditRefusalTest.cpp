// What the editing tasks refuse before any workspace exists: a destination
// that is the open document's source file or working copy however it is
// spelled, an empty destination, a missing document, and for the other
// edits also signed or encrypted documents and unknown operations. The
// system temporary location is a plain file, in which no workspace can be
// made, so a task that got as far as creating its workspace says so
// instead; the rows with a fresh destination show that order.

#include "operations/AddTextOrNote.h"
#include "operations/ApplyEdit.h"
#include "operations/QueryDocument.h"

#include "OperationTestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kAddKeepsSource = QStringLiteral("Kaynak belge korunur. Yeni bir çıktı adı seçin.");
const QString kAddWorkspace = QStringLiteral("Geçici çıktı alanı oluşturulamadı.");
const QString kEditInvalid = QStringLiteral("Belge veya düzenleme isteği geçersiz. İmzalı/şifreli belge korunur.");
const QString kEditKeepsSource = QStringLiteral("Kaynak korunur. Farklı bir çıktı adı seçin.");
const QString kEditWorkspace = QStringLiteral("Düzenleme çalışma alanı oluşturulamadı.");

QJsonObject annotateRequest()
{
    return {{"operation", "annotate"}, {"page", 0}, {"kind", "highlight"},
            {"left", 0.1}, {"top", 0.1}, {"right", 0.5}, {"bottom", 0.5}};
}

} // namespace

class EditRefusalTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_copyDir;
    PdfDocumentPtr m_document;

    QString at(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QString copyAt(const QString& name) const { return m_copyDir.path() + QLatin1Char('/') + name; }
    QString noWorkspace() const { return m_copyDir.path() + QStringLiteral("/temp-is-a-file"); }

    // Destination spellings: "source:" and "copy:" prefixes name paths
    // beside the source and inside the working copy's workspace.
    QString spelled(const QString& destination) const
    {
        if (destination.isEmpty())
            return QString();
        if (destination.startsWith(QLatin1String("copy:")))
            return copyAt(destination.mid(5));
        return at(destination);
    }

    static void addDestinationRows(const QString& keepsSource, const QString& workspace)
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("message");
        QTest::newRow("source itself") << "belge.pdf" << keepsSource;
        QTest::newRow("source through ..") << "sub/../belge.pdf" << keepsSource;
        QTest::newRow("source through . and //") << ".//belge.pdf" << keepsSource;
        QTest::newRow("link to the source") << "link.pdf" << keepsSource;
        QTest::newRow("working copy") << "copy:document.pdf" << keepsSource;
        QTest::newRow("working copy through ..") << "copy:x/../document.pdf" << keepsSource;
        QTest::newRow("link to the working copy") << "copy-link.pdf" << keepsSource;
        QTest::newRow("fresh name beside the source") << "yeni.pdf" << workspace;
        QTest::newRow("source name in another letter case") << "BELGE.pdf" << workspace;
    }

    void checkNothingWritten()
    {
        QCOMPARE(readBytes(at(QStringLiteral("belge.pdf"))), QByteArray("source bytes"));
        QCOMPARE(readBytes(copyAt(QStringLiteral("document.pdf"))), QByteArray("working copy bytes"));
        QCOMPARE(entriesOf(m_dir.path()),
                 QStringList({QStringLiteral("belge.pdf"), QStringLiteral("copy-link.pdf"),
                              QStringLiteral("link.pdf"), QStringLiteral("sub")}));
        QCOMPARE(entriesOf(m_copyDir.path()), QStringList({QStringLiteral("document.pdf"), QStringLiteral("temp-is-a-file"),
                                                                QStringLiteral("x")}));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_copyDir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sub")));
        QVERIFY(QDir(m_copyDir.path()).mkpath(QStringLiteral("x")));
        QVERIFY(writeBytes(at(QStringLiteral("belge.pdf")), "source bytes"));
        QVERIFY(writeBytes(copyAt(QStringLiteral("document.pdf")), "working copy bytes"));
        QVERIFY(QFile::link(at(QStringLiteral("belge.pdf")), at(QStringLiteral("link.pdf"))));
        QVERIFY(QFile::link(copyAt(QStringLiteral("document.pdf")), at(QStringLiteral("copy-link.pdf"))));
        m_document = describedDocument(at(QStringLiteral("belge.pdf")), copyAt(QStringLiteral("document.pdf")), 1);
        QVERIFY(writeBytes(noWorkspace(), "not a directory"));
        useTemporaryDirectory(noWorkspace());
    }

    void addingRefusesTheDocumentsOwnFiles_data() { addDestinationRows(kAddKeepsSource, kAddWorkspace); }

    void addingRefusesTheDocumentsOwnFiles()
    {
        QFETCH(QString, destination);
        QFETCH(QString, message);
        const ExportResult result =
            addTextOrNote(m_document, 0, QPointF(0.5, 0.5), QStringLiteral("Çağrı"), false, 14, spelled(destination));
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        checkNothingWritten();
    }

    void addingRefusesMissingDocumentOrDestination()
    {
        QCOMPARE(addTextOrNote(nullptr, 0, QPointF(0.5, 0.5), "x", true, 14, at("yeni.pdf")).message, kAddKeepsSource);
        QCOMPARE(addTextOrNote(m_document, 0, QPointF(0.5, 0.5), "x", true, 14, QString()).message, kAddKeepsSource);
        checkNothingWritten();
    }

    void editingRefusesTheDocumentsOwnFiles_data() { addDestinationRows(kEditKeepsSource, kEditWorkspace); }

    void editingRefusesTheDocumentsOwnFiles()
    {
        QFETCH(QString, destination);
        QFETCH(QString, message);
        const ExportResult result = applyEdit(m_document, annotateRequest(), spelled(destination));
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        checkNothingWritten();
    }

    void editingRefusesProtectedDocumentsAndUnknownRequests_data()
    {
        QTest::addColumn<int>("signatures");
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<QJsonValue>("operation");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("message");
        QTest::newRow("signed") << 1 << false << QJsonValue("annotate") << "yeni.pdf" << kEditInvalid;
        QTest::newRow("encrypted") << 0 << true << QJsonValue("replaceText") << "yeni.pdf" << kEditInvalid;
        QTest::newRow("signed, destination is the source") << 2 << false << QJsonValue("deleteText") << "belge.pdf"
                                                           << kEditInvalid;
        QTest::newRow("empty destination") << 0 << false << QJsonValue("annotate") << "" << kEditInvalid;
        QTest::newRow("capitalised operation") << 0 << false << QJsonValue("Annotate") << "yeni.pdf" << kEditInvalid;
        QTest::newRow("an operation of another task") << 0 << false << QJsonValue("addText") << "yeni.pdf"
                                                       << kEditInvalid;
        QTest::newRow("operation not a string") << 0 << false << QJsonValue(3) << "yeni.pdf" << kEditInvalid;
        QTest::newRow("operation missing") << 0 << false << QJsonValue() << "yeni.pdf" << kEditInvalid;
        QTest::newRow("each of the four passes: replaceText") << 0 << false << QJsonValue("replaceText")
                                                              << "yeni.pdf" << kEditWorkspace;
        QTest::newRow("each of the four passes: deleteText") << 0 << false << QJsonValue("deleteText") << "yeni.pdf"
                                                             << kEditWorkspace;
        QTest::newRow("each of the four passes: fillFields") << 0 << false << QJsonValue("fillFields") << "yeni.pdf"
                                                             << kEditWorkspace;
    }

    void editingRefusesProtectedDocumentsAndUnknownRequests()
    {
        QFETCH(int, signatures);
        QFETCH(bool, encrypted);
        QFETCH(QJsonValue, operation);
        QFETCH(QString, destination);
        QFETCH(QString, message);
        const PdfDocumentPtr document = describedDocument(m_document->sourcePath, m_document->workingPath, 1,
                                                          signatures, encrypted);
        QJsonObject request = annotateRequest();
        request.insert(QStringLiteral("operation"), operation);
        QCOMPARE(applyEdit(document, request, spelled(destination)).message, message);
        QCOMPARE(applyEdit(nullptr, request, spelled(destination)).message, kEditInvalid);
        checkNothingWritten();
    }

    void queriesRefuseUnknownOperationsWithoutTheWorker_data()
    {
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<QString>("operation");
        QTest::newRow("no document") << false << "textObjects";
        QTest::newRow("capitalised") << true << "TextObjects";
        QTest::newRow("another operation") << true << "inspect";
        QTest::newRow("empty") << true << "";
    }

    void queriesRefuseUnknownOperationsWithoutTheWorker()
    {
        QFETCH(bool, withDocument);
        QFETCH(QString, operation);
        // A set flag would stop any worker run; the refusal comes first.
        const WorkerReply reply = queryDocument(withDocument ? m_document : nullptr, operation, 0,
                                                std::make_shared<std::atomic<bool>>(true));
        QCOMPARE(reply.error, QStringLiteral("Belge sorgusu geçersiz."));
        QVERIFY(reply.json.isEmpty());
    }
};

QTEST_GUILESS_MAIN(EditRefusalTest)
#include "EditRefusalTest.moc"
