// "inspect" through the real worker in the real sandbox: page sizes in
// points (with /Rotate applied), the signature count, the encryption flag
// and the permission bits; refused page sizes; and what corrupt, truncated,
// empty, non-PDF and password-protected files are answered. Every reply
// reports that the worker found itself isolated.

#include "support/PdfFixtures.h"
#include "support/SandboxedRun.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kOpenError = QStringLiteral("PDF açılamadı. Belge parolasını veya dosya biçimini kontrol edin.");
const QString kSizeError = QStringLiteral("PDF sayfa ölçüleri geçersiz.");
const QString kPassword = QStringLiteral("açık şifre");
constexpr qint64 kAllPermissions = 4294967295;
// qpdf writes /P -4 when nothing is restricted: the two lowest bits are
// reserved and zero.
constexpr qint64 kQpdfAllPermissions = 4294967292;

// PDFium keeps page boxes in single precision.
double asPdfium(double points)
{
    return double(float(points));
}

QJsonArray pageArray(const QList<std::pair<double, double>>& sizes)
{
    QJsonArray pages;
    for (const auto& [width, height] : sizes)
        pages.append(QJsonArray{asPdfium(width), asPdfium(height)});
    return pages;
}

// "signed" and "hasForm" come from the same protection rule as "encrypted".
QJsonObject inspection(const QJsonArray& pages, int signatures, bool encrypted, qint64 permissions,
                       bool signedDocument = false, bool hasForm = false)
{
    return QJsonObject{{"ok", true},
                       {"pages", pages},
                       {"signatures", signatures},
                       {"encrypted", encrypted},
                       {"permissions", permissions},
                       {"signed", signedDocument},
                       {"hasForm", hasForm}};
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

class PageInspectionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PdfFixtureSpec sizes;
        sizes.pages = {{595.276, 841.89, 0, "A4"},
                       {612, 792, 0, "Letter"},
                       {595.276, 841.89, 90, "A4, rotated"},
                       {100, 20000, 0, "strip"},
                       {20000, 20000, 0, "square"}};
        QVERIFY(writePdf(at("sizes.pdf"), sizes));

        PdfFixtureSpec signedSpec;
        signedSpec.signatureFields = 2;
        QVERIFY(writePdf(at("signed.pdf"), signedSpec));

        // A signed field under a parent field, and an unsigned one beside
        // it: one signature.
        const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Annots [5 0 R 6 0 R] >>";
        QVERIFY(writeBytes(at("nested-signature.pdf"),
                           pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [4 0 R 6 0 R] >> >>",
                                           "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", page,
                                           "<< /T (form) /Kids [5 0 R] >>",
                                           "<< /FT /Sig /T (sig) /Parent 4 0 R /Subtype /Widget /Rect [0 0 0 0] "
                                           "/P 3 0 R /V << /Type /Sig /ByteRange [0 1 2 3] /Contents <00> >> >>",
                                           "<< /FT /Sig /T (open) /Subtype /Widget /Rect [0 0 0 0] /P 3 0 R >>"})));

        QVERIFY(writePdf(at("plain.pdf")));
        QVERIFY(writeEncryptedCopy(at("plain.pdf"), at("encrypted.pdf"), kPassword, QStringLiteral("sahip")));
        QVERIFY(runQpdf({"--encrypt", kPassword, "sahip", "256", "--print=none", "--modify=none", "--",
                         at("plain.pdf"), at("restricted.pdf")}));

        PdfFixtureSpec tooWide;
        tooWide.pages = {{595.276, 841.89, 0, "A4"}, {20000.5, 100, 0, "too wide"}};
        QVERIFY(writePdf(at("too-wide.pdf"), tooWide));
        PdfFixtureSpec tooHigh = PdfFixtureSpec::withPages(1, {100, 20000.5, 0, "too high"});
        QVERIFY(writePdf(at("too-high.pdf"), tooHigh));

        const QByteArray bytes = pdfBytes(sizes);
        QVERIFY(writeBytes(at("empty.pdf"), QByteArray()));
        QVERIFY(writeBytes(at("text.pdf"), "Bu bir PDF değil.\n"));
        QVERIFY(writeBytes(at("header-only.pdf"), bytes.left(20)));
        QVERIFY(writeBytes(at("half.pdf"), bytes.left(bytes.size() / 2)));
        QVERIFY(writeBytes(at("no-trailer.pdf"), bytes.left(bytes.indexOf("trailer"))));
        QByteArray garbled = bytes;
        for (qsizetype i = 100; i < garbled.size(); i += 7)
            garbled[i] = char(0xA5);
        QVERIFY(writeBytes(at("garbled.pdf"), garbled));
    }

    void inspected_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QJsonObject>("reply");

        QTest::newRow("A4, Letter, rotated, strip, 20,000 square")
            << "sizes.pdf" << QString()
            << inspection(pageArray({{595.276, 841.89}, {612, 792}, {841.89, 595.276}, {100, 20000}, {20000, 20000}}),
                          0, false, kAllPermissions);
        QTest::newRow("two signature fields") << "signed.pdf" << QString()
                                              << inspection(pageArray({{595, 842}}), 2, false, kAllPermissions,
                                                            true, true);
        QTest::newRow("signed field under a parent, unsigned field beside")
            << "nested-signature.pdf" << QString()
            << inspection(pageArray({{595, 842}}), 1, false, kAllPermissions, true, true);
        QTest::newRow("encrypted, right password")
            << "encrypted.pdf" << kPassword << inspection(pageArray({{595, 842}}), 0, true, kQpdfAllPermissions);
        // Printing (bits 3 and 12) and every kind of modification (bits 4,
        // 6, 9 and 11) refused.
        QTest::newRow("encrypted with restrictions")
            << "restricted.pdf" << kPassword
            << inspection(pageArray({{595, 842}}), 0, true,
                          kQpdfAllPermissions & ~qint64(0x4 | 0x800 | 0x8 | 0x20 | 0x100 | 0x400));
    }

    void inspected()
    {
        QFETCH(QString, file);
        QFETCH(QString, password);
        QFETCH(QJsonObject, reply);
        QJsonObject request{{"operation", "inspect"}, {"path", at(file)}};
        if (!password.isEmpty())
            request.insert("password", password);
        const WorkerReply answer = runSandboxed(request);
        QCOMPARE(answer.error, QString());
        QCOMPARE(answer.json.value("isolation").toObject(), isolationPassed());
        QCOMPARE(withoutIsolation(answer.json), reply);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QJsonObject>("reply");

        QTest::newRow("encrypted, empty password") << "encrypted.pdf" << QString() << failureReply(kOpenError, 4);
        QTest::newRow("encrypted, wrong password") << "encrypted.pdf" << "yanlış" << failureReply(kOpenError, 4);
        QTest::newRow("empty file") << "empty.pdf" << QString() << failureReply(kOpenError, 3);
        QTest::newRow("not a PDF") << "text.pdf" << QString() << failureReply(kOpenError, 3);
        QTest::newRow("truncated after the header") << "header-only.pdf" << QString() << failureReply(kOpenError, 3);
        QTest::newRow("truncated half-way") << "half.pdf" << QString() << failureReply(kOpenError, 3);
        QTest::newRow("truncated before the trailer") << "no-trailer.pdf" << QString() << failureReply(kOpenError, 3);
        QTest::newRow("corrupt bytes") << "garbled.pdf" << QString() << failureReply(kOpenError, 3);
        QTest::newRow("a page 20,000.5 wide") << "too-wide.pdf" << QString() << failureReply(kSizeError);
        QTest::newRow("a page 20,000.5 high") << "too-high.pdf" << QString() << failureReply(kSizeError);
    }

    void refused()
    {
        QFETCH(QString, file);
        QFETCH(QString, password);
        QFETCH(QJsonObject, reply);
        const WorkerReply answer =
            runSandboxed(QJsonObject{{"operation", "inspect"}, {"path", at(file)}, {"password", password}});
        QCOMPARE(answer.error, reply.value("error").toString());
        QCOMPARE(answer.json.value("isolation").toObject(), isolationPassed());
        QCOMPARE(withoutIsolation(answer.json), reply);
    }
};

QTEST_GUILESS_MAIN(PageInspectionTest)
#include "PageInspectionTest.moc"
