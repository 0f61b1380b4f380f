// The generated test PDFs are what they claim to be: qpdf finds no fault in
// them, and PDFium reads back their page count, sizes, rotation, text and
// form. Encrypted copies made by qpdf need their password.

#include "support/PdfFixtures.h"
#include "pdfium/Pdfium.h"
#include "pdfium/PdfiumDocument.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

Q_DECLARE_METATYPE(velk::test::PdfFixtureSpec)

namespace {

QString pageText(const Pdfium& pdfium, FPDF_PAGE page)
{
    const TextPageHandle textPage = wrapTextPage(pdfium, pdfium.api().FPDFText_LoadPage(page));
    if (!textPage)
        return {};
    const int count = pdfium.api().FPDFText_CountChars(textPage.get());
    if (count <= 0 || count > 10000)
        return {};
    QList<unsigned short> buffer(count + 1, 0);
    const int written = pdfium.api().FPDFText_GetText(textPage.get(), 0, count, buffer.data());
    if (written < 1 || written > count + 1)
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), written - 1);
}

} // namespace

class PdfFixturesTest : public QObject {
    Q_OBJECT

private:
    Pdfium m_pdfium;
    QTemporaryDir m_directory;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        QVERIFY(m_pdfium.bindPdfium(velk::test::applicationDirectory()));
    }

    void generatedDocument_data()
    {
        QTest::addColumn<PdfFixtureSpec>("spec");
        PdfFixtureSpec letter = PdfFixtureSpec::withPages(3, {612, 792, 0, "Letter page"});
        PdfFixtureSpec mixed;
        mixed.pages = {{595, 842, 90, "Rotated"}, {200.5, 100.25, 270, "Small (odd) \\ text"}, {842, 595, 180, ""}};
        PdfFixtureSpec form;
        form.formFieldName = "name";
        form.formFieldValue = "value";

        QTest::newRow("one A4 page") << PdfFixtureSpec{};
        QTest::newRow("three letter pages") << letter;
        QTest::newRow("rotations, sizes, escaped text, no text") << mixed;
        QTest::newRow("form field") << form;
        QTest::newRow("no page") << PdfFixtureSpec::withPages(0);
    }

    void generatedDocument()
    {
        QFETCH(PdfFixtureSpec, spec);
        const QString path = m_directory.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(writePdf(path, spec));
        if (!spec.pages.isEmpty())
            QVERIFY(qpdfAccepts(path));

        QByteArray password;
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, path, password);
        QVERIFY(opened.document);
        FPDF_DOCUMENT document = opened.document.get();
        const PdfiumFunctions& api = m_pdfium.api();
        QCOMPARE(api.FPDF_GetPageCount(document), int(spec.pages.size()));
        QCOMPARE(api.FPDF_GetFormType(document) != 0, !spec.formFieldName.isEmpty());
        for (int i = 0; i < spec.pages.size(); ++i) {
            double width = 0;
            double height = 0;
            QVERIFY(api.FPDF_GetPageSizeByIndex(document, i, &width, &height));
            // PDFium reports the rotated size.
            const bool turned = spec.pages.at(i).rotate % 180 != 0;
            QCOMPARE(turned ? height : width, spec.pages.at(i).width);
            QCOMPARE(turned ? width : height, spec.pages.at(i).height);
            const PageHandle page = wrapPage(m_pdfium, api.FPDF_LoadPage(document, i));
            QVERIFY(page);
            QCOMPARE(api.FPDFPage_GetRotation(page.get()) * 90, spec.pages.at(i).rotate);
            QCOMPARE(pageText(m_pdfium, page.get()), QString::fromLatin1(spec.pages.at(i).text));
        }
    }

    void encryptedCopy_data()
    {
        QTest::addColumn<QString>("userPassword");
        QTest::newRow("user password") << "kullanıcı";
        QTest::newRow("empty user password") << "";
    }

    void encryptedCopy()
    {
        QFETCH(QString, userPassword);
        const QString plain = m_directory.filePath(QStringLiteral("plain-%1.pdf").arg(QTest::currentDataTag()));
        const QString encrypted = m_directory.filePath(QStringLiteral("enc-%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(writePdf(plain, PdfFixtureSpec::withPages(2)));
        QVERIFY(writeEncryptedCopy(plain, encrypted, userPassword, QStringLiteral("sahip")));
        QVERIFY(runQpdf({QStringLiteral("--password=") + userPassword, QStringLiteral("--check"), encrypted}));

        QByteArray password = userPassword.toUtf8();
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, encrypted, password);
        QVERIFY(opened.document);
        QCOMPARE(m_pdfium.api().FPDF_GetPageCount(opened.document.get()), 2);
        QVERIFY(m_pdfium.api().FPDF_GetSecurityHandlerRevision(opened.document.get()) >= 0);
    }
};

QTEST_GUILESS_MAIN(PdfFixturesTest)
#include "PdfFixturesTest.moc"
