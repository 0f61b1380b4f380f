// The package unpacked into a private root (dpkg-deb -x) holds everything
// the PDF worker loads: run from that application directory through the
// real sandbox, it passes its isolation self-check and renders with PDFium,
// rearranges pages with qpdf and recognises Turkish and English text with
// Tesseract and the packaged language data. Judged by pdftotext and qpdf.

#include "PackageBuild.h"
#include "support/PdfFixtures.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "workers/pdf/ocr/ScannedPdf.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kTimeLimitMs = 60000;

// The worker reports the outcome of its self-check with every reply.
bool passedSelfCheck(const WorkerReply& reply)
{
    return reply.json.value(QStringLiteral("isolation")).toObject() ==
           QJsonObject{{QStringLiteral("filesystem"), true}, {QStringLiteral("networkAndExecution"), true}};
}

QString pdfText(const QString& path)
{
    const CommandRun run = runCommand(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    return run.succeeded() ? QString::fromUtf8(run.output) : QString();
}

} // namespace

class PackagedWorkerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    QString m_appDir;

    QString path(const QString& name) const { return m_work.filePath(name); }
    WorkerReply run(const QJsonObject& request) { return runPdfWorker(request, nullptr, kTimeLimitMs, m_appDir); }

private Q_SLOTS:
    void initTestCase()
    {
        const QStringList missing = missingTools({"dpkg-deb", "dpkg-shlibdeps", "cpack", "cmake"});
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("Cannot build a Debian package here, missing: %1 (run scripts/setup.sh)")
                                 .arg(missing.join(QStringLiteral(", ")))));
        QVERIFY(m_work.isValid());
        PackageBuild build(path(QStringLiteral("build")));
        QVERIFY2(build.stage(), build.log().constData());
        const QString package = build.pack();
        QVERIFY2(!package.isEmpty(), build.log().constData());
        const QString root = path(QStringLiteral("root"));
        QVERIFY(runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), package, root}).succeeded());
        QVERIFY(QDir(path(QStringLiteral("build"))).removeRecursively());
        // The private root stands in for a system with the dependencies
        // installed: the multiarch directory the package's links point into
        // offers this machine's libqpdf29 and libtesseract5.
        const QString libdir = root + QStringLiteral("/usr/lib/x86_64-linux-gnu");
        QVERIFY(QDir().mkpath(libdir));
        for (const char* library : {"libqpdf.so.29", "libtesseract.so.5"}) {
            QVERIFY(QFile::link(QStringLiteral("/usr/lib/x86_64-linux-gnu/") + QLatin1String(library),
                                libdir + QLatin1Char('/') + QLatin1String(library)));
        }
        m_appDir = root + QStringLiteral("/usr/lib/velk-pdf");
    }

    void rendersAPageWithPdfium()
    {
        QVERIFY(writePdf(path("page.pdf")));
        const WorkerReply reply = run(QJsonObject{{"operation", "render"}, {"path", path("page.pdf")}, {"page", 0}, {"width", 200}});
        QCOMPARE(reply.error, QString());
        QVERIFY(passedSelfCheck(reply));
        const int width = reply.json.value("width").toInt();
        const int height = reply.json.value("height").toInt();
        QCOMPARE(width, 200);
        const QByteArray pixels = QByteArray::fromBase64(reply.json.value("pixels").toString().toLatin1());
        QCOMPARE(pixels.size(), qsizetype(width) * height * 4);
        // The page's line of text left dark pixels on white.
        int dark = 0;
        int white = 0;
        for (qsizetype at = 0; at + 3 < pixels.size(); at += 4) {
            const auto red = quint8(pixels.at(at));
            dark += red < 128 ? 1 : 0;
            white += red == 255 ? 1 : 0;
        }
        QVERIFY2(dark > 0 && white > dark, qPrintable(QStringLiteral("%1 dark, %2 white").arg(dark).arg(white)));
    }

    void rearrangesPagesWithQpdf()
    {
        PdfFixtureSpec spec;
        spec.pages = {PdfPageSpec(300, 300, 0, "Birinci"), PdfPageSpec(300, 300, 0, "Ikinci")};
        QVERIFY(writePdf(path("two.pdf"), spec));
        QVERIFY(QDir().mkpath(path("out")));
        const QString output = path("out/reversed.pdf");
        const QJsonObject source{{"path", path("two.pdf")}, {"pages", QJsonArray{1, 0}}};
        const WorkerReply reply = run(QJsonObject{{"operation", "pages"}, {"sources", QJsonArray{source}}, {"output", output}});
        QCOMPARE(reply.error, QString());
        QVERIFY(passedSelfCheck(reply));
        QVERIFY(qpdfAccepts(output));
        const QString text = pdfText(output);
        QVERIFY2(text.indexOf(QLatin1String("Ikinci")) >= 0 && text.indexOf(QLatin1String("Ikinci")) < text.indexOf(QLatin1String("Birinci")),
                 qPrintable(text));
    }

    void recognisesTurkishAndEnglishWithTesseract()
    {
        QVERIFY(writeScannedPdf(path("scan.pdf"), {QStringLiteral("Şanlıurfa'da ılık bir öğleden sonra The brown fox")}));
        QVERIFY(QDir().mkpath(path("ocr")));
        const QString output = path("ocr/layer.pdf");
        const WorkerReply reply = run(QJsonObject{{"operation", "ocr"}, {"path", path("scan.pdf")}, {"page", 0}, {"output", output}});
        QCOMPARE(reply.error, QString());
        QVERIFY(passedSelfCheck(reply));
        const QString text = pdfText(output);
        for (const char* word : {"Şanlıurfa'da", "öğleden", "brown", "fox"})
            QVERIFY2(text.contains(QString::fromUtf8(word)), qPrintable(text));
    }
};

QTEST_MAIN(PackagedWorkerTest)
#include "PackagedWorkerTest.moc"
