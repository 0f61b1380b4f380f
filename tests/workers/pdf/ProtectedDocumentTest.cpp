// Documents that content edits must leave alone are recognised: encrypted
// ones (with or without a user password), forms, and any document whose
// signature count PDFium cannot read. A plain document is not protected.

#include "PdfFixtures.h"
#include "Pdfium.h"
#include "PdfiumDocument.h"
#include "ProtectedDocument.h"
#include "TestPaths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

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

    void unreadableSignatureCountCountsAsSigned()
    {
        // PDFium answers -1 for the signature count of no document.
        QCOMPARE(m_pdfium.api().FPDF_GetSignatureCount(nullptr), -1);
        QVERIFY(isProtectedDocument(m_pdfium, nullptr));
    }

    void unboundBindingProtectsEverything()
    {
        const Pdfium unbound;
        QVERIFY(isProtectedDocument(unbound, nullptr));
    }
};

QTEST_GUILESS_MAIN(ProtectedDocumentTest)
#include "ProtectedDocumentTest.moc"
