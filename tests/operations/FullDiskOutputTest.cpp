// Every operation that writes a PDF, run for real (working copies, the
// sandboxed worker, verification, publication) onto a disk that fills up
// half-way through the output: each answers its own sentence, a new
// destination stays absent, an existing one keeps its bytes, and nothing
// else is left on the disk or in the temporary location. Destination
// folders that refuse the file (read-only, missing, a file) get their
// sentence too and nothing is written anywhere.

#include "operations/AddTextOrNote.h"
#include "document/core/DocumentOpen.h"
#include "FaultFixtures.h"
#include "operations/OcrTask.h"
#include "OperationTestFiles.h"
#include "operations/PageTasks.h"
#include "operations/PdfCreateService.h"

#include "support/PdfFixtures.h"
#include "support/SmallDisk.h"
#include "support/TestPaths.h"
#include "workers/pdf/images/ImageFiles.h"
#include "workers/pdf/ocr/ScannedPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace velk;
using namespace velk::test;

namespace {

using Operation = std::function<ExportResult(const QString& destination)>;

const QByteArray kPrevious = "%PDF-1.7 the previous output, byte for byte";
const QString kCopyNotWritten = QStringLiteral("PDF kopyası yazılamadı.");
const QString kCopyNotOpened = QStringLiteral("PDF kopyası açılamadı.");
const QString kOutputIncomplete = QStringLiteral("PDF kaydı tamamlanamadı.");
const QString kOutputNotSaved = QStringLiteral("PDF çıktısı kaydedilemedi.");
const QString kBlankNotSaved = QStringLiteral("PDF kaydedilemedi: ");
const QString kBlankNotOpened = QStringLiteral("Çıktı dosyası açılamadı: ");

// A sentence, or its fixed beginning where it ends in the system's reason.
bool matches(const QString& message, const QString& expected)
{
    return expected.endsWith(QLatin1Char(' ')) ? message.startsWith(expected) : message == expected;
}

} // namespace

class FullDiskOutputTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_inputs;
    QTemporaryDir m_temp;
    QTemporaryDir m_plain;
    PdfDocumentPtr m_bulky;
    PdfDocumentPtr m_scanned;
    QHash<QString, qint64> m_outputBytes;

    QString input(const QString& name) const { return m_inputs.filePath(name); }

    Operation operation(const QString& name) const
    {
        if (name == QStringLiteral("save copy"))
            return [document = m_bulky](const QString& to) { return copyWorkingCopy(document, to); };
        if (name == QStringLiteral("publish an edit"))
            return [document = m_bulky](const QString& to) {
                return addTextOrNote(document, 0, QPointF(0.5, 0.5), QStringLiteral("Not"), true, 12, to);
            };
        if (name == QStringLiteral("merge"))
            return [this](const QString& to) { return mergePdfFiles({input("a.pdf"), input("b.pdf")}, to); };
        if (name == QStringLiteral("OCR output"))
            return [document = m_scanned](const QString& to) { return recognizeDocument(document, {0}, to, nullptr); };
        if (name == QStringLiteral("blank PDF"))
            return [](const QString& to) { return PdfCreateService::blank(to, 100); };
        return [this](const QString& to) { return createFromImages(to, {input("noise.png"), input("noise.png")}); };
    }

    // What the operation writes when the disk has room, measured once.
    qint64 outputBytes(const QString& name)
    {
        if (!m_outputBytes.contains(name)) {
            const QString destination = m_plain.filePath(name + QStringLiteral(".pdf"));
            const ExportResult result = operation(name)(destination);
            if (!result.ok || !qpdfAccepts(destination))
                return -1;
            m_outputBytes.insert(name, QFileInfo(destination).size());
        }
        return m_outputBytes.value(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_inputs.isValid() && m_temp.isValid() && m_plain.isValid());
        useTemporaryDirectory(m_temp.path());
        QVERIFY(writeBulkyPdf(input("a.pdf"), "A", 2, 3 * 1048576));
        QVERIFY(writeBulkyPdf(input("b.pdf"), "B", 1, 1048576));
        QVERIFY(writeNoiseImage(input("noise.png"), 300));
        QVERIFY(writeScannedPdf(input("tarama.pdf"), {QStringLiteral("Kırmızı elma")}));
        const PdfOpenResult bulky = openPdfDocument(input("a.pdf"), QString(), nullptr);
        QVERIFY2(bulky.document, qPrintable(bulky.error));
        m_bulky = bulky.document;
        const PdfOpenResult scanned = openPdfDocument(input("tarama.pdf"), QString(), nullptr);
        QVERIFY2(scanned.document, qPrintable(scanned.error));
        m_scanned = scanned.document;
    }

    void cleanup()
    {
        // No task leaves a workspace or a working copy behind; the two
        // documents held by the test are the only directories here.
        QCOMPARE(entriesOf(m_temp.path()).size(), 2);
    }

    void diskFullHalfWayThroughTheOutput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QString>("sentence");
        const QList<std::pair<QString, QString>> operations{
            {QStringLiteral("save copy"), kCopyNotWritten},  {QStringLiteral("publish an edit"), kOutputIncomplete},
            {QStringLiteral("merge"), kOutputIncomplete},    {QStringLiteral("OCR output"), kOutputIncomplete},
            {QStringLiteral("blank PDF"), kBlankNotSaved},   {QStringLiteral("images to PDF"), kCopyNotWritten}};
        for (const auto& [name, sentence] : operations) {
            QTest::addRow("%s, new file", qPrintable(name)) << name << false << sentence;
            QTest::addRow("%s, existing file", qPrintable(name)) << name << true << sentence;
        }
    }

    void diskFullHalfWayThroughTheOutput()
    {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        QFETCH(QString, sentence);
        const qint64 full = outputBytes(name);
        const qint64 page = smallDiskPageBytes();
        QVERIFY2(full >= 4 * page, qPrintable(QString::number(full)));
        // Room for the previous file, if any, and half the new one.
        SmallDisk disk((existing ? page : 0) + (full / 2) / page * page);
        QVERIFY(disk.isReady());
        const QString destination = disk.filePath(QStringLiteral("çıktı.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));

        const ExportResult result = operation(name)(destination);
        QVERIFY(!result.ok);
        QVERIFY2(matches(result.message, sentence), qPrintable(result.message));
        QCOMPARE(QFileInfo::exists(destination), existing);
        if (existing)
            QCOMPARE(readBytes(destination), kPrevious);
        QCOMPARE(entriesOf(disk.path()), existing ? QStringList{QStringLiteral("çıktı.pdf")} : QStringList());
    }

    void foldersThatRefuseTheOutput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("sentence");
        const QList<std::pair<QString, QString>> operations{{QStringLiteral("save copy"), kCopyNotOpened},
                                                            {QStringLiteral("merge"), kOutputNotSaved},
                                                            {QStringLiteral("blank PDF"), kBlankNotOpened}};
        for (const auto& [name, sentence] : operations) {
            for (const QString& folder :
                 {QStringLiteral("read-only"), QStringLiteral("missing"), QStringLiteral("a file")})
                QTest::addRow("%s, %s", qPrintable(name), qPrintable(folder)) << name << folder << sentence;
        }
    }

    void foldersThatRefuseTheOutput()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QString, sentence);
        QTemporaryDir around;
        QVERIFY(around.isValid());
        QVERIFY(writeBytes(around.filePath(QStringLiteral("dosya.pdf")), kPrevious));
        SmallDisk readOnly(smallDiskPageBytes(), SmallDisk::Access::ReadOnly);
        QVERIFY(readOnly.isReady());
        QString destination;
        if (folder == QStringLiteral("read-only"))
            destination = readOnly.filePath(QStringLiteral("çıktı.pdf"));
        else if (folder == QStringLiteral("missing"))
            destination = around.filePath(QStringLiteral("eksik/çıktı.pdf"));
        else
            destination = around.filePath(QStringLiteral("dosya.pdf/çıktı.pdf"));

        const ExportResult result = operation(name)(destination);
        QVERIFY(!result.ok);
        QVERIFY2(matches(result.message, sentence), qPrintable(result.message));
        QCOMPARE(entriesOf(around.path()), QStringList{QStringLiteral("dosya.pdf")});
        QCOMPARE(readBytes(around.filePath(QStringLiteral("dosya.pdf"))), kPrevious);
        QCOMPARE(entriesOf(readOnly.path()), QStringList());
    }

    // The working copy itself on a disk that fills up (the disk is the
    // temporary location of the process that opens): the open fails with
    // its sentence and the half-made copy goes with its workspace.
    void diskFullWhileTheWorkingCopyIsMade()
    {
        const QString big = input("big.pdf");
        QVERIFY(writeBulkyPdf(big, "Büyük", 4, 20 * 1048576));
        const SmallDiskRun run = runOnSmallDisk(8 * 1048576, program(QStringLiteral("velk-test-operation")),
                                                {QStringLiteral("open"), QStringLiteral("-"), big});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.output), QStringLiteral("PDF çalışma kopyası kaydedilemedi."));
        QCOMPARE(run.left, QStringList());
    }
};

QTEST_MAIN(FullDiskOutputTest)
#include "FullDiskOutputTest.moc"
