// The private working copy: made from the user's file with change detection
// and cancellation, and written out atomically to a new destination that is
// never the source or the copy itself.

#include "document/core/DocumentOpen.h"
#include "document/core/PrivateDirectory.h"
#include "document/core/SourceCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class WorkingCopyTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    // Workspaces go here, apart from those of tests running alongside.
    QTemporaryDir m_temp;
    QString at(const QString& name) const { return m_dir.filePath(name); }

    // A document whose working copy holds `bytes`, opened from `source`.
    PdfDocumentPtr documentFor(const QString& source, const QByteArray& bytes)
    {
        auto document = std::make_shared<PdfDocument>();
        document->workspace = createPrivateDirectory(QStringLiteral("velk-pdf-"));
        document->sourcePath = QFileInfo(source).canonicalFilePath();
        document->workingPath = document->workspace->filePath("document.pdf");
        writeFile(document->workingPath, bytes);
        return document;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void copiesByteForByteOwnerOnly()
    {
        const QByteArray bytes = QByteArray(3 * 1048576 + 17, 'p');
        QVERIFY(writeFile(at("big.pdf"), bytes));
        const QString target = at("copy.pdf");
        QCOMPARE(SourceCopy::copy(at("big.pdf"), target, SourceCopy::snapshot(at("big.pdf")), nullptr), QString());
        QCOMPARE(readFile(target), bytes);
        const QFileDevice::Permissions permissions = QFile::permissions(target);
        QVERIFY(permissions.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(!(permissions & (QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                 | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
                                 | QFileDevice::ExeOther)));
    }

    void changedSourceIsRefused_data()
    {
        QTest::addColumn<QByteArray>("rewrite");
        QTest::newRow("grown") << QByteArray("%PDF-1.7 plus more");
        QTest::newRow("same size, rewritten") << QByteArray("%PDF-1.8");
        QTest::newRow("truncated") << QByteArray("%PDF");
        QTest::newRow("truncated to nothing") << QByteArray("");
    }

    void changedSourceIsRefused()
    {
        QFETCH(QByteArray, rewrite);
        QVERIFY(writeFile(at("changing.pdf"), "%PDF-1.7"));
        const SourceSnapshot before = SourceCopy::snapshot(at("changing.pdf"));
        QTest::qSleep(20); // a later modification time
        QVERIFY(writeFile(at("changing.pdf"), rewrite));
        QFile::remove(at("changed-copy.pdf"));
        QCOMPARE(SourceCopy::copy(at("changing.pdf"), at("changed-copy.pdf"), before, nullptr),
                 QStringLiteral("PDF açılırken kaynak dosya değişti. Yeniden açın."));
    }

    void cancelledBeforeTheFirstChunk()
    {
        QVERIFY(writeFile(at("cancel.pdf"), "%PDF-1.7"));
        auto cancel = std::make_shared<std::atomic<bool>>(true);
        QCOMPARE(SourceCopy::copy(at("cancel.pdf"), at("cancel-copy.pdf"), SourceCopy::snapshot(at("cancel.pdf")), cancel),
                 QStringLiteral("Belge açma iptal edildi."));
    }

    void existingTargetIsNeverOverwritten()
    {
        QVERIFY(writeFile(at("src.pdf"), "%PDF-1.7"));
        QVERIFY(writeFile(at("taken.pdf"), "keep"));
        QCOMPARE(SourceCopy::copy(at("src.pdf"), at("taken.pdf"), SourceCopy::snapshot(at("src.pdf")), nullptr),
                 QStringLiteral("PDF çalışma kopyası oluşturulamadı."));
        QCOMPARE(readFile(at("taken.pdf")), QByteArray("keep"));
    }

    void openRefusesUnreadableOrOversizedSources_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("error");
        const QString refused = QStringLiteral("PDF okunamıyor veya 512 MiB sınırını aşıyor.");
        // Accepted sources get past the size test and stop at cancellation,
        // so no half-gigabyte copy is made.
        const QString cancelled = QStringLiteral("Belge açma iptal edildi.");
        QTest::newRow("exactly 512 MiB") << "exact.pdf" << qint64(536870912) << cancelled;
        QTest::newRow("one byte more") << "over.pdf" << qint64(536870913) << refused;
        QTest::newRow("missing") << "missing.pdf" << qint64(-1) << refused;
        QTest::newRow("directory") << "folder.pdf" << qint64(-2) << refused;
        QTest::newRow("empty path") << "" << qint64(-1) << refused;
    }

    void openRefusesUnreadableOrOversizedSources()
    {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(QString, error);
        const QString path = name.isEmpty() ? QString() : at(name);
        if (size >= 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        } else if (size == -2) {
            QVERIFY(QDir(m_dir.path()).mkpath(name));
        }
        const QStringList before = QDir::temp().entryList({"velk-pdf-*"}, QDir::Dirs);
        const PdfOpenResult result = openPdfDocument(path, QString(), std::make_shared<std::atomic<bool>>(true));
        QCOMPARE(result.error, error);
        QVERIFY(!result.document);
        QCOMPARE(result.code, 0);
        // A failed open leaves no workspace behind.
        QCOMPARE(QDir::temp().entryList({"velk-pdf-*"}, QDir::Dirs), before);
        if (size >= 0)
            QFile::remove(path);
    }

    void saveAsRefusesTheSourceAndTheCopy_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        const QString kept = QStringLiteral("Kaynak korunur. Farklı bir çıktı adı seçin.");
        QTest::newRow("source itself") << "source.pdf" << kept;
        QTest::newRow("source spelled differently") << "sub/../source.pdf" << kept;
        QTest::newRow("link to the source") << "link.pdf" << kept;
        QTest::newRow("new name") << "saved.pdf" << QString();
        QTest::newRow("empty output") << "" << QStringLiteral("Açık belge ve çıktı dosyası gerekli.");
    }

    void saveAsRefusesTheSourceAndTheCopy()
    {
        QFETCH(QString, output);
        QFETCH(QString, error);
        QVERIFY(writeFile(at("source.pdf"), "original"));
        QDir(m_dir.path()).mkpath("sub");
        QFile::link(at("source.pdf"), at("link.pdf"));
        const PdfDocumentPtr document = documentFor(at("source.pdf"), "working copy");
        const QString target = output.isEmpty() ? QString() : m_dir.path() + '/' + output;
        const ExportResult result = copyWorkingCopy(document, target);
        QCOMPARE(result.message, error);
        QCOMPARE(result.ok, error.isEmpty());
        QCOMPARE(readFile(at("source.pdf")), QByteArray("original"));
        if (result.ok)
            QCOMPARE(readFile(target), QByteArray("working copy"));
    }

    void saveAsRefusesTheWorkingCopyAndNullDocuments()
    {
        QVERIFY(writeFile(at("source2.pdf"), "original"));
        const PdfDocumentPtr document = documentFor(at("source2.pdf"), "working copy");
        QCOMPARE(copyWorkingCopy(document, document->workingPath).message,
                 QStringLiteral("Kaynak korunur. Farklı bir çıktı adı seçin."));
        QCOMPARE(copyWorkingCopy(nullptr, at("x.pdf")).message, QStringLiteral("Açık belge ve çıktı dosyası gerekli."));
    }

    void saveAsReplacesAnExistingOtherFileAtomically()
    {
        QVERIFY(writeFile(at("source3.pdf"), "original"));
        QVERIFY(writeFile(at("older.pdf"), "older content"));
        const PdfDocumentPtr document = documentFor(at("source3.pdf"), "new content");
        QVERIFY(copyWorkingCopy(document, at("older.pdf")).ok);
        QCOMPARE(readFile(at("older.pdf")), QByteArray("new content"));
    }

    void workspaceGoesWithTheLastHolder()
    {
        QVERIFY(writeFile(at("source4.pdf"), "original"));
        PdfDocumentPtr document = documentFor(at("source4.pdf"), "copy");
        const QString workspace = document->workspace->path();
        PdfDocumentPtr task = document;
        document.reset();
        QVERIFY(QDir(workspace).exists());
        task.reset();
        QVERIFY(!QDir(workspace).exists());
    }
};

QTEST_GUILESS_MAIN(WorkingCopyTest)
#include "WorkingCopyTest.moc"
