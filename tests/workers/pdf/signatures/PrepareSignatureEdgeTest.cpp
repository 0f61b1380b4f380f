// "prepareSignature" through the real worker in the real sandbox at its
// edges: the signature limit, the seal's place and page conditions, the
// seal's text sizes and characters as pdftotext reads them, the catalog's
// version and extensions, files the writer cannot extend, restrictions of
// earlier signatures, a page tree that lists a page twice, the document
// time stamp (checked with `openssl ts -verify`), and a form dictionary
// that a later pdfsig signature extends. Every refusal leaves no output.

#include "worker/runner/PagePixels.h"
#include "support/PdfFixtures.h"
#include "PreparationRun.h"
#include "support/SignatureFill.h"
#include "SignatureFixtureDocuments.h"
#include "support/TestPki.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velk;
using namespace velk::test;

namespace {

const QString kNotSignable = QStringLiteral("Şifreli, XFA içeren veya 64 imza sınırına ulaşmış belge imzalanamaz.");
const QString kPageUnsuitable = QStringLiteral(
    "Görünür imza için döndürülmemiş ve en az 300 × 140 pt sayfa gerekli; görünmez imzayı kullanabilirsiniz.");
const QString kWriteFailed = QStringLiteral("Incremental imza alanı yazılamadı.");
const QString kUnreadable = QStringLiteral("PDF yapısı imzalama için okunamadı.");
const QString kFailed = QStringLiteral("PDF imza alanı oluşturulamadı.");
const QString kInvalidInput = QStringLiteral("İmza girdisi geçersiz veya 128 MiB sınırını aşıyor.");
const QString kRestricted = QStringLiteral(
    "DocMDP/FieldMDP kısıtı var. P=1 değişiklik yasaktır; P=2/3 veya alan kilidi varken yeni imza alanı ekleme "
    "güvenli biçimde reddedildi.");
const QString kTooLong = QStringLiteral("İmza açıklaması çok uzun.");
const QString kBadPage = QStringLiteral("İmza sayfası geçersiz.");

QByteArray fixture(const PdfFixtureSpec& spec)
{
    return pdfBytes(spec);
}

QByteArray pageOf(double width, double height, int rotate)
{
    PdfFixtureSpec spec;
    spec.pages = {PdfPageSpec(width, height, rotate)};
    return pdfBytes(spec);
}

QByteArray withSignatureFields(int count)
{
    PdfFixtureSpec spec;
    spec.signatureFields = count;
    return pdfBytes(spec);
}

// The trailer's /Size rewritten to 0 at equal length.
QByteArray withSizeZero(QByteArray pdf)
{
    const qsizetype at = pdf.lastIndexOf("/Size ");
    qsizetype end = at + 6;
    while (end < pdf.size() && std::isdigit(static_cast<unsigned char>(pdf.at(end))))
        ++end;
    pdf.replace(at + 6, end - at - 6, QByteArray("0").leftJustified(end - at - 6, ' '));
    return pdf;
}

} // namespace

class PrepareSignatureEdgeTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    TestCertificate m_tsa;
    std::unique_ptr<NssSigner> m_nss;
    int m_files = 0;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString fileOf(const QByteArray& bytes)
    {
        const QString name = path(QStringLiteral("source-%1.pdf").arg(++m_files));
        return writeFile(name, bytes) ? name : QString();
    }

    QString nextOutput() { return path(QStringLiteral("output-%1.pdf").arg(++m_files)); }

    QString pdftotext(const QString& file)
    {
        QByteArray text;
        runProgram("pdftotext", {file, "-"}, &text);
        return QString::fromUtf8(text);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(path("pki"));
        QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
        m_signer = m_pki->issueSigner(QStringLiteral("signer"), m_pki->root());
        m_tsa = m_pki->issueTimeStampAuthority(QStringLiteral("tsa"), m_pki->root());
        QVERIFY(m_signer.isValid() && m_tsa.isValid());
        m_nss = std::make_unique<NssSigner>(*m_pki, m_signer, path("nss"));
        QVERIFY(m_nss->isValid());
    }

    void outcomes_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("63 signatures") << withSignatureFields(63) << false << QString() << QByteArray();
        QTest::newRow("64 signatures") << withSignatureFields(64) << false << kNotSignable << QByteArray();
        // qpdf writes arrays with a space inside the brackets.
        QTest::newRow("A4 seal") << fixture({}) << true << QString() << QByteArray("/Rect [ 24 24 284 88 ]");
        QTest::newRow("rotated 90, visible") << pageOf(595, 842, 90) << true << kPageUnsuitable << QByteArray();
        QTest::newRow("rotated 90, invisible")
            << pageOf(595, 842, 90) << false << QString() << QByteArray("/Rect [ 0 0 0 0 ]");
        QTest::newRow("280 x 500, visible") << pageOf(280, 500, 0) << true << kPageUnsuitable << QByteArray();
        QTest::newRow("280 x 500, invisible") << pageOf(280, 500, 0) << false << QString() << QByteArray();
        QTest::newRow("version 2.0 kept") << pdfFromObjects(formBodies("/Version /2.0", {}, {})) << false << QString()
                                          << QByteArray("/Version /2.0");
        QTest::newRow("version raised to 1.7")
            << pdfFromObjects(formBodies("/Version /1.4", {}, {})) << false << QString()
            << QByteArray("/Extensions << /ADBE << /BaseVersion /1.7 /ExtensionLevel 8 >> >>");
        QTest::newRow("garbage after %%EOF") << fixture({}) + "garbage\n" << false << kWriteFailed << QByteArray();
        QTest::newRow("/Size 0") << withSizeZero(fixture({})) << false << kWriteFailed << QByteArray();
        QTest::newRow("damaged xref") << withBrokenStartXref(fixture({})) << false << kUnreadable << QByteArray();
        // qpdf would hand out a copy of the page that /Kids never names.
        QTest::newRow("page listed twice")
            << pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 3 0 R] /Count 2 >>",
                               "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>"})
            << false << kFailed << QByteArray();
        QTest::newRow("XFA form")
            << pdfFromObjects(formBodies("/AcroForm << /Fields [] /XFA 6 0 R >>", {}, {streamObject("<xdp/>")}))
            << false << kNotSignable << QByteArray();
        QTest::newRow("certified P 2")
            << signPlaceholder(pdfFromObjects(formBodies(
                                   "/Perms << /DocMDP 7 0 R >> /AcroForm << /Fields [6 0 R] /SigFlags 3 >>", "6 0 R",
                                   {signatureWidget("cert", "7 0 R"), signatureValue(docMdpReference("/P 2"))})),
                               *m_pki, m_signer)
            << false << kRestricted << QByteArray();
    }

    void outcomes()
    {
        QFETCH(QByteArray, source);
        QFETCH(bool, visible);
        QFETCH(QString, error);
        QFETCH(QByteArray, written);
        QVERIFY(!source.isEmpty());
        const QString input = fileOf(source);
        const QString output = nextOutput();
        const QJsonObject reply = prepare(prepareRequest(input, output, visible));
        QCOMPARE(reply, error.isEmpty() ? okReply() : failure(error));
        QCOMPARE(QFile::exists(output), error.isEmpty());
        if (!error.isEmpty())
            return;
        const QByteArray update = readFile(output).mid(source.size());
        QVERIFY(qpdfAccepts(output));
        if (!written.isEmpty())
            QVERIFY2(update.contains(written), update.left(2000).constData());
    }

    void requestRefusals_data()
    {
        QTest::addColumn<QJsonObject>("change");
        QTest::addColumn<QString>("error");
        QTest::newRow("output exists") << QJsonObject{{"output", "@exists"}} << kInvalidInput;
        QTest::newRow("output relative") << QJsonObject{{"output", "relative.pdf"}} << kInvalidInput;
        QTest::newRow("page count") << QJsonObject{{"page", 1}} << kBadPage;
        QTest::newRow("negative page") << QJsonObject{{"page", -1}} << kBadPage;
        QTest::newRow("encrypted") << QJsonObject{{"path", "@encrypted"}} << kNotSignable;
        QTest::newRow("reason 513") << QJsonObject{{"reason", QString(513, 'r')}} << kTooLong;
        QTest::newRow("signer 2049") << QJsonObject{{"signer", QString(2049, 's')}} << kTooLong;
        QTest::newRow("reason 513, time stamp")
            << QJsonObject{{"reason", QString(513, 'r')}, {"documentTimestamp", true}} << kTooLong;
    }

    void requestRefusals()
    {
        QFETCH(QJsonObject, change);
        QFETCH(QString, error);
        const QString input = fileOf(fixture({}));
        QJsonObject request = prepareRequest(input, nextOutput(), false);
        for (auto it = change.begin(); it != change.end(); ++it)
            request.insert(it.key(), it.value());
        if (request.value("output") == "@exists") {
            request.insert("output", nextOutput());
            QVERIFY(writeFile(request.value("output").toString(), "var"));
        }
        if (request.value("path") == "@encrypted") {
            request.insert("path", path("encrypted.pdf"));
            QVERIFY(writeEncryptedCopy(input, path("encrypted.pdf"), "", "sahip"));
        }
        QCOMPARE(prepare(request), failure(error));
        const QString output = request.value("output").toString();
        if (change.value("output") == "@exists")
            QCOMPARE(readFile(output), QByteArray("var"));
        else
            QVERIFY(!QFile::exists(output));
    }

    // A signature field locked by the signature pdfsig put into it.
    void lockedFieldRefused()
    {
        const QString unsigned_ = fileOf(pdfFromObjects(formBodies(
            "/AcroForm << /Fields [6 0 R] /SigFlags 3 >>", "6 0 R",
            {signatureWidget("locked", {}, "/Lock << /Type /SigFieldLock /Action /All >>")})));
        const QString signedFile = path("locked-signed.pdf");
        QVERIFY(m_nss->signField(unsigned_, signedFile, "locked"));
        const QString output = nextOutput();
        QCOMPARE(prepare(prepareRequest(signedFile, output, false)), failure(kRestricted));
        QVERIFY(!QFile::exists(output));
    }

    void sealText_data()
    {
        QTest::addColumn<QString>("signer");
        QTest::addColumn<QStringList>("content");
        QTest::addColumn<QString>("shown");
        QTest::newRow("three words") << "Ayşe Nur Yılmaz"
                                     << QStringList{"BT /F1 17.0 Tf 4 36.0 Td (", ") Tj 0 -21.0 Td (", "/F1 9.0 Tf 126 33 Td ("}
                                     << "Ayşe Nur Yılmaz";
        QTest::newRow("one word") << "Işıl" << QStringList{"BT /F1 22.0 Tf 4 26.0 Td ("} << "Işıl";
        QTest::newRow("70 characters") << QString(60, 'A') + QString(10, 'Z') << QStringList{"/F1 6.0 Tf 126 33 Td ("}
                                       << QString(60, 'A');
        QTest::newRow("parenthesis") << "Ali (Test)" << QStringList{} << "Ali (Test)";
        QTest::newRow("Arabic") << QString::fromUtf8("Ali \u0639") << QStringList{} << "Ali ?";
        QTest::newRow("Turkish letters") << "ÇÖÜçöüĞğİıŞş" << QStringList{} << "ÇÖÜçöüĞğİıŞş";
    }

    void sealText()
    {
        QFETCH(QString, signer);
        QFETCH(QStringList, content);
        QFETCH(QString, shown);
        const QString output = nextOutput();
        QCOMPARE(prepare(prepareRequest(fileOf(fixture({})), output, true, signer)), okReply());
        const QByteArray bytes = readFile(output);
        for (const QString& part : content)
            QVERIFY2(bytes.contains(part.toLatin1()), qPrintable(part));
        const QString text = pdftotext(output);
        QVERIFY2(text.contains(shown), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("e-imzalıdır")));
        QVERIFY(!text.contains(QStringLiteral("AZ")));
    }

    // Ğ ğ İ ı Ş ş are drawn, and drawn differently from G g I i S s.
    void sealGlyphsDrawn()
    {
        QByteArray pictures[2];
        QImage names[2];
        QByteArray blank;
        const QString signers[] = {QStringLiteral("ĞğİıŞş"), QStringLiteral("GgIiSs")};
        for (int i = 0; i < 2; ++i) {
            const QString output = nextOutput();
            QCOMPARE(prepare(prepareRequest(fileOf(fixture({})), output, true, signers[i])), okReply());
            // The name part of the seal at 72 dpi: x 28..124, y 754..818 from the top.
            QByteArray ppm;
            QVERIFY(runProgram("pdftoppm", {"-r", "72", "-x", "28", "-y", "756", "-W", "96", "-H", "40", output}, &ppm));
            QByteArray png;
            QVERIFY(runProgram("mutool", {"draw", "-q", "-r", "72", "-F", "pgm", "-o", "-", output, "1"}, &png));
            pictures[i] = ppm + png;
            const WorkerReply render =
                runSandboxed({{"operation", "render"}, {"path", output}, {"page", 0}, {"width", 595}});
            names[i] = decodePagePixels(render.json).image.copy(28, 756, 96, 40).convertToFormat(QImage::Format_Grayscale8);
            QVERIFY(!names[i].isNull());
            int dark = 0;
            for (int y = 0; y < names[i].height(); ++y)
                for (int x = 0; x < names[i].width(); ++x)
                    dark += qGray(names[i].pixel(x, y)) < 128;
            QVERIFY(dark > 50);
            if (i == 0)
                blank = QByteArray(ppm.size() - 15, char(255));
            QVERIFY(!ppm.endsWith(blank));
        }
        QVERIFY(pictures[0] != pictures[1]);
        QVERIFY(names[0] != names[1]);
    }

    // The worker reads the time-zone data: the seal's offset is the
    // machine's, not UTC.
    void sealShowsLocalOffset()
    {
        const QByteArray previous = qgetenv("TZ");
        qputenv("TZ", "Europe/Istanbul");
        const QString output = nextOutput();
        const QJsonObject reply = prepare(prepareRequest(fileOf(fixture({})), output, true));
        if (previous.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", previous);
        QCOMPARE(reply, okReply());
        const QString text = pdftotext(output);
        QVERIFY2(text.contains(QStringLiteral("+03'00'")), qPrintable(text));
    }

    void documentTimeStamp()
    {
        const QString input = fileOf(fixture({}));
        const QString output = nextOutput();
        QJsonObject request = prepareRequest(input, output, false);
        request.insert("documentTimestamp", true);
        QCOMPARE(prepare(request), okReply());
        QByteArray file = readFile(output);
        const QByteArray update = file.mid(readFile(input).size());
        QVERIFY(update.contains("/Type /DocTimeStamp"));
        QVERIFY(update.contains("/SubFilter /ETSI.RFC3161"));
        for (const char* absent : {"/Reason", "/Name", "/M "})
            QVERIFY2(!update.contains(absent), absent);

        const PlaceholderLocation location = locateSignaturePlaceholder(file);
        QVERIFY(location.isValid());
        const QByteArray covered = coveredBytes(file, location);
        const QByteArray token = timeStampToken(*m_pki, m_tsa, covered);
        QVERIFY(!token.isEmpty());
        QVERIFY(writeSignatureValue(file, location, token));
        const QString stamped = path("stamped.pdf");
        QVERIFY(writeFile(stamped, file) && writeFile(path("ranges.bin"), covered) && writeFile(path("token.der"), token));
        QVERIFY(qpdfAccepts(stamped));
        QVERIFY(m_pki->openssl({"ts", "-verify", "-data", path("ranges.bin"), "-in", path("token.der"), "-token_in",
                                "-CAfile", m_pki->root().certificatePath, "-untrusted", m_tsa.certificatePath}));
    }

    // A second reservation on an unfilled one: a new field with another
    // name, and the first placeholder now occurs twice.
    void preparedTwice()
    {
        const QString first = nextOutput();
        const QString second = nextOutput();
        QCOMPARE(prepare(prepareRequest(fileOf(fixture({})), first, false)), okReply());
        QCOMPARE(prepare(prepareRequest(first, second, false)), okReply());
        const QByteArray bytes = readFile(second);
        QCOMPARE(occurrences(bytes, "/T (VelkSignature_"), 2);
        QByteArray copy = bytes;
        QVERIFY(!locateSignaturePlaceholder(copy).isValid());
        const qsizetype a = bytes.indexOf("/T (VelkSignature_");
        const qsizetype b = bytes.indexOf("/T (VelkSignature_", a + 1);
        QVERIFY(bytes.mid(a, 50) != bytes.mid(b, 50));
    }

    // The form dictionary is written as an object of its own, so a later
    // pdfsig signature lands in /Fields and PDFium sees both.
    void laterSignerExtendsForm()
    {
        const QString prepared = nextOutput();
        const QString source = fileOf(pdfFromObjects(formBodies("/AcroForm << /Fields [] >>", {}, {})));
        QCOMPARE(prepare(prepareRequest(source, prepared, false)), okReply());
        const QString filled = path("ours.pdf");
        QVERIFY(writeFile(filled, fillSignature(readFile(prepared), *m_pki, m_signer)));
        const QString both = path("ours-then-pdfsig.pdf");
        QVERIFY(m_nss->addSignature(filled, both));
        QCOMPARE(m_nss->validations(both), (QStringList{"Signature is Valid.", "Signature is Valid."}));
        const QJsonObject reply = withoutIsolation(runSandboxed({{"operation", "signatures"}, {"path", both}}).json);
        QCOMPARE(reply.value("signatures").toArray().size(), 2);
    }
};

QTEST_GUILESS_MAIN(PrepareSignatureEdgeTest)
#include "PrepareSignatureEdgeTest.moc"
