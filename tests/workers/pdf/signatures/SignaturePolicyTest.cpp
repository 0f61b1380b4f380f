// "signaturePolicy" through the real worker in the real sandbox: DocMDP and
// FieldMDP restrictions of certification and approval signatures signed
// with `openssl cms` and poppler's pdfsig, unsigned signature fields, field
// locks, encrypted documents, the revision snapshot on request, and the
// evidence a /DSS stores. Every failure is the one sentence, with no
// partial answer.

#include "support/SandboxedRun.h"
#include "SignatureFixtureDocuments.h"
#include "support/TestPki.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kPolicyError = QStringLiteral("DocMDP/FieldMDP izinleri güvenle çözümlenemedi.");
const QByteArray kFormWithField6 = "/AcroForm << /Fields [6 0 R] /SigFlags 3 >>";
const QByteArray kCertified = "/Perms << /DocMDP 7 0 R >> " + kFormWithField6;

QJsonObject policyFailure()
{
    return QJsonObject{{"ok", false}, {"error", kPolicyError}};
}

QJsonObject permissions(int docMdp, const QString& fieldMdp, const QJsonArray& locks, int emptySignatures)
{
    return QJsonObject{{"ok", true},
                       {"docMdp", docMdp},
                       {"fieldMdp", fieldMdp},
                       {"locks", locks},
                       {"emptySignatures", emptySignatures}};
}

QJsonObject lock(const QString& action, const QStringList& fields)
{
    return QJsonObject{{"action", action}, {"fields", QJsonArray::fromStringList(fields)}};
}

// Fields 6 .. 6 + count - 1, text fields without widgets.
QList<QByteArray> textFields(int count)
{
    QList<QByteArray> fields;
    for (int i = 0; i < count; ++i)
        fields << "<< /FT /Tx /T (t" + QByteArray::number(i) + ") >>";
    return fields;
}

QByteArray fieldList(int first, int count)
{
    QByteArray list;
    for (int i = 0; i < count; ++i)
        list += QByteArray::number(first + i) + " 0 R ";
    return list;
}

} // namespace

class SignaturePolicyTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    std::unique_ptr<NssSigner> m_nss;
    int m_files = 0;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // The bytes with every signature placeholder signed, written to a new
    // file.
    QString signedFile(QByteArray pdf)
    {
        while (pdf.contains("/ByteRange [0 0000000000")) {
            pdf = signPlaceholder(pdf, *m_pki, m_signer);
            if (pdf.isEmpty())
                return {};
        }
        const QString name = path(QStringLiteral("document-%1.pdf").arg(++m_files));
        return writeFile(name, pdf) ? name : QString();
    }

    QJsonObject policy(const QString& file, const QJsonObject& extra = {})
    {
        QJsonObject request = extra;
        request.insert("operation", "signaturePolicy");
        request.insert("path", file);
        const WorkerReply reply = runSandboxed(request);
        return withoutIsolation(reply.json);
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
    }

    void analysis_data()
    {
        QTest::addColumn<QList<QByteArray>>("bodies");
        QTest::addColumn<QJsonObject>("expected");
        const auto certified = [](const QByteArray& reference) {
            return formBodies(kCertified, "6 0 R", {signatureWidget("cert", "7 0 R"), signatureValue(reference)});
        };
        const auto approval = [](const QByteArray& reference, const QByteArray& fieldExtra = {}) {
            return formBodies(kFormWithField6, "6 0 R",
                              {signatureWidget("approval", "7 0 R", fieldExtra), signatureValue(reference)});
        };
        QTest::newRow("no permissions and no form") << formBodies({}, {}, {}) << permissions(0, {}, {}, 0);
        QTest::newRow("certification P 2") << certified(docMdpReference("/P 2")) << permissions(2, {}, {}, 0);
        QTest::newRow("certification P 1") << certified(docMdpReference("/P 1")) << permissions(1, {}, {}, 0);
        QTest::newRow("certification without P reads 2") << certified(docMdpReference({})) << permissions(2, {}, {}, 0);
        QTest::newRow("P 4") << certified(docMdpReference("/P 4")) << policyFailure();
        QTest::newRow("P as text") << certified(docMdpReference("/P (2)")) << policyFailure();
        QTest::newRow("transform UR3") << certified("<< /Type /SigRef /TransformMethod /UR3 >>") << policyFailure();
        QTest::newRow("usage rights only")
            << formBodies("/Perms << /UR3 7 0 R >> " + kFormWithField6, "6 0 R",
                          {signatureWidget("ur", "7 0 R"), signatureValue({})})
            << policyFailure();
        QTest::newRow("FieldMDP include")
            << approval(fieldMdpReference("/Action /Include /Fields [(a) (b)]"))
            << permissions(0, "/Include [ (a) (b) ]", {lock("/Include", {"a", "b"})}, 0);
        QTest::newRow("FieldMDP all") << approval(fieldMdpReference("/Action /All"))
                                      << permissions(0, "/All null", {lock("/All", {})}, 0);
        QTest::newRow("FieldMDP unknown action") << approval(fieldMdpReference("/Action /Some")) << policyFailure();
        QTest::newRow("FieldMDP name not text")
            << approval(fieldMdpReference("/Action /Exclude /Fields [1]")) << policyFailure();
        QTest::newRow("lock on a signed field")
            << approval({}, "/Lock << /Type /SigFieldLock /Action /All >>")
            << permissions(0, "<< /Action /All /Type /SigFieldLock >>", {lock("/All", {})}, 0);
        QTest::newRow("lock on an unsigned field")
            << formBodies(kFormWithField6, "6 0 R",
                          {signatureWidget("open", {}, "/Lock << /Type /SigFieldLock /Action /All >>")})
            << permissions(0, {}, {}, 1);
        QTest::newRow("two unsigned signature fields")
            << formBodies("/AcroForm << /Fields [6 0 R 7 0 R] >>", "6 0 R 7 0 R",
                          {signatureWidget("one", {}), signatureWidget("two", "null")})
            << permissions(0, {}, {}, 2);
        QTest::newRow("signature value without byte range")
            << formBodies(kFormWithField6, "6 0 R", {signatureWidget("bad", "<< /Type /Sig /Contents <00> >>")})
            << policyFailure();
        QTest::newRow("field listing itself")
            << formBodies(kFormWithField6, {}, {"<< /FT /Sig /T (self) /Kids [6 0 R] >>"})
            << permissions(0, {}, {}, 1);
        QTest::newRow("4096 fields") << formBodies("/AcroForm << /Fields [" + fieldList(6, 4096) + "] >>", {},
                                                   textFields(4096))
                                     << permissions(0, {}, {}, 0);
        QTest::newRow("4097 fields") << formBodies("/AcroForm << /Fields [" + fieldList(6, 4097) + "] >>", {},
                                                   textFields(4097))
                                     << policyFailure();
        QTest::newRow("permissions not a dictionary") << formBodies("/Perms 5", {}, {}) << policyFailure();
    }

    void analysis()
    {
        QFETCH(QList<QByteArray>, bodies);
        QFETCH(QJsonObject, expected);
        const QString file = signedFile(pdfFromObjects(bodies));
        QVERIFY(!file.isEmpty());
        QCOMPARE(policy(file), expected);
    }

    // A certification (P 2) and a later approval whose reference asks for
    // P 1: the most restrictive level counts. pdfsig finds both intact.
    void certificationThenStricterApproval()
    {
        const QList<QByteArray> first = formBodies(kCertified, "6 0 R",
                                                   {signatureWidget("cert", "7 0 R"), signatureValue(docMdpReference("/P 2"))});
        const QString certified = signedFile(pdfFromObjects(first));
        QVERIFY(!certified.isEmpty());
        QByteArray page = first[2];
        page.replace("/Annots [6 0 R", "/Annots [6 0 R 8 0 R");
        QByteArray catalog = first[0];
        catalog.replace("/Fields [6 0 R]", "/Fields [6 0 R 8 0 R]");
        const QByteArray later = appendRevision(readFile(certified),
                                                {{1, catalog},
                                                 {3, page},
                                                 {8, signatureWidget("approval", "9 0 R")},
                                                 {9, signatureValue(docMdpReference("/P 1"))}},
                                                10);
        const QString both = signedFile(later);
        QVERIFY(!both.isEmpty());
        QCOMPARE(m_nss->validations(both), QStringList(2, QStringLiteral("Signature is Valid.")));
        QCOMPARE(policy(both), permissions(1, {}, {}, 0));
    }

    void lockOfFieldSignedByPdfsig()
    {
        const QByteArray lockEntry = "/Lock << /Type /SigFieldLock /Action /Include /Fields [(a)] >>";
        const QList<QByteArray> bodies = formBodies(
            "/AcroForm 8 0 R", "6 0 R",
            {"<< /FT /Sig /T (locked) /Subtype /Widget /Rect [20 20 120 60] /F 4 /P 3 0 R " + lockEntry + " >>",
             "<< /FT /Tx /T (a) /V (x) >>", "<< /Fields [6 0 R 7 0 R] >>"});
        const QString unsigned_ = signedFile(pdfFromObjects(bodies));
        QCOMPARE(policy(unsigned_), permissions(0, {}, {}, 1));
        const QString signedPath = path("pdfsig-locked.pdf");
        QVERIFY(m_nss->signField(unsigned_, signedPath, QStringLiteral("locked")));
        QCOMPARE(m_nss->validations(signedPath), QStringList{QStringLiteral("Signature is Valid.")});
        const QJsonObject reply = policy(signedPath);
        QCOMPARE(reply.value("locks").toArray(), QJsonArray{lock("/Include", {"a"})});
        QCOMPARE(reply.value("emptySignatures"), QJsonValue(0));
        QVERIFY(reply.value("fieldMdp").toString().contains("/Include"));
    }

    void encryptedDocuments()
    {
        const QString certified = signedFile(pdfFromObjects(formBodies(
            kCertified, "6 0 R", {signatureWidget("cert", "7 0 R"), signatureValue(docMdpReference("/P 3"))})));
        QVERIFY(!certified.isEmpty());
        QVERIFY(writeEncryptedCopy(certified, path("user.pdf"), QStringLiteral("kullanıcı"), QStringLiteral("sahip")));
        QVERIFY(writeEncryptedCopy(certified, path("empty.pdf"), QString(), QStringLiteral("sahip")));
        QCOMPARE(policy(path("user.pdf")), policyFailure());
        QCOMPARE(policy(path("empty.pdf")), permissions(3, {}, {}, 0));
    }

    void unreadableRequests_data()
    {
        QTest::addColumn<QJsonObject>("extra");
        QTest::addColumn<QByteArray>("pdf");
        const QByteArray plain = pdfFromObjects(formBodies({}, {}, {}));
        QTest::newRow("damaged cross-reference") << QJsonObject() << withBrokenStartXref(plain);
        QTest::newRow("not a PDF") << QJsonObject() << QByteArray("plain text");
        QTest::newRow("snapshot not a boolean") << QJsonObject{{"snapshot", "yes"}} << plain;
        QTest::newRow("evidence not a boolean") << QJsonObject{{"evidence", 1}} << plain;
    }

    void unreadableRequests()
    {
        QFETCH(QJsonObject, extra);
        QFETCH(QByteArray, pdf);
        const QString file = path(QStringLiteral("unreadable-%1.pdf").arg(++m_files));
        QVERIFY(writeFile(file, pdf));
        QCOMPARE(policy(file, extra), policyFailure());
    }

    void snapshotOnRequest()
    {
        const QString file = signedFile(pdfFromObjects(
            formBodies(kCertified, "6 0 R", {signatureWidget("cert", "7 0 R"), signatureValue(docMdpReference("/P 2"))})));
        const QJsonObject reply = policy(file, {{"snapshot", true}});
        QCOMPARE(reply.value("docMdp"), QJsonValue(2));
        const QJsonObject snapshot = reply.value("snapshot").toObject();
        const QStringList keys = snapshot.keys();
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()),
                 (QSet<QString>{"base", "form", "fields", "annotations", "dss", "trailer", "prev"}));
        const QJsonObject record = snapshot.value("fields").toObject().value("6").toObject();
        QCOMPARE(record.value("name"), QJsonValue("cert"));
        QCOMPARE(record.value("signature"), QJsonValue(true));
        QCOMPARE(record.value("page"), QJsonValue(3));
        QVERIFY(!policy(file).contains("snapshot"));
    }
};

QTEST_GUILESS_MAIN(SignaturePolicyTest)
#include "SignaturePolicyTest.moc"
