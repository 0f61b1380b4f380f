// "signatures" through the real worker in the real sandbox: every signed
// signature field of the whole field tree (nested ones too) with the bytes
// verification needs, in the order of their byte ranges, as pdfsig and
// openssl read them; unsigned fields only as far as the permission
// analysis declares them; every refusal one sentence and no partial list.

#include "support/SandboxedRun.h"
#include "SignatureFixtureDocuments.h"
#include "support/TestPki.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kCount = QStringLiteral("İmza sayısı desteklenen sınırı aşıyor.");
const QString kUnreadable = QStringLiteral("İmza alanı okunamadı.");
const QString kUnsupported = QStringLiteral("İmza boyutu veya ByteRange yapısı desteklenmiyor.");
const QString kEmptyFields = QStringLiteral("Boş imza alanları güvenle çözümlenemedi.");

// Fields 6 .. with filled values (not real signatures: the listing hands
// the bytes on unverified), each listed in /Fields and on the page.
QByteArray filledFields(int count)
{
    QByteArray list;
    QList<QByteArray> objects;
    for (int i = 0; i < count; ++i) {
        list += QByteArray::number(6 + i) + " 0 R ";
        objects << signatureWidget("s" + QByteArray::number(i),
                                   "<< /Type /Sig /SubFilter /adbe.pkcs7.detached /ByteRange [0 " +
                                       QByteArray::number(10 + i) + " 20 30] /Contents <3082> >>");
    }
    return pdfFromObjects(formBodies("/AcroForm << /Fields [" + list + "] >>", list, objects));
}

QString rangeText(const QJsonArray& range)
{
    const qint64 a = range[0].toInteger(), b = range[1].toInteger(), c = range[2].toInteger(),
                 d = range[3].toInteger();
    return QStringLiteral("[%1 - %2], [%3 - %4]").arg(a).arg(a + b).arg(c).arg(c + d);
}

} // namespace

class SignatureListingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    std::unique_ptr<NssSigner> m_nss;
    int m_files = 0;

    QString signedFile(QByteArray pdf, bool cades = false)
    {
        while (pdf.contains("/ByteRange [0 0000000000")) {
            pdf = signPlaceholder(pdf, *m_pki, m_signer, cades);
            if (pdf.isEmpty())
                return {};
        }
        const QString name = m_dir.filePath(QStringLiteral("listing-%1.pdf").arg(++m_files));
        return writeFile(name, pdf) ? name : QString();
    }

    static QJsonObject listing(const QString& file, const QString& password = {})
    {
        const WorkerReply reply = runSandboxed({{"operation", "signatures"}, {"path", file}, {"password", password}});
        return withoutIsolation(reply.json);
    }

    bool cmsParses(const QString& base64)
    {
        const QString der = m_dir.filePath(QStringLiteral("cms-%1.der").arg(++m_files));
        return writeFile(der, QByteArray::fromBase64(base64.toLatin1()))
               && m_pki->openssl({"cms", "-cmsout", "-inform", "DER", "-in", der, "-noout"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.filePath("pki"));
        QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
        m_signer = m_pki->issueSigner(QStringLiteral("signer"), m_pki->root());
        m_nss = std::make_unique<NssSigner>(*m_pki, m_signer, m_dir.filePath("nss"));
        QVERIFY(m_nss->isValid());
    }

    void pdfsigApprovalSignature()
    {
        const QString plain = signedFile(pdfFromObjects(formBodies("/AcroForm 6 0 R", {}, {"<< /Fields [] >>"})));
        const QString signedPath = m_dir.filePath("pdfsig.pdf");
        QVERIFY(m_nss->addSignature(plain, signedPath));
        const QJsonObject reply = listing(signedPath);
        const QJsonArray signatures = reply.value("signatures").toArray();
        QCOMPARE(signatures.size(), 1);
        const QJsonObject entry = signatures[0].toObject();
        QCOMPARE(entry.value("filter"), QJsonValue("adbe.pkcs7.detached"));
        QCOMPARE(m_nss->signedRanges(signedPath), QStringList{rangeText(entry.value("range").toArray())});
        QVERIFY(cmsParses(entry.value("cms").toString()));
        QVERIFY(entry.value("time").toString().startsWith("D:"));
    }

    // A certification and a later approval: two entries, the one over the
    // shorter prefix first.
    void certificationAndApproval()
    {
        // An indirect /AcroForm, so that pdfsig lists its field there.
        const QList<QByteArray> first = formBodies("/Perms << /DocMDP 7 0 R >> /AcroForm 8 0 R", "6 0 R",
                                                   {signatureWidget("cert", "7 0 R"),
                                                    signatureValue(docMdpReference("/P 2"), "/ETSI.CAdES.detached"),
                                                    "<< /Fields [6 0 R] >>"});
        const QString certified = signedFile(pdfFromObjects(first), true);
        QVERIFY(!certified.isEmpty());
        const QString both = m_dir.filePath("both.pdf");
        QVERIFY(m_nss->addSignature(certified, both));
        QCOMPARE(m_nss->validations(both), QStringList(2, QStringLiteral("Signature is Valid.")));
        const QJsonArray signatures = listing(both).value("signatures").toArray();
        QCOMPARE(signatures.size(), 2);
        QCOMPARE(signatures[0].toObject().value("filter"), QJsonValue("ETSI.CAdES.detached"));
        QCOMPARE(signatures[0].toObject().value("time"), QJsonValue("D:20261211120000Z"));
        QCOMPARE(signatures[1].toObject().value("filter"), QJsonValue("adbe.pkcs7.detached"));
        QStringList ranges;
        for (const QJsonValue& entry : signatures) {
            QVERIFY(cmsParses(entry.toObject().value("cms").toString()));
            ranges << rangeText(entry.toObject().value("range").toArray());
        }
        QCOMPARE(m_nss->signedRanges(both), ranges);
    }

    // Listed by nothing but its parent field: pdfsig verifies it, and the
    // listing includes it.
    void signatureUnderAParentField()
    {
        const QString file = signedFile(pdfFromObjects(
            formBodies("/AcroForm << /Fields [6 0 R] >>", "7 0 R",
                       {"<< /T (form) /Kids [7 0 R] >>",
                        "<< /FT /Sig /T (sig) /Parent 6 0 R /Subtype /Widget /Rect [0 0 0 0] /P 3 0 R /V 8 0 R >>",
                        signatureValue({})})));
        QCOMPARE(m_nss->validations(file), QStringList{QStringLiteral("Signature is Valid.")});
        const QJsonArray signatures = listing(file).value("signatures").toArray();
        QCOMPARE(signatures.size(), 1);
        QCOMPARE(m_nss->signedRanges(file),
                 QStringList{rangeText(signatures[0].toObject().value("range").toArray())});
    }

    // Read with the document's password; the signature's bytes are the
    // ones stored, not decrypted.
    void encryptedDocument()
    {
        const QString file = signedFile(pdfFromObjects(
            formBodies("/AcroForm << /Fields [6 0 R] >>", "6 0 R", {signatureWidget("s", "7 0 R"), signatureValue({})})));
        const QString encrypted = m_dir.filePath("encrypted.pdf");
        QVERIFY(writeEncryptedCopy(file, encrypted, QStringLiteral("kullanıcı"), QStringLiteral("sahip")));
        const QJsonObject plain = listing(file);
        QCOMPARE(plain.value("signatures").toArray().size(), 1);
        QCOMPARE(listing(encrypted, QStringLiteral("kullanıcı")), plain);
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("error");
        const auto one = [](const QByteArray& value) {
            return pdfFromObjects(formBodies("/AcroForm << /Fields [6 0 R] >>", "6 0 R", {signatureWidget("s", value)}));
        };
        QTest::newRow("64 signatures") << filledFields(64) << QString();
        QTest::newRow("65 signatures") << filledFields(65) << kCount;
        QTest::newRow("unfilled reservation")
            << one("<< /Type /Sig /SubFilter /adbe.pkcs7.detached /ByteRange [0 1111111111 2222222222 3333333333] "
                   "/Contents <" + QByteArray(200, '0') + "> >>")
            << kUnsupported;
        QTest::newRow("byte range of three")
            << one("<< /Type /Sig /SubFilter /adbe.pkcs7.detached /ByteRange [0 10 20] /Contents <3082> >>")
            << kUnsupported;
        QTest::newRow("no sub-filter") << one("<< /Type /Sig /ByteRange [0 10 20 30] /Contents <3082> >>")
                                       << kUnreadable;
        QTest::newRow("two unsigned fields, both safe")
            << pdfFromObjects(formBodies("/AcroForm << /Fields [6 0 R 7 0 R] >>", "6 0 R 7 0 R",
                                         {signatureWidget("a", {}), signatureWidget("b", {})}))
            << QString();
        QTest::newRow("one unsigned field listed twice")
            << pdfFromObjects(formBodies("/AcroForm << /Fields [6 0 R 6 0 R] >>", "6 0 R", {signatureWidget("a", {})}))
            << kUnsupported;
        QTest::newRow("unsigned field beside unreadable permissions")
            << pdfFromObjects(formBodies("/Perms 5 /AcroForm << /Fields [6 0 R] >>", "6 0 R", {signatureWidget("a", {})}))
            << kEmptyFields;
        QTest::newRow("damaged cross-reference") << withBrokenStartXref(filledFields(1)) << kUnreadable;
    }

    void refusals()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, error);
        const QString file = m_dir.filePath(QStringLiteral("refused-%1.pdf").arg(++m_files));
        QVERIFY(writeFile(file, pdf));
        const QJsonObject reply = listing(file);
        if (error.isEmpty())
            QCOMPARE(reply.value("ok"), QJsonValue(true));
        else
            QCOMPARE(reply, failureReply(error));
    }

    void contentsSizes_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("65,536 bytes") << 65536 << QString();
        QTest::newRow("65,537 bytes") << 65537 << kUnsupported;
    }

    void contentsSizes()
    {
        QFETCH(int, bytes);
        QFETCH(QString, error);
        const QString file = signedFile(pdfFromObjects(formBodies(
            "/AcroForm << /Fields [6 0 R] >>", "6 0 R",
            {signatureWidget("s", "7 0 R"), signatureValue({}, "/adbe.pkcs7.detached", bytes)})));
        const QJsonObject reply = listing(file);
        if (!error.isEmpty()) {
            QCOMPARE(reply, failureReply(error));
            return;
        }
        const QJsonArray signatures = reply.value("signatures").toArray();
        QCOMPARE(signatures.size(), 1);
        QCOMPARE(QByteArray::fromBase64(signatures[0].toObject().value("cms").toString().toLatin1()).size(), bytes);
        QCOMPARE(m_nss->validations(file), QStringList{QStringLiteral("Signature is Valid.")});
    }
};

QTEST_GUILESS_MAIN(SignatureListingTest)
#include "SignatureListingTest.moc"
