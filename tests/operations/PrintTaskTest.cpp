// Printing through Qt's printer, with a PDF file as the printer: every
// sheet is the worker's drawing of its page ("render" in the real sandbox),
// so the printed file has one page per sheet and each page, rasterised by
// poppler's pdftoppm, looks like the worker's render of the source page.
// The page range, order and copies follow the printer's settings;
// cancelling stops after the current page. Runs from the application
// directory, where the worker is.

#include "document/core/DocumentOpen.h"
#include "document/view/PageRendering.h"
#include "operations/PrintTask.h"
#include "support/PdfFixtures.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

constexpr int kToolWaitMs = 30000;
// Pixels per page width in the comparison.
constexpr int kCompareWidth = 120;
constexpr int kPrintDpi = 100;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kToolWaitMs) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString& path)
{
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// Page (from 1) of a PDF drawn by poppler, kCompareWidth wide, greyscale.
QImage popplerPage(const QString& path, int page, const QString& workDir)
{
    const QString prefix = workDir + QStringLiteral("/page-%1").arg(page);
    run(QStringLiteral("pdftoppm"), {"-f", QString::number(page), "-l", QString::number(page), "-singlefile",
                                     "-png", "-scale-to-x", QString::number(kCompareWidth), "-scale-to-y", "-1",
                                     path, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// Mean absolute difference of two greyscale images of the same size, 0–255.
double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 255.0;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* rowA = a.constScanLine(y);
        const uchar* rowB = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x)
            sum += qAbs(int(rowA[x]) - int(rowB[x]));
    }
    return double(sum) / (double(a.width()) * a.height());
}

} // namespace

class PrintTaskTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PdfDocumentPtr m_document;

    QString at(const QString& name) const { return m_dir.filePath(name); }

    std::unique_ptr<QPrinter> pdfPrinter(const QString& output) const
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::PrinterResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(output);
        printer->setResolution(kPrintDpi);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setFullPage(true);
        return printer;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        test::PdfFixtureSpec spec;
        spec.pages.clear();
        for (const char* label : {"Birinci sayfa", "Ikinci sayfa", "Ucuncu sayfa"}) {
            test::PdfPageSpec page(595, 842, 0, label);
            page.fills.append({QRectF(60, 300, 200 + 120 * spec.pages.size(), 120), 0.2});
            spec.pages.append(page);
        }
        QVERIFY(test::writePdf(at("kaynak.pdf"), spec));
        const PdfOpenResult opened = openPdfDocument(at("kaynak.pdf"), QString(), nullptr);
        QCOMPARE(opened.error, QString());
        m_document = opened.document;
    }

    void printedPagesLookLikeTheWorkersRender()
    {
        const QString output = at("yazdirilan.pdf");
        auto printer = pdfPrinter(output);
        QList<QPair<int, int>> progress;
        const ExportResult result =
            PrintTask::print(m_document, *printer, PrintTask::plan(*printer, 3, 0), nullptr,
                             [&progress](int position, int count) { progress.append({position, count}); });
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QCOMPARE(progress, (QList<QPair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(pdfPageCount(output), 3);
        for (int page = 0; page < 3; ++page) {
            const PdfRenderResult rendered = renderPage(m_document, page, 600, nullptr);
            QCOMPARE(rendered.error, QString());
            const QImage expected = rendered.image.scaledToWidth(kCompareWidth, Qt::SmoothTransformation)
                                        .convertToFormat(QImage::Format_Grayscale8);
            const QImage printed = popplerPage(output, page + 1, m_dir.path());
            QVERIFY2(!printed.isNull(), "pdftoppm drew nothing");
            const double difference = meanDifference(printed, expected);
            QVERIFY2(difference < 6.0, qPrintable(QStringLiteral("page %1 differs by %2").arg(page).arg(difference)));
            // Each page is its own: the next page's drawing differs.
            if (page < 2) {
                const QImage other = renderPage(m_document, page + 1, 600, nullptr)
                                         .image.scaledToWidth(kCompareWidth, Qt::SmoothTransformation)
                                         .convertToFormat(QImage::Format_Grayscale8);
                QVERIFY(meanDifference(printed, other) > difference);
            }
        }
    }

    void rangeOrderAndCopiesFollowThePrinter_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("lastFirst");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QList<int>>("sheets");
        QTest::newRow("all pages") << 0 << 0 << false << 1 << true << QList<int>{0, 1, 2};
        QTest::newRow("range 2-3") << 2 << 3 << false << 1 << true << QList<int>{1, 2};
        QTest::newRow("last page first") << 0 << 0 << true << 1 << true << QList<int>{2, 1, 0};
        QTest::newRow("two collated copies of 2-3") << 2 << 3 << false << 2 << true << QList<int>{1, 2, 1, 2};
        QTest::newRow("two copies, not collated") << 2 << 3 << false << 2 << false << QList<int>{1, 1, 2, 2};
        QTest::newRow("range past the end") << 3 << 9 << false << 1 << true << QList<int>{2};
    }
    void rangeOrderAndCopiesFollowThePrinter()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, lastFirst);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(QList<int>, sheets);
        auto printer = pdfPrinter(at("plan.pdf"));
        if (from > 0) {
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(from, to);
        }
        printer->setPageOrder(lastFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        printer->setCopyCount(copies);
        printer->setCollateCopies(collate);
        QCOMPARE(PrintTask::plan(*printer, 3, 0).sheets, sheets);
    }

    void copiesArePrintedSheetBySheet()
    {
        const QString output = at("kopyalar.pdf");
        auto printer = pdfPrinter(output);
        printer->setPrintRange(QPrinter::PageRange);
        printer->setFromTo(2, 3);
        printer->setCopyCount(2);
        QVERIFY(PrintTask::print(m_document, *printer, PrintTask::plan(*printer, 3, 0), nullptr).ok);
        QCOMPARE(pdfPageCount(output), 4);
    }

    void currentPageAlone()
    {
        auto printer = pdfPrinter(at("current.pdf"));
        printer->setPrintRange(QPrinter::CurrentPage);
        QCOMPARE(PrintTask::plan(*printer, 3, 1).sheets, QList<int>{1});
    }

    void cancellingStopsAfterTheCurrentPage()
    {
        const QString output = at("iptal.pdf");
        auto printer = pdfPrinter(output);
        const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
        int announced = 0;
        const ExportResult result =
            PrintTask::print(m_document, *printer, PrintTask::plan(*printer, 3, 0), cancel, [&](int, int) {
                ++announced;
                cancel->store(true);
            });
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Yazdırma iptal edildi."));
        QCOMPARE(announced, 1);
        // A file printer cannot take the run back: the half-written file goes.
        QVERIFY(!QFile::exists(output));
    }

    void renderWidthIsBoundedLikeTheView_data()
    {
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("width");
        QTest::newRow("A4 at 150 dpi") << QSizeF(595, 842) << 150 << 1239;
        QTest::newRow("A4 at 300 dpi, held to the pixel bound") << QSizeF(595, 842) << 300 << 2377;
        QTest::newRow("wide page, held to the width bound") << QSizeF(2000, 500) << 300 << 4096;
        QTest::newRow("tall strip, held to the height bound") << QSizeF(100, 2000) << 300 << 204;
        QTest::newRow("tiny page") << QSizeF(20, 20) << 300 << 160;
        QTest::newRow("absurd resolution") << QSizeF(595, 842) << 100000 << 2377;
        QTest::newRow("no size") << QSizeF(0, 842) << 300 << 160;
    }
    void renderWidthIsBoundedLikeTheView()
    {
        QFETCH(QSizeF, page);
        QFETCH(int, dpi);
        QFETCH(int, width);
        QCOMPARE(PrintTask::renderWidth(page, dpi), width);
    }

    void nothingToPrintIsRefused()
    {
        auto printer = pdfPrinter(at("bos.pdf"));
        const ExportResult result = PrintTask::print(m_document, *printer, PrintPlan{}, nullptr);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Yazdırılacak sayfa yok."));
        QVERIFY(!QFile::exists(at("bos.pdf")));
    }
};

QTEST_MAIN(PrintTaskTest)
#include "PrintTaskTest.moc"
