// The dispatcher, called in-process: the six operations that open their own
// files are chosen before any document check; the PDFium group checks the
// path and size, opens the document with its password, bounds the page
// count and only then looks the name up. A name whose handler is not
// registered yet is unrecognised once it gets that far; the registered
// handlers have tests of their own.

#include "common/EngineLibrary.h"
#include "IsolationReport.h"
#include "support/PdfFixtures.h"
#include "PdfOperations.h"
#include "RequestDispatcher.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const char kPathError[] = "PDF dosyası okunamıyor veya 512 MiB sınırını aşıyor.";
const char kOpenError[] = "PDF açılamadı. Belge parolasını veya dosya biçimini kontrol edin.";
const char kPageCountError[] = "Desteklenen sayfa sayısı 1–10000.";
const char kUnrecognised[] = "PDF işlemi tanınmadı.";
const char kNotLoaded[] = "PDFium motoru yüklenemedi.";

constexpr qint64 kLimit = 536870912;

// Operations that open their own files.
const char* const kDocumentFree[] = {"prepareSignature", "signaturePolicy", "appendDss"};
// Implemented ones that refuse a request without sources before PDFium.
const char* const kPageOperations[] = {"pages", "overlay"};
const char* const kPdfiumGroup[] = {"fields",  "fillFields", "textObjects", "replaceText", "deleteText",
                                    "annotate", "signatures", "addText",     "addNote",     "ocr",
                                    "notes",    "inspect",    "search",      "render"};

QJsonObject entryError(const char* message, int code)
{
    return QJsonObject{{QStringLiteral("ok"), false},
                       {QStringLiteral("error"), QString::fromUtf8(message)},
                       {QStringLiteral("code"), code}};
}

