// verifySignatures on documents signed at test time (openssl cms, openssl
// ts, pdfsig), opened as the application opens them and verified with the
// real worker in the real sandbox against the test root as trust anchor,
// offline: whole-file and later-revision signatures, documents that must
// never read as valid, the document-time-stamp chain, failed later
// additions and cancellation.

#include "signing/verification/VerificationFixtures.h"

#include "document/core/DocumentOpen.h"
#include "signing/verification/SignatureVerifier.h"
#include "support/PdfFixtures.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

using namespace velk;
using namespace velk::test;

namespace {

const QString kAfterBytes =
    QStringLiteral(" İmzadan sonra ek baytlar var; güncel belgenin tamamı bu imzayla korunmuyor. Sonuç: BELİRSİZ.");
const QString kOnlyEvidence = QStringLiteral(
    " İmzadan sonra yalnızca doğrulama verisi ve belge zaman damgası eklendi; imzalı içerik değişmedi.");
const QString kFailedAddition =
    QStringLiteral("\nGenel karar BELİRSİZ: eklenen imza/zaman damgasının bütünlüğü doğrulanamadı.");

bool readsValid(const SignatureReport& r)
{
    return r.integrityValid && r.chainTrusted && r.purposeValid && r.revocationStatus == kStatusGood
           && r.coversWholeFile && !r.permissionViolation && !r.revisionUncertain;
}

} // namespace

class SignatureVerificationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    TestCertificate m_tsa;
    TestCertificate m_responder;
    QByteArray m_rootCrl;
    int m_files = 0;

    SignatureReports verify(const QByteArray& pdf, const CancelFlag& cancel = nullptr)
    {
        const QString path = m_dir.filePath(QStringLiteral("document-%1.pdf").arg(++m_files));
        if (!writeFile(path, pdf))
            return {{}, QStringLiteral("write")};
        const PdfOpenResult opened =
            openPdfDocument(path, std::make_shared<SecretBytes>(), nullptr, applicationDirectory());
        if (!opened.document)
            return {{}, opened.error};
        VerificationOptions options;
        options.applicationDirectory = applicationDirectory();
        return verifySignatures(opened.document, m_pki->root().certificatePath, cancel, options);
    }

    QByteArray signedDocument(const SignedDocumentSpec& spec = {})
    {
        return test::signedDocument(*m_pki, m_signer, spec);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.filePath(QStringLiteral("pki")));
        QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
        m_signer = m_pki->issueSigner(QStringLiteral("signer"), m_pki->root());
        m_tsa = m_pki->issueTimeStampAuthority(QStringLiteral("tsa"), m_pki->root());
        CertificateRequest responder;
        responder.name = QStringLiteral("responder");
        responder.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                                QStringLiteral("keyUsage=critical,digitalSignature"),
                                QStringLiteral("extendedKeyUsage=critical,OCSPSigning"),
                                QStringLiteral("noCheck=ignored")};
        m_responder = m_pki->issue(responder, m_pki->root());
        QVERIFY(m_signer.isValid() && m_tsa.isValid() && m_responder.isValid());
        m_rootCrl = m_pki->makeCrl(m_pki->root(), 48, QStringLiteral("-1h"));
        QVERIFY(!m_rootCrl.isEmpty());
    }

    void documentWithoutSignatures()
    {
        const SignatureReports result = verify(pdfBytes());
        QCOMPARE(result.error, QString());
        QVERIFY(result.reports.isEmpty());
    }

    void wholeFileSignature()
    {
        const QByteArray pdf = signedDocument();
        const SignatureReports result = verify(pdf);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 1);
        const SignatureReport& r = result.reports.constFirst();
        QCOMPARE(r.number, 1);
        QVERIFY(r.integrityValid && r.chainTrusted && r.purposeValid && r.coversWholeFile);
        QCOMPARE(r.coveredLength, pdf.size());
        QCOMPARE(r.signerName, QStringLiteral("signer"));
        QVERIFY2(r.verdict.startsWith(QStringLiteral("Belge bütünlüğü ve sertifika zinciri doğrulandı. BELİRSİZ: ")),
                 qPrintable(r.verdict));
        QCOMPARE(r.permissionsText, QStringLiteral("DocMDP: yok; FieldMDP: yok — değişiklik yok: İZİNLİ"));
        QVERIFY(!r.revisionUncertain && !r.permissionViolation && !r.isDocumentTimestamp);
        QCOMPARE(r.archiveText, QStringLiteral("Doğrulanmış DocTimeStamp zinciri kapsamı yok; BELİRSİZ."));
        QCOMPARE(r.historicalText,
                 QStringLiteral("BELİRSİZ: doğrulanmış TSA zamanı yok; beyan edilen imza zamanı kullanılmaz."));
    }

    void certifiedThenFormFilled()
    {
        SignedDocumentSpec spec;
        spec.docMdp = 2;
        spec.cades = true;
        const SignatureReports result = verify(fillTextField(signedDocument(spec), "yeni"));
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 1);
        const SignatureReport& r = result.reports.constFirst();
        QVERIFY(r.integrityValid && !r.coversWholeFile && !r.permissionViolation && !r.revisionUncertain);
        QCOMPARE(r.permissionsText, QStringLiteral("DocMDP: 2; FieldMDP: yok\nRevizyon 1: form doldurma [ad]: İZİNLİ"));
        QVERIFY(r.verdict.endsWith(kAfterBytes));
    }

    void neverValid_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("verdictPart");
        QTest::addColumn<QString>("permissionsPart");
        QTest::addColumn<bool>("integrity");
        QTest::addColumn<bool>("violation");
        QTest::addColumn<bool>("uncertain");

        const QByteArray plain = signedDocument();
        QByteArray textChanged = plain;
        textChanged.replace("(Velk imzali sayfa)", "(Velk imzali sayfq)");
        QTest::newRow("page text byte changed")
            << textChanged << QStringLiteral("Kriptografik imza doğrulanamadı") << QString() << false << false
            << false;
        QTest::newRow("later revision removes pages, no DocMDP")
            << removeSecondPage(plain) << kAfterBytes
            << QStringLiteral("sayfa/içerik veya belge yapısı değişikliği: İZİNLİ") << true << false << false;
        SignedDocumentSpec certified;
        certified.docMdp = 2;
        QTest::newRow("later revision removes pages, P2")
            << removeSecondPage(signedDocument(certified)) << kAfterBytes
            << QStringLiteral("sayfa/içerik veya belge yapısı değişikliği: İZİNSİZ") << true << true << false;
        QByteArray nonHex = plain;
        const qsizetype padding = nonHex.indexOf("0000>");
        nonHex[padding] = '\v';
        QTest::newRow("non-hex byte in the Contents gap")
            << nonHex << QStringLiteral("İmza dışındaki baytlar Contents aralığına gizlenmiş olabilir.") << QString()
            << false << false << false;
        QTest::newRow("garbage after %%EOF")
            << plain + "garbage" << kAfterBytes
            << QStringLiteral("BELİRSİZ: incremental revizyon zinciri güvenle sınıflandırılamadı.") << true << false
            << true;
        QTest::newRow("bad /Prev") << addRevisionWithBadPrev(plain) << kAfterBytes
                                   << QStringLiteral("BELİRSİZ: incremental revizyon zinciri") << true << false
                                   << true;
    }

    void neverValid()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, verdictPart);
        QFETCH(QString, permissionsPart);
        QFETCH(bool, integrity);
        QFETCH(bool, violation);
        QFETCH(bool, uncertain);
        const SignatureReports result = verify(pdf);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 1);
        const SignatureReport& r = result.reports.constFirst();
        QVERIFY(!readsValid(r));
        QVERIFY2(r.verdict.contains(verdictPart), qPrintable(r.verdict));
        QVERIFY2(r.permissionsText.contains(permissionsPart), qPrintable(r.permissionsText));
        QCOMPARE(r.integrityValid, integrity);
        QCOMPARE(r.permissionViolation, violation);
        QCOMPARE(r.revisionUncertain, uncertain);
    }

    void nestedSignedFieldIsNeverMissed()
    {
        SignedDocumentSpec spec;
        spec.nested = true;
        const SignatureReports result = verify(signedDocument(spec));
        // Either the listing finds the signature, or the run fails with the
        // listing's sentence: never a document "without" signatures.
        QVERIFY(!result.error.isEmpty() || !result.reports.isEmpty());
        for (const SignatureReport& r : result.reports)
            QVERIFY(r.integrityValid);
    }

    void popplerSignatureIsIntact()
    {
        NssSigner nss(*m_pki, m_signer, m_dir.filePath(QStringLiteral("nss")));
        QVERIFY(nss.isValid());
        const QString input = m_dir.filePath(QStringLiteral("poppler-in.pdf"));
        const QString output = m_dir.filePath(QStringLiteral("poppler-out.pdf"));
        QVERIFY(writePdf(input));
        QVERIFY(nss.addSignature(input, output));
        const SignatureReports result = verify(readFile(output));
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 1);
        const SignatureReport& r = result.reports.constFirst();
        QVERIFY2(r.integrityValid && r.chainTrusted && r.coversWholeFile, qPrintable(r.verdict));
    }

    void evidenceAndTimestampAfterTheSignature()
    {
        QByteArray pdf = signedDocument();
        pdf = addDss(pdf, {}, {m_rootCrl});
        pdf = addDocumentTimestamp(pdf, *m_pki, m_tsa);
        QVERIFY(!pdf.isEmpty());
        const SignatureReports result = verify(pdf);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 2);
        const SignatureReport& signature = result.reports.at(0);
        const SignatureReport& stamp = result.reports.at(1);

        QVERIFY(stamp.isDocumentTimestamp && stamp.integrityValid && stamp.chainTrusted && stamp.timestampValid);
        QCOMPARE(stamp.signerName, QStringLiteral("tsa — Belge zaman damgası (TSA)"));
        QCOMPARE(stamp.historicalStatus, kStatusGood);
        QVERIFY(stamp.archiveCovered);
        QCOMPARE(stamp.archiveText, QStringLiteral("DocTimeStamp zinciri GEÇERLİ; önceki revizyonlar ve kanıt baytları "
                                                   "kapsanıyor."));

        QVERIFY(signature.integrityValid && !signature.coversWholeFile && !signature.revisionUncertain);
        QVERIFY2(signature.verdict.endsWith(kOnlyEvidence), qPrintable(signature.verdict));
        QCOMPARE(signature.permissionsText, QStringLiteral("DocMDP: yok; FieldMDP: yok\nRevizyon 1: DSS/VRI doğrulama "
                                                           "verisi: İZİNLİ\nRevizyon 2: belge zaman damgası [imza2]: "
                                                           "İZİNLİ"));
        QCOMPARE(signature.historicalStatus, kStatusGood);
        QVERIFY2(signature.historicalText.startsWith(
                     QStringLiteral("DocTimeStamp varlık kanıtının üst sınır zamanı: GEÇERLİ — TSA zamanı: ")),
                 qPrintable(signature.historicalText));
        QVERIFY(signature.archiveCovered);
        QCOMPARE(signature.archiveText, QStringLiteral("Sonraki DocTimeStamp zinciri bu imzayı kapsıyor."));

        // Any other later change keeps the signature's result undetermined.
        const SignatureReports annotated = verify(addAnnotation(pdf));
        QCOMPARE(annotated.reports.size(), 2);
        QVERIFY(annotated.reports.at(0).verdict.endsWith(kAfterBytes));
        QVERIFY(annotated.reports.at(1).verdict.endsWith(kAfterBytes));
    }

    void expiredEvidenceDoesNotProtect()
    {
        // The authority's CRL in the store expired before the time stamp.
        const QByteArray expired = m_pki->makeCrl(m_pki->root(), 1, QStringLiteral("-3h"));
        QVERIFY(!expired.isEmpty());
        QByteArray pdf = addDss(signedDocument(), {}, {expired});
        pdf = addDocumentTimestamp(pdf, *m_pki, m_tsa);
        QVERIFY(!pdf.isEmpty());
        const SignatureReports result = verify(pdf);
        QCOMPARE(result.reports.size(), 2);
        const SignatureReport& signature = result.reports.at(0);
        const SignatureReport& stamp = result.reports.at(1);
        QVERIFY(stamp.integrityValid && stamp.chainTrusted);
        QCOMPARE(stamp.historicalStatus, kStatusUndetermined);
        QVERIFY(!stamp.archiveCovered);
        QCOMPARE(stamp.archiveText,
                 QStringLiteral("DocTimeStamp zinciri BELİRSİZ: sıra, bütünlük veya tarihsel TSA kanıtı eksik."));
        QVERIFY(!signature.archiveCovered);
        QCOMPARE(signature.historicalStatus, kStatusUndetermined);
        QCOMPARE(signature.archiveText, QStringLiteral("Doğrulanmış DocTimeStamp zinciri kapsamı yok; BELİRSİZ."));
        // What followed the signature is still only verified evidence.
        QVERIFY(signature.verdict.endsWith(kOnlyEvidence));
    }

    void historicalAtSignatureTimestamp_data()
    {
        QTest::addColumn<qint64>("evidenceOffset"); // seconds from the time stamp
        QTest::addColumn<int>("minutesValid");
        QTest::addColumn<int>("historical");
        QTest::addColumn<QString>("signerEvidence");
        QTest::newRow("fresh answer 1 s after the time stamp")
            << qint64(1) << 1440 << int(kStatusGood) << QStringLiteral("; TSA: GEÇERLİ; DSS OCSP");
        QTest::newRow("answer expired before the time stamp")
            << qint64(-7200) << 60 << int(kStatusUndetermined)
            << QStringLiteral("; TSA: GEÇERLİ; Güncel/doğrulanabilir OCSP veya CRL bulunamadı");
    }

    void historicalAtSignatureTimestamp()
    {
        QFETCH(qint64, evidenceOffset);
        QFETCH(int, minutesValid);
        QFETCH(int, historical);
        QFETCH(QString, signerEvidence);
        // Absolute times for faketime, in UTC whatever the local zone.
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'");
        const QDateTime stampTime = QDateTime::currentDateTimeUtc();
        QByteArray pdf = addTimestampedSignature(signedDocument(), *m_pki, m_signer, m_tsa, stampTime.toString(format));
        QVERIFY(!pdf.isEmpty());
        // The authority's answer is always fresh; the signer's is the row's.
        const QString fresh = stampTime.addSecs(1).toString(format);
        const QByteArray authority = ocspResponse(*m_pki, m_tsa, m_responder, fresh, 1440);
        const QByteArray signer =
            ocspResponse(*m_pki, m_signer, m_responder, stampTime.addSecs(evidenceOffset).toString(format), minutesValid);
        QVERIFY(!authority.isEmpty() && !signer.isEmpty());
        pdf = addDss(pdf, {}, {}, {authority, signer});

        const SignatureReports result = verify(pdf);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 2);
        const SignatureReport& r = result.reports.at(1);
        QVERIFY2(r.integrityValid && r.chainTrusted && r.hasTimestamp && r.timestampValid, qPrintable(r.verdict));
        QCOMPARE(r.timestampTime.left(19), stampTime.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        QVERIFY2(r.historicalStatus == historical, qPrintable(r.historicalText));
        QCOMPARE(r.historicalText, SignatureReport::statusWord(historical) + QStringLiteral(" — TSA zamanı: ")
                                       + r.timestampTime + signerEvidence);
    }

    void failedDocumentTimestampKeepsResultUndetermined_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("token altered") << QStringLiteral("altered");
        QTest::newRow("authority not trusted") << QStringLiteral("untrusted");
    }

    void failedDocumentTimestampKeepsResultUndetermined()
    {
        QFETCH(QString, failure);
        QByteArray pdf = addDss(signedDocument(), {}, {m_rootCrl});
        if (failure == QLatin1String("untrusted")) {
            TestPki other(m_dir.filePath(QStringLiteral("other-pki")));
            const TestCertificate tsa = other.issueTimeStampAuthority(QStringLiteral("other-tsa"), other.root());
            QVERIFY(tsa.isValid());
            pdf = addDocumentTimestamp(pdf, other, tsa);
        } else {
            pdf = addDocumentTimestamp(pdf, *m_pki, m_tsa);
            QVERIFY(!pdf.isEmpty());
            // A byte of the token's signed content, well inside its DER.
            const qsizetype at = pdf.lastIndexOf("/Contents <") + 11 + 600;
            pdf[at] = pdf.at(at) == 'a' ? 'b' : 'a';
        }
        QVERIFY(!pdf.isEmpty());
        const SignatureReports result = verify(pdf);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 2);
        const SignatureReport& signature = result.reports.at(0);
        const SignatureReport& stamp = result.reports.at(1);
        QVERIFY(stamp.isDocumentTimestamp && !(stamp.integrityValid && stamp.chainTrusted));
        QVERIFY(!stamp.archiveCovered && !signature.archiveCovered);
        QVERIFY(!readsValid(signature));
        QVERIFY2(signature.verdict.endsWith(kAfterBytes), qPrintable(signature.verdict));
        QVERIFY(!signature.verdict.contains(kOnlyEvidence));
    }

    void corruptLaterSignatureMakesEarlierUncertain()
    {
        QByteArray pdf = addSignature(signedDocument(), *m_pki, m_signer);
        QVERIFY(!pdf.isEmpty());
        // A byte of the second signature's value, well inside its CMS.
        const qsizetype contents = pdf.lastIndexOf("/Contents <") + 11;
        const qsizetype at = contents + 600;
        pdf[at] = pdf.at(at) == 'a' ? 'b' : 'a';
        const SignatureReports result = verify(pdf);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.reports.size(), 2);
        QVERIFY(!result.reports.at(1).integrityValid);
        QVERIFY(result.reports.at(1).coversWholeFile);
        QVERIFY(result.reports.at(0).revisionUncertain);
        QVERIFY(result.reports.at(0).permissionsText.endsWith(kFailedAddition));
        QCOMPARE(result.reports.at(0).permissionsText.count(kFailedAddition), 1);
    }

    void cancelledRun()
    {
        auto cancel = std::make_shared<std::atomic<bool>>(true);
        const SignatureReports result = verify(signedDocument(), cancel);
        QCOMPARE(result.error, QStringLiteral("İşlem iptal edildi."));
        QVERIFY(result.reports.isEmpty());
    }

    void noDocument()
    {
        const SignatureReports result = verifySignatures(nullptr, QString(), nullptr, {});
        QCOMPARE(result.error, QStringLiteral("Açık PDF gerekli."));
    }
};

QTEST_GUILESS_MAIN(SignatureVerificationTest)
#include "SignatureVerificationTest.moc"
