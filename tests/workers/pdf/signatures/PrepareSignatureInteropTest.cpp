// "prepareSignature" through the real worker in the real sandbox on four
// kinds of source: a classic cross-reference table, a cross-reference
// stream, a linearized file and a file pdfsig signed that ends in a
// cross-reference stream. Each reservation is filled as the signing side
// does (byte range, CAdES from `openssl cms`), then judged by qpdf,
// pdfinfo, mutool, pdfsig and PDFium: the new signature and every earlier
// one are valid and the source is an exact prefix of the output.

#include "support/PdfFixtures.h"
#include "PreparationRun.h"
#include "support/SignatureFill.h"
#include "support/TestPki.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velk;
using namespace velk::test;

namespace {

const QByteArray kPlaceholderMarker = "<" + QByteArray("a5").repeated(16) + "00";

} // namespace

class PrepareSignatureInteropTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    std::unique_ptr<NssSigner> m_nss;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QStringList pdfsigValidations(const QString& file) const { return m_nss->validations(file); }

    int pdfiumSignatures(const QString& file) const
    {
        const QJsonObject reply = withoutIsolation(runSandboxed({{"operation", "signatures"}, {"path", file}}).json);
        return reply.value("ok").toBool() ? int(reply.value("signatures").toArray().size()) : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(path("pki"));
        QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
        m_signer = m_pki->issueSigner(QStringLiteral("signer"), m_pki->root());
        QVERIFY(m_signer.isValid());
        m_nss = std::make_unique<NssSigner>(*m_pki, m_signer, path("nss"));
        QVERIFY(m_nss->isValid());
        QVERIFY(writePdf(path("classic.pdf")));
        QVERIFY(runQpdf({"--object-streams=generate", path("classic.pdf"), path("xref-stream.pdf")}));
        QVERIFY(runQpdf({"--linearize", path("classic.pdf"), path("linearized.pdf")}));
        QVERIFY(m_nss->addSignature(path("xref-stream.pdf"), path("pdfsig-signed.pdf")));
        QCOMPARE(pdfsigValidations(path("pdfsig-signed.pdf")).size(), 1);
    }

    void fillsAndValidates_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("earlier");
        for (const bool visible : {true, false}) {
            const char* look = visible ? "visible" : "invisible";
            QTest::addRow("classic table, %s", look) << "classic.pdf" << visible << 0;
            QTest::addRow("xref stream, %s", look) << "xref-stream.pdf" << visible << 0;
            QTest::addRow("linearized, %s", look) << "linearized.pdf" << visible << 0;
            QTest::addRow("pdfsig-signed, %s", look) << "pdfsig-signed.pdf" << visible << 1;
        }
    }

    void fillsAndValidates()
    {
        QFETCH(QString, source);
        QFETCH(bool, visible);
        QFETCH(int, earlier);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QRegularExpression("[^a-z]"), "-");
        const QString prepared = path(tag + "-prepared.pdf");
        const QString filled = path(tag + "-filled.pdf");
        QCOMPARE(prepare(prepareRequest(path(source), prepared, visible)), okReply());

        const QByteArray input = readFile(path(source));
        const QByteArray output = readFile(prepared);
        QVERIFY(output.startsWith(input));
        QCOMPARE(output.at(input.size()), '\n');
        QCOMPARE(occurrences(output, kPlaceholderMarker), 1);
        QCOMPARE(occurrences(output, "1111111111"), 1);
        QVERIFY(qpdfAccepts(prepared));

        const QByteArray signedBytes = fillSignature(output, *m_pki, m_signer);
        QVERIFY(!signedBytes.isEmpty());
        QVERIFY(writeFile(filled, signedBytes));
        QByteArray report;
        QVERIFY2(runProgram("qpdf", {"--check", filled}, &report), report.constData());
        QVERIFY(qpdfAccepts(filled));
        QVERIFY2(runProgram("pdfinfo", {filled}, &report), report.constData());
        QVERIFY2(runProgram("mutool", {"info", filled}, &report), report.constData());
        const QStringList validations = pdfsigValidations(filled);
        QCOMPARE(validations.size(), earlier + 1);
        for (const QString& validation : validations)
            QCOMPARE(validation, QStringLiteral("Signature is Valid."));
        runProgram("mutool", {"sign", "-v", filled}, &report);
        QCOMPARE(occurrences(report, "Verifying signature"), earlier + 1);
        QCOMPARE(occurrences(report, "The document is unchanged since signing.")
                     + occurrences(report, "The signature is valid but there have been edits since signing."),
                 earlier + 1);
        QCOMPARE(pdfiumSignatures(filled), earlier + 1);
    }
};

QTEST_GUILESS_MAIN(PrepareSignatureInteropTest)
#include "PrepareSignatureInteropTest.moc"