bool isRegistered(const char* name)
{
    for (const PdfiumOperation& operation : pdfiumOperations()) {
        if (qstrcmp(operation.name, name) == 0)
            return operation.handler != nullptr;
    }
    for (const DocumentFreeOperation& operation : documentFreeOperations()) {
        if (qstrcmp(operation.name, name) == 0)
            return operation.handler != nullptr;
    }
    return false;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file of the given size that occupies almost no disk space.
bool writeSparse(const QString& path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

} // namespace

class PdfWorkerDispatchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    QMap<QString, QString> m_files;

    // "@name" in "path" stands for the fixture of that name.
    QJsonObject resolve(QJsonObject request) const
    {
        const QString path = request.value(QStringLiteral("path")).toString();
        if (path.startsWith(QLatin1Char('@')))
            request.insert(QStringLiteral("path"), m_files.value(path.mid(1)));
        return request;
    }

    static QJsonObject request(const char* json)
    {
        return QJsonDocument::fromJson(QByteArray(json)).object();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
        QVERIFY(m_directory.isValid());
        const auto add = [&](const QString& name) { return m_files[name] = m_directory.filePath(name); };
        QVERIFY(writePdf(add(QStringLiteral("plain")), PdfFixtureSpec::withPages(3)));
        QVERIFY(writeEncryptedCopy(m_files[QStringLiteral("plain")], add(QStringLiteral("encrypted")),
                                   QStringLiteral("açık"), QStringLiteral("sahip")));
        QVERIFY(writeBytes(add(QStringLiteral("text")), "Bu bir PDF değil.\n"));
        QVERIFY(writeBytes(add(QStringLiteral("empty")), QByteArray()));
        QVERIFY(QDir().mkdir(add(QStringLiteral("directory"))));
        QVERIFY(writeSparse(add(QStringLiteral("limit")), kLimit));
        QVERIFY(writeSparse(add(QStringLiteral("over")), kLimit + 1));
        QVERIFY(writePdf(add(QStringLiteral("no pages")), PdfFixtureSpec::withPages(0)));
        QVERIFY(writePdf(add(QStringLiteral("10000 pages")), PdfFixtureSpec::withPages(10000, {100, 100, 0, ""})));
        QVERIFY(writePdf(add(QStringLiteral("10001 pages")), PdfFixtureSpec::withPages(10001, {100, 100, 0, ""})));
        QVERIFY(QFile::link(m_files[QStringLiteral("plain")], add(QStringLiteral("link"))));
    }

    void entryFailure_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QJsonObject>("reply");
        QTest::newRow("empty request") << request("{}") << entryError(kPathError, 0);
        QTest::newRow("PDFium operation without path") << request(R"({"operation":"inspect"})")
                                                       << entryError(kPathError, 0);
        QTest::newRow("missing file") << request(R"({"operation":"render","path":"/yok/böyle.pdf"})")
                                      << entryError(kPathError, 0);
        QTest::newRow("empty path") << request(R"({"operation":"render","path":""})") << entryError(kPathError, 0);
        QTest::newRow("path is a number") << request(R"({"operation":"render","path":7})")
                                          << entryError(kPathError, 0);
        QTest::newRow("path is a directory") << request(R"({"operation":"inspect","path":"@directory"})")
                                             << entryError(kPathError, 0);
        QTest::newRow("path with a zero character")
            << QJsonObject{{"operation", "inspect"}, {"path", QString(m_files[QStringLiteral("plain")] + QChar(0) + QLatin1Char('x'))}}
            << entryError(kPathError, 0);
        QTest::newRow("one byte over 512 MiB") << request(R"({"operation":"inspect","path":"@over"})")
                                               << entryError(kPathError, 0);
        QTest::newRow("exactly 512 MiB, not a PDF") << request(R"({"operation":"inspect","path":"@limit"})")
                                                    << entryError(kOpenError, 3);
        QTest::newRow("not a PDF") << request(R"({"operation":"inspect","path":"@text"})") << entryError(kOpenError, 3);
        QTest::newRow("empty file") << request(R"({"operation":"inspect","path":"@empty"})")
                                    << entryError(kOpenError, 3);
        QTest::newRow("unknown name, password needed")
            << request(R"({"operation":"bilinmeyen","path":"@encrypted"})") << entryError(kOpenError, 4);
        QTest::newRow("wrong password") << request(R"({"operation":"inspect","path":"@encrypted","password":"x"})")
                                        << entryError(kOpenError, 4);
        QTest::newRow("password not a string")
            << request(R"({"operation":"inspect","path":"@encrypted","password":1})") << entryError(kOpenError, 4);
        QTest::newRow("no pages") << request(R"({"operation":"inspect","path":"@no pages"})")
                                  << entryError(kPageCountError, 0);
        QTest::newRow("10001 pages") << request(R"({"operation":"inspect","path":"@10001 pages"})")
                                     << entryError(kPageCountError, 0);
    }

    void entryFailure()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QJsonObject, reply);
        QCOMPARE(dispatchRequest(resolve(request)), reply);
    }

    void unrecognisedAfterOpening_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::newRow("no operation") << request(R"({"path":"@plain"})");
        QTest::newRow("operation not a string") << request(R"({"operation":3,"path":"@plain"})");
        QTest::newRow("first letter upper case") << request(R"({"operation":"Inspect","path":"@plain"})");
        QTest::newRow("unknown name") << request(R"({"operation":"bilinmeyen","path":"@plain"})");
        QTest::newRow("right password") << request(R"({"operation":"Render","path":"@encrypted","password":"açık"})");
        QTest::newRow("10000 pages") << request(R"({"operation":"bilinmeyen","path":"@10000 pages"})");
        QTest::newRow("symbolic link to a PDF") << request(R"({"operation":"bilinmeyen","path":"@link"})");
        for (const char* name : kPdfiumGroup) {
            if (isRegistered(name))
                continue;
            QTest::addRow("%s", name) << QJsonObject{{"operation", name}, {"path", "@plain"}};
            QTest::addRow("%s, encrypted", name)
                << QJsonObject{{"operation", name}, {"path", "@encrypted"}, {"password", "açık"}};
        }
    }

    void unrecognisedAfterOpening()
    {
        QFETCH(QJsonObject, request);
        QCOMPARE(dispatchRequest(resolve(request)), entryError(kUnrecognised, 0));
    }

    // Chosen before any document check: a request the operation cannot
    // take gets the operation's own sentence (or, while its handler is
    // missing, the unrecognised one), never the PDFium group's.
    void documentFreeOperations_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QJsonObject>("reply");
        const QMap<QString, QString> sentences{
            {"prepareSignature", "İmza girdisi geçersiz veya 128 MiB sınırını aşıyor."},
            {"signaturePolicy", "DocMDP/FieldMDP izinleri güvenle çözümlenemedi."},
            {"appendDss", "DSS doğrulama kanıtları incremental olarak eklenemedi."}};
        for (const char* name : kDocumentFree) {
            const QJsonObject reply = isRegistered(name)
                                          ? QJsonObject{{"ok", false}, {"error", sentences.value(name)}}
                                          : entryError(kUnrecognised, 0);
            QTest::addRow("%s without path", name) << QJsonObject{{"operation", name}} << reply;
            QTest::addRow("%s with oversized path", name)
                << QJsonObject{{"operation", name}, {"path", "@over"}} << reply;
            if (qstrcmp(name, "signaturePolicy") != 0)
                QTest::addRow("%s with a PDF", name) << QJsonObject{{"operation", name}, {"path", "@plain"}} << reply;
        }
    }

    void documentFreeOperations()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QJsonObject, reply);
        QCOMPARE(dispatchRequest(resolve(request)), reply);
    }

    // What the entry adds to a dispatched reply: the one self-check result
    // under both keys, replacing whatever a handler put there.
    void isolationAddedToReply_data()
    {
        QTest::addColumn<QJsonObject>("reply");
        QTest::addColumn<bool>("passed");
        QTest::newRow("error reply, failed") << entryError(kUnrecognised, 0) << false;
        QTest::newRow("success, passed") << QJsonObject{{"ok", true}, {"pageCount", 2}} << true;
        QTest::newRow("handler's own isolation key")
            << QJsonObject{{"ok", true}, {"isolation", QJsonObject{{"filesystem", true}}}} << false;
        QTest::newRow("isolation key of another type") << QJsonObject{{"ok", false}, {"isolation", "evet"}} << true;
    }

    void isolationAddedToReply()
    {
        QFETCH(QJsonObject, reply);
        QFETCH(bool, passed);
        QJsonObject expected = reply;
        expected.insert(QStringLiteral("isolation"),
                        QJsonObject{{"filesystem", passed}, {"networkAndExecution", passed}});
        QCOMPARE(withIsolation(reply, passed), expected);
        QCOMPARE(isolationReport(passed), expected.value(QStringLiteral("isolation")).toObject());
    }

    // Run beside no PDFium library: whatever needs PDFium says it cannot be
    // loaded, so any other answer proves PDFium was never reached.
    void pdfiumLoadedOnlyWhenNeeded_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QJsonObject>("reply");
        for (const char* name : kDocumentFree) {
            if (!isRegistered(name))
                QTest::addRow("%s", name) << QJsonObject{{"operation", name}, {"path", "@plain"}}
                                          << entryError(kUnrecognised, 0);
        }
        // Beside no qpdf either: the permission analysis cannot read.
        QTest::newRow("signaturePolicy") << request(R"({"operation":"signaturePolicy","path":"@plain"})")
                                         << QJsonObject{{"ok", false},
                                                        {"error", "DocMDP/FieldMDP izinleri güvenle çözümlenemedi."}};
        for (const char* name : kPageOperations)
            QTest::addRow("%s", name) << QJsonObject{{"operation", name}, {"path", "@plain"}}
                                      << QJsonObject{{"ok", false}, {"error", "Sayfa işlemi isteği geçersiz."}};
        QTest::newRow("createImages") << request(R"({"operation":"createImages","path":"@plain"})")
                                      << QJsonObject{{"ok", false}, {"error", "1–100 görsel gerekli."}};
        QTest::newRow("inspect") << request(R"({"operation":"inspect","path":"@plain"})") << entryError(kNotLoaded, 0);
        QTest::newRow("exactly 512 MiB") << request(R"({"operation":"inspect","path":"@limit"})")
                                         << entryError(kNotLoaded, 0);
        QTest::newRow("one byte over 512 MiB") << request(R"({"operation":"inspect","path":"@over"})")
                                               << entryError(kPathError, 0);
        QTest::newRow("missing path") << request(R"({"operation":"inspect"})") << entryError(kPathError, 0);
    }

    void pdfiumLoadedOnlyWhenNeeded()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QJsonObject, reply);
        QProcess probe;
        probe.setProgram(testBinaryDirectory() + QStringLiteral("/pdfium-missing/pdfium-probe"));
        probe.setArguments({QStringLiteral("dispatch")});
        probe.start();
        QVERIFY(probe.waitForStarted());
        probe.write(QJsonDocument(resolve(request)).toJson(QJsonDocument::Compact));
        probe.closeWriteChannel();
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitCode(), 0);
        QCOMPARE(QJsonDocument::fromJson(probe.readAllStandardOutput()).object(), reply);
    }
};

QTEST_GUILESS_MAIN(PdfWorkerDispatchTest)
#include "PdfWorkerDispatchTest.moc"
