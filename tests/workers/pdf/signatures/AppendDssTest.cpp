// "appendDss" through the real worker in the real sandbox on a document
// signed at test time: certificates, an OCSP response from `openssl ocsp`
// and a CRL from `openssl ca -gencrl` land in the /DSS arrays and the
// signature's /VRI entry as qpdf's JSON shows them, pdfsig still validates
// the signature, and "signaturePolicy" reads the evidence back. Bytes
// already stored are referenced, not repeated; every refusal is the one
// sentence and leaves no output file.

#include "support/PdfFixtures.h"
#include "PreparationRun.h"
#include "support/SignatureFill.h"
#include "SignatureFixtureDocuments.h"
#include "support/TestPki.h"
#include "worker/contract/operations/SignaturePreparationContract.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(velk::DssSourceFile)

using namespace velk;
using namespace velk::test;

namespace {

const QString kDssError = QStringLiteral("DSS doğrulama kanıtları incremental olarak eklenemedi.");

DssSourceFile source(const QString& kind, const QString& path, bool vri = true)
{
    return DssSourceFile{kind, path, vri};
}

// qpdf's JSON of the file's objects, and one of them by reference text.
struct QpdfObjects {
    QJsonObject objects;

    explicit QpdfObjects(const QString& path)
        : objects(qpdfJson(path).value("qpdf").toArray().at(1).toObject())
    {
    }
    // A direct object is its own value.
    QJsonValue value(const QJsonValue& reference) const
    {
        if (!reference.isString())
            return reference;
        return objects.value("obj:" + reference.toString()).toObject().value("value");
    }
    QJsonObject catalog() const
    {
        return value(objects.value("trailer").toObject().value("value").toObject().value("/Root")).toObject();
    }
    QJsonObject dss() const { return value(catalog().value("/DSS")).toObject(); }
};

} // namespace

class AppendDssTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    TestCertificate m_signer;
    std::unique_ptr<NssSigner> m_nss;
    QString m_signed;
    QString m_vri;
    int m_outputs = 0;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString nextOutput() { return path(QStringLiteral("dss-%1.pdf").arg(++m_outputs)); }

    QJsonObject appendDss(const QString& input, const QString& output, const QList<DssSourceFile>& sources,
                          const QString& vri, bool documentTimestamp = false)
    {
        const WorkerReply reply =
            runSandboxed(AppendDssRequest{input, output, vri, documentTimestamp, sources}.toJson());
        // A file that does not exist is refused by the runner already.
        if (reply.json.isEmpty() && !reply.error.isEmpty())
            return failure(kDssError);
        return withoutIsolation(reply.json);
    }

    bool makeEvidence()
    {
        const QString dir = m_pki->directory();
        writeFile(dir + "/index.txt", {});
        writeFile(dir + "/crlnumber", "01\n");
        writeFile(dir + "/ca.cnf", "[ ca ]\ndefault_ca = velk\n[ velk ]\ndatabase = " + dir.toUtf8()
                                       + "/index.txt\ncrlnumber = " + dir.toUtf8()
                                       + "/crlnumber\ndefault_md = sha256\ndefault_crl_days = 30\n");
        const QString root = m_pki->root().certificatePath;
        const QString key = m_pki->root().keyPath;
        return m_pki->openssl({"ca", "-gencrl", "-config", dir + "/ca.cnf", "-keyfile", key, "-cert", root, "-out",
                               dir + "/crl.pem"})
               && m_pki->openssl({"crl", "-in", dir + "/crl.pem", "-outform", "DER", "-out", path("crl.der")})
               && m_pki->openssl({"ocsp", "-issuer", root, "-cert", m_signer.certificatePath, "-no_nonce", "-reqout",
                                  dir + "/request.der"})
               && m_pki->openssl({"ocsp", "-index", dir + "/index.txt", "-rsigner", root, "-rkey", key, "-CA", root,
                                  "-reqin", dir + "/request.der", "-respout", path("ocsp.der"), "-ndays", "1"})
               && writeFile(path("signer.der"), m_signer.der) && writeFile(path("root.der"), m_pki->root().der);
    }

    QList<DssSourceFile> fullSources() const
    {
        return {source("Certs", path("signer.der")), source("Certs", path("root.der")),
                source("OCSPs", path("ocsp.der")), source("CRLs", path("crl.der"), false)};
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
        QVERIFY(makeEvidence());
        QVERIFY(writePdf(path("source.pdf")));
        QCOMPARE(prepare(prepareRequest(path("source.pdf"), path("prepared.pdf"), false)), okReply());
        QByteArray file = readFile(path("prepared.pdf"));
        const PlaceholderLocation location = locateSignaturePlaceholder(file);
        QVERIFY(location.isValid());
        const QByteArray cms = cadesSignature(*m_pki, m_signer, coveredBytes(file, location));
        QVERIFY(writeSignatureValue(file, location, cms));
        m_signed = path("signed.pdf");
        QVERIFY(writeFile(m_signed, file));
        m_vri = QString::fromLatin1(QCryptographicHash::hash(cms, QCryptographicHash::Sha1).toHex().toUpper());
    }

    void storesEvidence()
    {
        const QString output = nextOutput();
        QCOMPARE(appendDss(m_signed, output, fullSources(), m_vri), okReply());
        const QByteArray before = readFile(m_signed);
        const QByteArray after = readFile(output);
        QVERIFY(after.startsWith(before));
        QCOMPARE(after.at(before.size()), '\n');
        QVERIFY(qpdfAccepts(output));
        QCOMPARE(m_nss->validations(output), QStringList{"Signature is Valid."});

        const QpdfObjects objects(output);
        const QJsonObject dss = objects.dss();
        QCOMPARE(dss.value("/Certs").toArray().size(), 2);
        QCOMPARE(dss.value("/OCSPs").toArray().size(), 1);
        QCOMPARE(dss.value("/CRLs").toArray().size(), 1);
        const QJsonObject vri = objects.value(dss.value("/VRI")).toObject();
        QCOMPARE(vri.keys(), QStringList{"/" + m_vri});
        const QJsonObject entry = objects.value(vri.value("/" + m_vri)).toObject();
        QVERIFY(entry.contains("/TU"));
        QCOMPARE(entry.value("/Cert").toArray(), dss.value("/Certs").toArray());
        QCOMPARE(entry.value("/OCSP").toArray(), dss.value("/OCSPs").toArray());
        QVERIFY(!entry.contains("/CRL"));
        QCOMPARE(objects.catalog().value("/Version").toString(), QStringLiteral("/1.7"));

        const QJsonObject policy = withoutIsolation(
            runSandboxed({{"operation", "signaturePolicy"}, {"path", output}, {"evidence", true}}).json);
        QCOMPARE(policy.value("Certs").toArray(),
                 (QJsonArray{QString::fromLatin1(m_signer.der.toBase64()),
                             QString::fromLatin1(m_pki->root().der.toBase64())}));
        QCOMPARE(policy.value("OCSPs").toArray(), QJsonArray{QString::fromLatin1(readFile(path("ocsp.der")).toBase64())});
        QCOMPARE(policy.value("CRLs").toArray(), QJsonArray{QString::fromLatin1(readFile(path("crl.der")).toBase64())});
    }

    // The archival step after the evidence: a document time stamp over the
    // DSS update, filled from a local TSA; the first signature stays valid.
    void timeStampAfterEvidence()
    {
        const QString dss = nextOutput();
        QCOMPARE(appendDss(m_signed, dss, fullSources(), m_vri), okReply());
        const QString prepared = nextOutput();
        QJsonObject request = prepareRequest(dss, prepared, false);
        request.insert("documentTimestamp", true);
        QCOMPARE(prepare(request), okReply());
        const TestCertificate tsa = m_pki->issueTimeStampAuthority(QStringLiteral("tsa"), m_pki->root());
        QVERIFY(tsa.isValid());
        const QByteArray stamped = fillTimeStamp(readFile(prepared), *m_pki, tsa);
        QVERIFY(!stamped.isEmpty());
        const QString output = path("archived.pdf");
        QVERIFY(writeFile(output, stamped));
        QVERIFY(stamped.startsWith(readFile(dss)));
        QVERIFY(qpdfAccepts(output));
        QCOMPARE(m_nss->validations(output).value(0), QStringLiteral("Signature is Valid."));
        const QJsonObject listing = withoutIsolation(runSandboxed({{"operation", "signatures"}, {"path", output}}).json);
        QCOMPARE(listing.value("signatures").toArray().size(), 2);
    }

    void emptySourcesAndTimestampEntry_data()
    {
        QTest::addColumn<bool>("documentTimestamp");
        QTest::newRow("signature") << false;
        QTest::newRow("document time stamp") << true;
    }

    void emptySourcesAndTimestampEntry()
    {
        QFETCH(bool, documentTimestamp);
        const QString output = nextOutput();
        QCOMPARE(appendDss(m_signed, output, {}, m_vri, documentTimestamp), okReply());
        const QpdfObjects objects(output);
        const QJsonObject dss = objects.dss();
        for (const char* key : {"/Certs", "/OCSPs", "/CRLs"})
            QCOMPARE(dss.value(key).toArray(), QJsonArray());
        const QJsonObject entry = objects.value(objects.value(dss.value("/VRI")).toObject().value("/" + m_vri)).toObject();
        // Keys come sorted.
        const QStringList expected = documentTimestamp ? QStringList{"/Type"} : QStringList{"/TU", "/Type"};
        QCOMPARE(entry.keys(), expected);
    }

    // The same evidence again: referenced, not stored twice; the VRI entry
    // under the same key is replaced, while new bytes grow the arrays.
    void repeatedVriReplacesEntry()
    {
        const QString first = nextOutput();
        QCOMPARE(appendDss(m_signed, first, fullSources(), m_vri), okReply());
        const QString second = nextOutput();
        const TestCertificate other = m_pki->issueSigner(QStringLiteral("other"), m_pki->root());
        QVERIFY(writeFile(path("other.der"), other.der));
        QCOMPARE(appendDss(first, second, {source("Certs", path("signer.der")), source("Certs", path("other.der"))},
                           m_vri),
                 okReply());
        QCOMPARE(m_nss->validations(second), QStringList{"Signature is Valid."});
        const QpdfObjects objects(second);
        const QJsonObject dss = objects.dss();
        const QJsonArray certs = dss.value("/Certs").toArray();
        QCOMPARE(certs.size(), 3);
        const QJsonObject vri = objects.value(dss.value("/VRI")).toObject();
        QCOMPARE(vri.size(), 1);
        const QJsonObject entry = objects.value(vri.value("/" + m_vri)).toObject();
        QCOMPARE(entry.value("/Cert").toArray(), (QJsonArray{certs.at(0), certs.at(2)}));
        QVERIFY(!entry.contains("/OCSP"));
    }

    // Every file written can be read back: an array beyond 128 items or a
    // /VRI beyond 128 entries is refused, 128 of each are accepted.
    void readingBounds_data()
    {
        QTest::addColumn<int>("certificates");
        QTest::addColumn<int>("vriEntries");
        QTest::addColumn<bool>("newKey");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("128 certificates") << 128 << 0 << true << true;
        QTest::newRow("129 certificates") << 129 << 0 << true << false;
        QTest::newRow("128th VRI entry") << 1 << 127 << true << true;
        QTest::newRow("129th VRI entry") << 1 << 128 << true << false;
        QTest::newRow("128 entries, one replaced") << 1 << 128 << false << true;
    }

    void readingBounds()
    {
        QFETCH(int, certificates);
        QFETCH(int, vriEntries);
        QFETCH(bool, newKey);
        QFETCH(bool, accepted);
        QByteArray vri = "<<";
        QString lastKey;
        for (int i = 0; i < vriEntries; ++i) {
            lastKey = QString::fromLatin1(
                QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha1).toHex().toUpper());
            vri += " /" + lastKey.toLatin1() + " << /Type /VRI >>";
        }
        const QString input = path(QStringLiteral("vri-%1.pdf").arg(vriEntries));
        QVERIFY(writeFile(input, pdfFromObjects(formBodies("/DSS << /VRI " + vri + " >> >>", {}, {}))));
        QList<DssSourceFile> sources;
        for (int i = 0; i < certificates; ++i) {
            const QString name = path(QStringLiteral("certificate-%1.der").arg(i));
            QVERIFY(writeFile(name, "certificate " + QByteArray::number(i)));
            sources.append(source("Certs", name));
        }
        const QString output = nextOutput();
        const QJsonObject reply = appendDss(input, output, sources, newKey ? m_vri : lastKey);
        QCOMPARE(reply, accepted ? okReply() : failure(kDssError));
        QCOMPARE(QFile::exists(output), accepted);
        if (!accepted)
            return;
        const QJsonObject policy = withoutIsolation(
            runSandboxed({{"operation", "signaturePolicy"}, {"path", output}, {"evidence", true}}).json);
        QCOMPARE(policy.value("Certs").toArray().size(), certificates);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QList<DssSourceFile>>("sources");
        QTest::addColumn<QString>("vri");
        QTest::addColumn<bool>("outputExists");
        QVERIFY(writeFile(path("empty.der"), {}));
        QFile big(path("big.der"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(16 * 1024 * 1024 + 1));
        big.close();
        QList<DssSourceFile> many;
        for (int i = 0; i < 8; ++i) {
            const QString name = path(QStringLiteral("full-%1.der").arg(i));
            QFile full(name);
            QVERIFY(full.open(QIODevice::WriteOnly) && full.resize(16 * 1024 * 1024));
            many.append(source("Certs", name));
        }
        QVERIFY(writeEncryptedCopy(m_signed, path("encrypted.pdf"), "", "sahip"));
        QVERIFY(writeFile(path("damaged.pdf"), withBrokenStartXref(readFile(m_signed))));
        QVERIFY(writeFile(path("certified.pdf"),
                          signPlaceholder(pdfFromObjects(formBodies(
                                              "/Perms << /DocMDP 7 0 R >> /AcroForm << /Fields [6 0 R] /SigFlags 3 >>",
                                              "6 0 R",
                                              {signatureWidget("cert", "7 0 R"),
                                               signatureValue(docMdpReference("/P 2"))})),
                                          *m_pki, m_signer)));
        const QList<DssSourceFile> one{source("Certs", path("signer.der"))};
        QTest::newRow("output exists") << m_signed << one << m_vri << true;
        QTest::newRow("encrypted") << path("encrypted.pdf") << one << m_vri << false;
        QTest::newRow("damaged xref") << path("damaged.pdf") << one << m_vri << false;
        QTest::newRow("certified P 2") << path("certified.pdf") << one << m_vri << false;
        QTest::newRow("vri lower case") << m_signed << one << m_vri.toLower() << false;
        QTest::newRow("vri of 39 digits") << m_signed << one << m_vri.left(39) << false;
        QTest::newRow("evidence missing") << m_signed << QList<DssSourceFile>{source("OCSPs", path("missing.der"))} << m_vri
                                          << false;
        QTest::newRow("evidence empty") << m_signed << QList<DssSourceFile>{source("CRLs", path("empty.der"))} << m_vri << false;
        QTest::newRow("evidence 16 MiB + 1") << m_signed << QList<DssSourceFile>{source("Certs", path("big.der"))} << m_vri
                                             << false;
        QTest::newRow("sources beyond 128 MiB") << m_signed << many << m_vri << false;
    }

    void refusals()
    {
        QFETCH(QString, input);
        QFETCH(QList<DssSourceFile>, sources);
        QFETCH(QString, vri);
        QFETCH(bool, outputExists);
        const QString output = nextOutput();
        if (outputExists)
            QVERIFY(writeFile(output, "var"));
        QCOMPARE(appendDss(input, output, sources, vri), failure(kDssError));
        QCOMPARE(QFile::exists(output), outputExists);
        if (outputExists)
            QCOMPARE(readFile(output), QByteArray("var"));
    }
};

QTEST_GUILESS_MAIN(AppendDssTest)
#include "AppendDssTest.moc"
