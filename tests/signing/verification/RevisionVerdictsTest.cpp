// Revision and permission verdicts on documents signed at test time and
// updated byte by byte, each revision snapshot taken by the real worker in
// the real sandbox: DocMDP P 1/2/3, FieldMDP /Include and /Exclude, a
// field /Lock, a broken /Prev chain and bytes after the last %%EOF.

#include "signing/verification/VerificationFixtures.h"

#include "signing/verification/RevisionMarkers.h"
#include "signing/verification/RevisionPolicySource.h"
#include "signing/verification/RevisionVerdicts.h"
#include "support/TestPaths.h"
#include "workers/pdf/signatures/SignatureFixtureDocuments.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace velk;
using namespace velk::test;

namespace {

const QString kForm = QStringLiteral("\nRevizyon 1: form doldurma [ad]: ");
const QString kUncertain = QStringLiteral("\nBELİRSİZ: incremental revizyon zinciri güvenle sınıflandırılamadı.");

using Update = std::function<QByteArray(const QByteArray&)>;

} // namespace

class RevisionVerdictsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    TestCertificate m_tsa;

    SignatureReport analyse(const QByteArray& pdf, qint64 covered, LaterRevisions* later = nullptr)
    {
        const QString path = m_dir.filePath(QStringLiteral("document.pdf"));
        writeFile(path, pdf);
        RevisionPolicySource source(pdf, path, nullptr, applicationDirectory());
        SignatureReport report;
        report.coveredLength = covered;
        report.coversWholeFile = covered == pdf.size();
        const PolicyReply policy = source.revisionPolicy(covered, true);
        if (!policy.error.isEmpty())
            report.verdict = policy.error;
        const LaterRevisions result = RevisionVerdicts::analyseRevisions(report, policy.json, source);
        if (later)
            *later = result;
        return report;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.filePath(QStringLiteral("pki")));
        QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
        m_signer = m_pki->issueSigner(QStringLiteral("signer"), m_pki->root());
        m_tsa = m_pki->issueTimeStampAuthority(QStringLiteral("tsa"), m_pki->root());
        QVERIFY(m_signer.isValid() && m_tsa.isValid());
    }

    void laterRevisions_data()
    {
        QTest::addColumn<int>("docMdp");
        QTest::addColumn<QByteArray>("references");
        QTest::addColumn<QByteArray>("fieldExtra");
        QTest::addColumn<QList<Update>>("updates");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("violation");
        QTest::addColumn<bool>("uncertain");

        TestPki& pki = *m_pki;
        const TestCertificate signer = m_signer;
        const TestCertificate tsa = m_tsa;
        const QByteArray der = m_signer.der;
        const Update dss = [der](const QByteArray& pdf) { return addDss(pdf, {der}); };
        const Update annotation = [](const QByteArray& pdf) { return addAnnotation(pdf); };
        const Update fill = [](const QByteArray& pdf) { return fillTextField(pdf, "yeni"); };
        const Update removePage = [](const QByteArray& pdf) { return removeSecondPage(pdf); };
        const Update sign = [&pki, signer](const QByteArray& pdf) { return addSignature(pdf, pki, signer); };
        const Update stamp = [&pki, tsa](const QByteArray& pdf) { return addDocumentTimestamp(pdf, pki, tsa); };
        const Update unchanged = [](const QByteArray& pdf) {
            return appendRevision(pdf, {{4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"}}, 30);
        };
        const Update garbage = [](const QByteArray& pdf) { return pdf + "garbage\n"; };
        const Update badPrev = [](const QByteArray& pdf) { return addRevisionWithBadPrev(pdf); };
        const QByteArray none;
        const QString dssLine = QStringLiteral("\nRevizyon 1: DSS/VRI doğrulama verisi: İZİNLİ");

        QTest::newRow("covers the whole file") << 0 << none << none << QList<Update>{}
                                               << QStringLiteral(" — değişiklik yok: İZİNLİ") << false << false;
        QTest::newRow("P1, DSS only") << 1 << none << none << QList<Update>{dss} << dssLine << false << false;
        QTest::newRow("P1, document time stamp")
            << 1 << none << none << QList<Update>{stamp}
            << QStringLiteral("\nRevizyon 1: belge zaman damgası [imza2]: İZİNLİ") << false << false;
        QTest::newRow("P1, signature") << 1 << none << none << QList<Update>{sign}
                                       << QStringLiteral("\nRevizyon 1: imza ekleme [imza2]: İZİNSİZ") << true
                                       << false;
        QTest::newRow("P1, form fill") << 1 << none << none << QList<Update>{fill} << kForm + "İZİNSİZ" << true
                                       << false;
        QTest::newRow("P2, form fill") << 2 << none << none << QList<Update>{fill} << kForm + "İZİNLİ" << false
                                       << false;
        QTest::newRow("P2, signature") << 2 << none << none << QList<Update>{sign}
                                       << QStringLiteral("\nRevizyon 1: imza ekleme [imza2]: İZİNLİ") << false
                                       << false;
        QTest::newRow("P2, annotation") << 2 << none << none << QList<Update>{annotation}
                                        << QStringLiteral("\nRevizyon 1: açıklama ekleme/değiştirme: İZİNSİZ")
                                        << true << false;
        QTest::newRow("P3, form fill") << 3 << none << none << QList<Update>{fill} << kForm + "İZİNLİ" << false
                                       << false;
        QTest::newRow("P3, annotation") << 3 << none << none << QList<Update>{annotation}
                                        << QStringLiteral("\nRevizyon 1: açıklama ekleme/değiştirme: İZİNLİ")
                                        << false << false;
        QTest::newRow("no DocMDP, page removed")
            << 0 << none << none << QList<Update>{removePage}
            << QStringLiteral("\nRevizyon 1: sayfa/içerik veya belge yapısı değişikliği: İZİNLİ; "
                              "açıklama ekleme/değiştirme: İZİNLİ")
            << false << false;
        QTest::newRow("P2, page removed")
            << 2 << none << none << QList<Update>{removePage}
            << QStringLiteral("\nRevizyon 1: sayfa/içerik veya belge yapısı değişikliği: İZİNSİZ; "
                              "açıklama ekleme/değiştirme: İZİNSİZ")
            << true << false;
        QTest::newRow("FieldMDP include, its field filled")
            << 0 << fieldMdpReference("/Action /Include /Fields [(ad)]") << none << QList<Update>{fill}
            << kForm + "İZİNSİZ" << true << false;
        QTest::newRow("FieldMDP exclude, its field filled")
            << 0 << fieldMdpReference("/Action /Exclude /Fields [(ad)]") << none << QList<Update>{fill}
            << kForm + "İZİNLİ" << false << false;
        QTest::newRow("FieldMDP exclude, another field signed")
            << 0 << fieldMdpReference("/Action /Exclude /Fields [(ad)]") << none << QList<Update>{sign}
            << QStringLiteral("\nRevizyon 1: imza ekleme [imza2]: İZİNSİZ") << true << false;
        QTest::newRow("lock /All on the signed field")
            << 0 << none << QByteArray("/Lock << /Type /SigFieldLock /Action /All >>") << QList<Update>{fill}
            << kForm + "İZİNSİZ" << true << false;
        QTest::newRow("revision without change")
            << 1 << none << none << QList<Update>{unchanged}
            << QStringLiteral("\nRevizyon 1: görünür/işlevsel değişiklik yok: İZİNLİ") << false << false;
        QTest::newRow("two revisions") << 2 << none << none << QList<Update>{fill, annotation}
                                       << kForm + "İZİNLİ\nRevizyon 2: açıklama ekleme/değiştirme: İZİNSİZ" << true
                                       << false;
        QTest::newRow("bad /Prev") << 0 << none << none << QList<Update>{badPrev} << kUncertain << false << true;
        QTest::newRow("garbage after %%EOF") << 0 << none << none << QList<Update>{fill, garbage}
                                             << kForm + "İZİNLİ" + kUncertain << false << true;
        QTest::newRow("garbage right after the signed revision")
            << 0 << none << none << QList<Update>{garbage} << kUncertain << false << true;
    }

    void laterRevisions()
    {
        QFETCH(int, docMdp);
        QFETCH(QByteArray, references);
        QFETCH(QByteArray, fieldExtra);
        QFETCH(QList<Update>, updates);
        QFETCH(QString, expected);
        QFETCH(bool, violation);
        QFETCH(bool, uncertain);

        SignedDocumentSpec spec;
        spec.docMdp = docMdp;
        spec.references = references;
        spec.fieldExtra = fieldExtra;
        QByteArray pdf = signedDocument(*m_pki, m_signer, spec);
        QVERIFY(!pdf.isEmpty());
        const qint64 covered = pdf.size();
        for (const Update& update : updates) {
            pdf = update(pdf);
            QVERIFY(!pdf.isEmpty());
        }
        const SignatureReport report = analyse(pdf, covered);
        QCOMPARE(report.verdict, QString());
        QCOMPARE(report.permissionsText, expected);
        QCOMPARE(report.permissionViolation, violation);
        QCOMPARE(report.revisionUncertain, uncertain);
    }

    void evidenceOnlyRevisionsAreSummarised()
    {
        QByteArray pdf = signedDocument(*m_pki, m_signer);
        const qint64 covered = pdf.size();
        pdf = addDss(pdf, {m_signer.der});
        const qint64 dssEnd = pdf.size();
        pdf = addDocumentTimestamp(pdf, *m_pki, m_tsa);
        QVERIFY(!pdf.isEmpty());
        LaterRevisions later;
        analyse(pdf, covered, &later);
        QVERIFY(later.onlyEvidence);
        QCOMPARE(later.timestampRevisions, (QList<QPair<qint64, qint64>>{{dssEnd, pdf.size()}}));

        analyse(addAnnotation(pdf), covered, &later);
        QVERIFY(!later.onlyEvidence);
    }

    void fieldLocks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QJsonArray>("locks");
        QTest::addColumn<bool>("locked");
        const auto lock = [](const char* action, const QStringList& fields) {
            return QJsonObject{{"action", action}, {"fields", QJsonArray::fromStringList(fields)}};
        };
        QTest::newRow("no locks") << "ad" << QJsonArray() << false;
        QTest::newRow("all") << "ad" << QJsonArray{lock("/All", {})} << true;
        QTest::newRow("include, listed") << "ad" << QJsonArray{lock("/Include", {"ad"})} << true;
        QTest::newRow("include, child") << "ad.soyad" << QJsonArray{lock("/Include", {"ad"})} << true;
        QTest::newRow("include, same prefix only") << "adres" << QJsonArray{lock("/Include", {"ad"})} << false;
        QTest::newRow("include, other") << "imza2" << QJsonArray{lock("/Include", {"ad"})} << false;
        QTest::newRow("exclude, listed") << "ad" << QJsonArray{lock("/Exclude", {"ad"})} << false;
        QTest::newRow("exclude, child") << "ad.soyad" << QJsonArray{lock("/Exclude", {"ad"})} << false;
        QTest::newRow("exclude, other") << "imza2" << QJsonArray{lock("/Exclude", {"ad"})} << true;
        QTest::newRow("second lock locks")
            << "imza2" << QJsonArray{lock("/Include", {"ad"}), lock("/Include", {"imza2"})} << true;
        QTest::newRow("unknown action") << "ad" << QJsonArray{lock("/Some", {"ad"})} << false;
    }

    void fieldLocks()
    {
        QFETCH(QString, name);
        QFETCH(QJsonArray, locks);
        QFETCH(bool, locked);
        QCOMPARE(RevisionVerdicts::isFieldLocked(name, locks), locked);
    }

    void markers_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<qint64>>("offsets");
        QTest::addColumn<QList<qint64>>("ends");
        QTest::newRow("none") << QByteArray("%PDF-1.7\n") << QList<qint64>{} << QList<qint64>{};
        QTest::newRow("one, line ends taken") << QByteArray("startxref\n12\n%%EOF\r\n\r\nx") << QList<qint64>{12}
                                              << QList<qint64>{22};
        QTest::newRow("two") << QByteArray("startxref 1 %%EOF startxref\t22\f%%EOF") << QList<qint64>{1, 22}
                             << QList<qint64>{17, 36};
        QTest::newRow("no space before the number") << QByteArray("startxref12 %%EOF") << QList<qint64>{}
                                                    << QList<qint64>{};
        QTest::newRow("no number") << QByteArray("startxref  %%EOF") << QList<qint64>{} << QList<qint64>{};
        QTest::newRow("huge number") << QByteArray("startxref 99999999999999999999 %%EOF")
                                     << QList<qint64>{std::numeric_limits<qint64>::max()} << QList<qint64>{36};
    }

    void markers()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<qint64>, offsets);
        QFETCH(QList<qint64>, ends);
        RevisionMarkers markers(file);
        QList<qint64> foundOffsets;
        QList<qint64> foundEnds;
        while (const auto marker = markers.next()) {
            foundOffsets.append(marker->offset);
            foundEnds.append(marker->end);
        }
        QCOMPARE(foundOffsets, offsets);
        QCOMPARE(foundEnds, ends);
    }
};

QTEST_GUILESS_MAIN(RevisionVerdictsTest)
#include "RevisionVerdictsTest.moc"
