// Saving writes only new files: a relative or taken output path is refused
// without touching anything, an output that cannot be opened or a save that
// breaks off half-way leaves no file behind, and a completed save is a whole,
// fully rewritten PDF that qpdf accepts and PDFium reopens. Bytes saved to
// memory are committed to a new file the same way.

#include "support/PdfFixtures.h"
#include "pdfium/Pdfium.h"
#include "pdfium/PdfiumDocument.h"
#include "pdfium/SaveNewPdf.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace velk;
using namespace velk::test;

namespace {

// Caps the size of files this process writes, the way a full disk or a
// quota would stop a save; the writes past the cap fail with EFBIG.
class FileSizeCap {
public:
    explicit FileSizeCap(rlim_t bytes)
    {
        m_ok = ::getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = m_saved;
        capped.rlim_cur = bytes;
        m_ok = m_ok && ::setrlimit(RLIMIT_FSIZE, &capped) == 0;
    }
    ~FileSizeCap()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool isActive() const { return m_ok; }

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_ok = false;
};

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class SaveNewPdfTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    Pdfium m_pdfium;
    DocumentHandle m_document;
    QString m_source;
    // Size of the complete output, measured by one uncapped save.
    qint64 m_fullSize = 0;

    QString freshDirectory(const QString& name) const
    {
        const QString path = m_directory.filePath(name);
        QDir().mkpath(path);
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        QVERIFY(m_pdfium.bindPdfium(velk::test::applicationDirectory()));
        m_source = m_directory.filePath(QStringLiteral("source.pdf"));
        QVERIFY(writePdf(m_source, PdfFixtureSpec::withPages(40, {595, 842, 0, "Kaydedilecek sayfa"})));
        QByteArray password;
        OpenedDocument opened = loadPdfiumDocument(m_pdfium, m_source, password);
        QVERIFY(opened.document);
        m_document = std::move(opened.document);
        const QString measured = freshDirectory(QStringLiteral("measured")) + QStringLiteral("/out.pdf");
        QJsonObject reply;
        QVERIFY(saveNewPdf(reply, m_pdfium, m_document.get(), measured));
        m_fullSize = QFileInfo(measured).size();
        QVERIFY(m_fullSize > 1024);
    }

    void cleanupTestCase() { m_document.reset(); }

