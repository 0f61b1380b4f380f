// The evidence reading of "signaturePolicy" through the real worker in the
// real sandbox: the /DSS arrays and /VRI entries come back as Base64 of
// each stream's decoded data, each once; a stream named by several lists
// is read and counted once; /VRI beyond 128 entries, entries that are not
// streams, and a stream that inflates past the worker's memory fail the
// whole answer.

#include "support/SandboxedRun.h"
#include "SignatureFixtureDocuments.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kPolicyError = QStringLiteral("DocMDP/FieldMDP izinleri güvenle çözümlenemedi.");

QString base64(const QByteArray& data)
{
    return QString::fromLatin1(data.toBase64());
}

// A document whose catalogue stores this /DSS; its streams are objects 6 on.
QByteArray withDss(const QByteArray& dss, const QList<QByteArray>& streams)
{
    return pdfFromObjects(formBodies("/DSS " + dss, {}, streams));
}

QByteArray vriEntries(int count, const QByteArray& entry)
{
    QByteArray text = "<<";
    for (int i = 0; i < count; ++i)
        text += " /" + QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha1).toHex().toUpper()
                + ' ' + entry;
    return text + " >>";
}

// Deterministic bytes that do not compress.
QByteArray noise(qsizetype size)
{
    QByteArray data;
    data.reserve(size);
    QByteArray block = "velk";
    while (data.size() < size) {
        block = QCryptographicHash::hash(block, QCryptographicHash::Sha256);
        data += block;
    }
    data.truncate(size);
    return data;
}

// Bits in deflate's order: values least significant bit first, Huffman
// codes most significant bit first.
class BitWriter {
public:
    void bits(quint32 value, int count)
    {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1);
    }
    void code(quint32 value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            bit((value >> i) & 1);
    }
    QByteArray finish() { return m_bytes + (m_used ? QByteArray(1, char(m_current)) : QByteArray()); }

private:
    void bit(quint32 value)
    {
        m_current |= quint8(value << m_used);
        if (++m_used == 8) {
            m_bytes += char(m_current);
            m_current = 0;
            m_used = 0;
        }
    }
    QByteArray m_bytes;
    quint8 m_current = 0;
    int m_used = 0;
};

// A zlib stream of about 2 GiB of zeros written by hand: one literal zero,
// then copies of 258 bytes at distance 1 in fixed Huffman codes. Its own
// repetition makes it shrink to a few kilobytes when deflated again, so
// the stored stream is a double /FlateDecode.
QByteArray inflationBomb()
{
    constexpr qint64 kCopies = 8323582;
    constexpr qint64 kZeros = 1 + 258 * kCopies;
    BitWriter writer;
    writer.bits(1, 1); // last block
    writer.bits(1, 2); // fixed Huffman codes
    writer.code(0x30, 8); // literal 0
    for (qint64 i = 0; i < kCopies; ++i) {
        writer.code(0xC5, 8); // length 258
        writer.code(0, 5);    // distance 1
    }
    writer.code(0, 7); // end of block
    const quint32 adler = (quint32(kZeros % 65521) << 16) | 1;
    QByteArray inner = QByteArray("\x78\x01", 2) + writer.finish();
    for (int shift = 24; shift >= 0; shift -= 8)
        inner += char((adler >> shift) & 0xff);
    return qCompress(inner, 9).mid(4);
}

} // namespace

class DssEvidenceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QJsonObject evidenceOf(const QByteArray& pdf)
    {
        const QString file = m_dir.filePath(QStringLiteral("dss-%1.pdf").arg(++m_files));
        if (!writeFile(file, pdf))
            return {};
        const WorkerReply reply = runSandboxed({{"operation", "signaturePolicy"}, {"path", file}, {"evidence", true}});
        return withoutIsolation(reply.json);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void storedEvidence()
    {
        const QByteArray certificate = noise(900);
        const QByteArray response = noise(1200);
        const QByteArray crl = "crl data, stored compressed";
        const QByteArray pdf = withDss(
            "<< /Certs [6 0 R 7 0 R] /OCSPs [8 0 R] /VRI << /ABC << /Cert [7 0 R] /CRL [9 0 R] >> >> >>",
            {streamObject(certificate), streamObject(certificate), streamObject(response),
             streamObject(qCompress(crl).mid(4), "/Filter /FlateDecode")});
        const QJsonObject reply = evidenceOf(pdf);
        QCOMPARE(reply.value("ok"), QJsonValue(true));
        QCOMPARE(reply.value("Certs").toArray(), QJsonArray{base64(certificate)});
        QCOMPARE(reply.value("OCSPs").toArray(), QJsonArray{base64(response)});
        QCOMPARE(reply.value("CRLs").toArray(), QJsonArray{base64(crl)});
    }

    void noDssAddsNothing()
    {
        const QJsonObject reply = evidenceOf(pdfFromObjects(formBodies({}, {}, {})));
        QCOMPARE(reply.value("ok"), QJsonValue(true));
        QVERIFY(!reply.contains("Certs") && !reply.contains("OCSPs") && !reply.contains("CRLs"));
    }

    // Listed by the DSS and again by a VRI entry: read and counted once,
    // so 13 MiB stays within the 24 MiB of one reading.
    void largeCrlNamedTwice()
    {
        const QByteArray crl = noise(13 * 1024 * 1024);
        const QJsonObject reply =
            evidenceOf(withDss("<< /CRLs [6 0 R] /VRI << /ABC << /CRL [6 0 R] >> /DEF << /CRL [6 0 R] >> >> >>",
                               {streamObject(crl)}));
        QCOMPARE(reply.value("ok"), QJsonValue(true));
        QCOMPARE(reply.value("CRLs").toArray(), QJsonArray{base64(crl)});
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<bool>("ok");
        const QList<QByteArray> one{streamObject("certificate")};
        QTest::newRow("128 VRI entries") << withDss("<< /VRI " + vriEntries(128, "<< /Cert [6 0 R] >>") + " >>", one)
                                         << true;
        QTest::newRow("129 VRI entries") << withDss("<< /VRI " + vriEntries(129, "<< /Cert [6 0 R] >>") + " >>", one)
                                         << false;
        QTest::newRow("VRI entry not a dictionary") << withDss("<< /VRI << /ABC 5 >> >>", one) << false;
        QTest::newRow("entry not a stream") << withDss("<< /Certs [(certificate)] >>", one) << false;
        QTest::newRow("two stream sizes over 24 MiB")
            << withDss("<< /CRLs [6 0 R 7 0 R] >>", {streamObject(noise(13 * 1024 * 1024)),
                                                     streamObject(noise(12 * 1024 * 1024))})
            << false;
        QTest::newRow("one stream over 16 MiB")
            << withDss("<< /CRLs [6 0 R] >>", {streamObject(noise(16 * 1024 * 1024 + 1))}) << false;
    }

    void refused()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(bool, ok);
        const QJsonObject reply = evidenceOf(pdf);
        if (ok)
            QCOMPARE(reply.value("ok"), QJsonValue(true));
        else
            QCOMPARE(reply, (QJsonObject{{"ok", false}, {"error", kPolicyError}}));
    }

    // A few kilobytes that inflate to 2 GiB: qpdf stops at the worker's memory
    // limit and the reading fails as a whole.
    void inflationBombStopsAtTheMemoryLimit()
    {
        const QByteArray bomb = inflationBomb();
        QVERIFY(!bomb.isEmpty() && bomb.size() < 4000000);
        const QJsonObject reply = evidenceOf(
            withDss("<< /CRLs [6 0 R] >>", {streamObject(bomb, "/Filter [/FlateDecode /FlateDecode]")}));
        QCOMPARE(reply, (QJsonObject{{"ok", false}, {"error", kPolicyError}}));
    }
};

QTEST_GUILESS_MAIN(DssEvidenceTest)
#include "DssEvidenceTest.moc"
