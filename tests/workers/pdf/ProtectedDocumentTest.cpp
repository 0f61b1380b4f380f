// Documents that content edits must leave alone are recognised: encrypted
// ones (with or without a user password), forms, and any document whose
// signature count PDFium cannot read. A plain document is not protected.
// The facts "inspect" reports come from the same reading: a signature field
// holding contents signs the document, an empty one a form offers for
// signing later does not.

#include "support/PdfFixtures.h"
#include "pdfium/Pdfium.h"
#include "pdfium/PdfiumDocument.h"
#include "pdfium/ProtectedDocument.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

Q_DECLARE_METATYPE(velk::DocumentProtection)

class ProtectedDocumentTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    Pdfium m_pdfium;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        QVERIFY(m_pdfium.bindPdfium(velk::test::applicationDirectory()));
    }

    void protection_data()
    {
        QTest::addColumn<QByteArray>("formField");
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QString>("userPassword");
        QTest::addColumn<bool>("isProtected");
        QTest::newRow("plain") << QByteArray() << false << "" << false;
        QTest::newRow("encrypted with a user password") << QByteArray() << true << "kullanıcı" << true;
        QTest::newRow("encrypted with an empty user password") << QByteArray() << true << "" << true;
        QTest::newRow("form") << QByteArray("alan") << false << "" << true;
        QTest::newRow("encrypted form") << QByteArray("alan") << true << "k" << true;
    }

    void protection()
    {
        QFETCH(QByteArray, formField);
        QFETCH(bool, encrypt);
        QFETCH(QString, userPassword);
        QFETCH(bool, isProtected);
        PdfFixtureSpec spec = PdfFixtureSpec::withPages(2);
        spec.formFieldName = formField;
        QString path = m_directory.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(writePdf(path, spec));
        if (encrypt) {
            const QString encrypted = path + QStringLiteral(".enc.pdf");
            QVERIFY(writeEncryptedCopy(path, encrypted, userPassword, QStringLiteral("sahip")));
            path = encrypted;
        }
        QByteArray password = userPassword.toUtf8();
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, path, password);
        QVERIFY(opened.document);
        QCOMPARE(isProtectedDocument(m_pdfium, opened.document.get()), isProtected);
    }

    void facts_data()
    {
        QTest::addColumn<int>("signatureFields");
        QTest::addColumn<bool>("emptySignatureField");
        QTest::addColumn<int>("signedFields");
        QTest::addColumn<DocumentProtection>("expected");
        QTest::newRow("plain") << 0 << false << 0 << DocumentProtection{false, false, false};
        QTest::newRow("one signed field") << 1 << false << 1 << DocumentProtection{true, false, true};
        QTest::newRow("two signed fields") << 2 << false << 2 << DocumentProtection{true, false, true};
        QTest::newRow("only an empty signature field") << 0 << true << 0 << DocumentProtection{false, false, true};
    }

    void facts()
    {
        QFETCH(int, signatureFields);
        QFETCH(bool, emptySignatureField);
        QFETCH(int, signedFields);
        QFETCH(DocumentProtection, expected);
        const QString path = m_directory.filePath(QStringLiteral("facts-%1.pdf").arg(QTest::currentDataTag()));
        if (emptySignatureField) {
            PdfFormField name;
            name.type = "/Tx";
            name.name = "ad";
            PdfFormField signature;
            signature.type = "/Sig";
            signature.name = "imza";
            PdfFormSpec spec;
            spec.fields = {name, signature};
            QVERIFY(writeFormPdf(path, spec));
        } else {
            PdfFixtureSpec spec = PdfFixtureSpec::withPages(1);
            spec.signatureFields = signatureFields;
            QVERIFY(writePdf(path, spec));
        }
        QByteArray noPassword;
        const OpenedDocument opened = loadPdfiumDocument(m_pdfium, path, noPassword);
        QVERIFY(opened.document);
        QCOMPARE(signedFieldCount(m_pdfium, opened.document.get()), signedFields);
        QVERIFY(readProtection(m_pdfium, opened.document.get()) == expected);
    }

    void unreadableSignatureCountCountsAsSigned()
    {
        // PDFium answers -1 for the signature count of no document.
        QCOMPARE(m_pdfium.api().FPDF_GetSignatureCount(nullptr), -1);
        QVERIFY(isProtectedDocument(m_pdfium, nullptr));
        QCOMPARE(signedFieldCount(m_pdfium, nullptr), -1);
        QVERIFY(readProtection(m_pdfium, nullptr).signedDocument);
    }

    void unboundBindingProtectsEverything()
    {
        const Pdfium unbound;
        QVERIFY(isProtectedDocument(unbound, nullptr));
    }
};

QTEST_GUILESS_MAIN(ProtectedDocumentTest)
#include "ProtectedDocumentTest.moc"