    void refusedOutput_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("relative path") << "relative";
        QTest::newRow("empty path") << "empty";
        QTest::newRow("existing empty file") << "empty file";
        QTest::newRow("existing PDF") << "pdf";
        QTest::newRow("existing directory") << "directory";
        QTest::newRow("dangling symbolic link") << "dangling link";
        QTest::newRow("symbolic link to a file") << "link";
    }

    void refusedOutput()
    {
        QFETCH(QString, kind);
        const QString directory = freshDirectory(QStringLiteral("refused-") + kind);
        QString output = directory + QStringLiteral("/out.pdf");
        if (kind == QLatin1String("relative")) {
            output = QStringLiteral("out.pdf");
            QVERIFY(QDir::setCurrent(directory));
        } else if (kind == QLatin1String("empty")) {
            output.clear();
        } else if (kind == QLatin1String("empty file")) {
            QFile file(output);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (kind == QLatin1String("pdf")) {
            QVERIFY(writePdf(output));
        } else if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkdir(output));
        } else if (kind == QLatin1String("dangling link")) {
            QVERIFY(QFile::link(directory + QStringLiteral("/elsewhere.pdf"), output));
        } else if (kind == QLatin1String("link")) {
            QVERIFY(writePdf(directory + QStringLiteral("/target.pdf")));
            QVERIFY(QFile::link(directory + QStringLiteral("/target.pdf"), output));
        }
        const QStringList before = entries(directory);
        const QByteArray content = QFile::exists(output) ? [&] {
            QFile file(output);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }() : QByteArray();

        QJsonObject reply{{QStringLiteral("stale"), 1}};
        QVERIFY(!saveNewPdf(reply, m_pdfium, m_document.get(), output));
        QCOMPARE(reply, (QJsonObject{{QStringLiteral("ok"), false},
                                     {QStringLiteral("error"), QStringLiteral("Yeni bir çıktı dosyası gerekli.")}}));
        QCOMPARE(entries(directory), before);
        if (QFileInfo(output).isFile()) {
            QFile file(output);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        }
        QVERIFY(QDir::setCurrent(m_directory.path()));
    }

    void outputThatCannotBeOpened()
    {
        const QString output = m_directory.filePath(QStringLiteral("no-such-directory/out.pdf"));
        QJsonObject reply;
        QVERIFY(!saveNewPdf(reply, m_pdfium, m_document.get(), output));
        QCOMPARE(reply.value(QStringLiteral("error")).toString(), QStringLiteral("PDF çıktısı açılamadı."));
        QVERIFY(!QFileInfo::exists(m_directory.filePath(QStringLiteral("no-such-directory"))));
    }

    void saveBrokenOffHalfWay_data()
    {
        QTest::addColumn<int>("capBytes");
        QTest::newRow("stops after the header") << 64;
        QTest::newRow("stops in the middle") << int(m_fullSize / 2);
        QTest::newRow("only the last byte missing") << int(m_fullSize - 1);
    }

    void saveBrokenOffHalfWay()
    {
        QFETCH(int, capBytes);
        const QString directory = freshDirectory(QStringLiteral("capped-%1").arg(capBytes));
        const QString output = directory + QStringLiteral("/out.pdf");
        QJsonObject reply;
        bool saved = true;
        {
            FileSizeCap cap{rlim_t(capBytes)};
            QVERIFY(cap.isActive());
            saved = saveNewPdf(reply, m_pdfium, m_document.get(), output);
        }
        QVERIFY(!saved);
        QCOMPARE(reply, (QJsonObject{{QStringLiteral("ok"), false},
                                     {QStringLiteral("error"), QStringLiteral("PDF kaydedilemedi.")}}));
        // Neither the output nor the save file's temporary file remains.
        QCOMPARE(entries(directory), QStringList());
    }

    // The control for the rows above: the same cap with room for every byte
    // lets the save complete.
    void saveThatFitsUnderTheCap()
    {
        const QString directory = freshDirectory(QStringLiteral("capped-fitting"));
        QJsonObject reply;
        bool saved = false;
        {
            FileSizeCap cap{rlim_t(m_fullSize)};
            QVERIFY(cap.isActive());
            saved = saveNewPdf(reply, m_pdfium, m_document.get(), directory + QStringLiteral("/out.pdf"));
        }
        QVERIFY(saved);
        QCOMPARE(QFileInfo(directory + QStringLiteral("/out.pdf")).size(), m_fullSize);
    }

    // Bytes finished in memory reach a new file through the same commit:
    // whole on success, refused for a taken path, nothing left when cut.
    void memorySaveCommittedLikeAFile()
    {
        QJsonObject reply;
        const std::optional<QByteArray> bytes = savePdfToMemory(reply, m_pdfium, m_document.get());
        QVERIFY(bytes.has_value());
        QVERIFY(bytes->startsWith("%PDF-"));
        const QString directory = freshDirectory(QStringLiteral("from-memory"));
        const QString output = directory + QStringLiteral("/out.pdf");
        QVERIFY(writeNewPdf(reply, *bytes, output));
        QCOMPARE(reply, (QJsonObject{{QStringLiteral("ok"), true}}));
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), *bytes);
        QVERIFY(qpdfAccepts(output));

        QVERIFY(!writeNewPdf(reply, "%PDF-", output));
        QCOMPARE(reply.value(QStringLiteral("error")).toString(), QStringLiteral("Yeni bir çıktı dosyası gerekli."));
        QVERIFY(!acceptsNewOutput(reply, QStringLiteral("relative.pdf")));
        QCOMPARE(reply.value(QStringLiteral("error")).toString(), QStringLiteral("Yeni bir çıktı dosyası gerekli."));

        const QString capped = freshDirectory(QStringLiteral("from-memory-capped"));
        bool written = true;
        {
            FileSizeCap cap{rlim_t(bytes->size() / 2)};
            QVERIFY(cap.isActive());
            written = writeNewPdf(reply, *bytes, capped + QStringLiteral("/out.pdf"));
        }
        QVERIFY(!written);
        QCOMPARE(reply.value(QStringLiteral("error")).toString(), QStringLiteral("PDF kaydedilemedi."));
        QCOMPARE(entries(capped), QStringList());

        QVERIFY(!savePdfToMemory(reply, m_pdfium, nullptr).has_value());
        QCOMPARE(reply.value(QStringLiteral("error")).toString(), QStringLiteral("PDF kaydedilemedi."));
    }

    void completedSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain name") << "out.pdf";
        QTest::newRow("Turkish name") << "çıktı ğüşİ.pdf";
    }

    void completedSave()
    {
        QFETCH(QString, name);
        const QString directory = freshDirectory(QStringLiteral("saved-") + QTest::currentDataTag());
        const QString output = directory + QLatin1Char('/') + name;
        QJsonObject reply{{QStringLiteral("stale"), 1}};
        QVERIFY(saveNewPdf(reply, m_pdfium, m_document.get(), output));
        QCOMPARE(QJsonDocument(reply).toJson(QJsonDocument::Compact), QByteArray("{\"ok\":true}"));
        QCOMPARE(entries(directory), QStringList{name});
        QVERIFY(qpdfAccepts(output));

        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        // Fully rewritten: one cross-reference section, no appended update.
        QCOMPARE(bytes.count("startxref"), 1);

        QByteArray password;
        const OpenedDocument reopened = loadPdfiumDocument(m_pdfium, output, password);
        QVERIFY(reopened.document);
        QCOMPARE(m_pdfium.api().FPDF_GetPageCount(reopened.document.get()), 40);
    }
};

QTEST_GUILESS_MAIN(SaveNewPdfTest)
#include "SaveNewPdfTest.moc"
