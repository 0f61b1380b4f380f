// The revision snapshot, in-process beside qpdf: equal documents digest
// equally whatever their layout and object numbers, and each kind of
// change lands in its own key; malformed field trees and widgets no field
// lists fail; signature fields are classified; "prev" follows the
// revision chain of our own table and of poppler's cross-reference stream.

#include "support/PdfFixtures.h"
#include "support/SignedPdfFixtures.h"
#include "SnapshotRun.h"
#include "support/TestPki.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QByteArray kField6 = "/AcroForm << /Fields [6 0 R] >>";

QJsonObject field(const SnapshotRun& run, int number)
{
    return run.snapshot.value(QStringLiteral("fields")).toObject().value(QString::number(number)).toObject();
}

QList<QByteArray> signatureField(const QByteArray& fieldEntries, const QByteArray& valueEntries)
{
    return basicBodies(kField6, "/Annots [6 0 R]",
                       {"<< /FT /Sig /T (s) /Subtype /Widget /Rect [0 0 0 0] /P 3 0 R /V 7 0 R " + fieldEntries
                            + " >>",
                        "<< " + valueEntries + " >>"});
}

} // namespace

class RevisionSnapshotTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void layoutAndFontNumberDoNotChangeBase()
    {
        const SnapshotRun table = snapshotOf(pdfFromObjects(basicBodies()));
        QList<QByteArray> renumbered = basicBodies();
        renumbered[2].replace("/F1 4 0 R", "/F1 6 0 R");
        renumbered << renumbered.at(3);
        renumbered[3] = "<< /Unused true >>";
        const SnapshotRun stream = snapshotOf(pdfWithXrefStream(renumbered));
        QVERIFY2(table.failure.isEmpty() && stream.failure.isEmpty(), qPrintable(table.failure + stream.failure));
        QCOMPARE(stream.snapshot.value("base"), table.snapshot.value("base"));

        QList<QByteArray> otherFont = basicBodies();
        otherFont[3].replace("Helvetica", "Courier");
        QVERIFY(snapshotOf(pdfFromObjects(otherFont)).snapshot.value("base") != table.snapshot.value("base"));
    }

    void annotationChangeStaysOutOfBase()
    {
        const QByteArray note = "<< /Type /Annot /Subtype /Text /Rect [0 0 10 10] /Contents (a) >>";
        const SnapshotRun one = snapshotOf(pdfFromObjects(basicBodies({}, "/Annots [6 0 R]", {note, note})));
        const SnapshotRun two = snapshotOf(pdfFromObjects(basicBodies({}, "/Annots [6 0 R 7 0 R]", {note, note})));
        QVERIFY2(one.failure.isEmpty() && two.failure.isEmpty(), qPrintable(one.failure + two.failure));
        QCOMPARE(two.snapshot.value("base"), one.snapshot.value("base"));
        const QJsonObject before = one.snapshot.value("annotations").toObject();
        const QJsonObject after = two.snapshot.value("annotations").toObject();
        QCOMPARE(before.keys(), QStringList{QStringLiteral("3")});
        QVERIFY(before.value("3") != after.value("3"));
    }

    void appearanceStateChangesAppearanceOnly()
    {
        const auto box = [](const QByteArray& state) {
            return pdfFromObjects(basicBodies(
                kField6, "/Annots [6 0 R]",
                {"<< /FT /Btn /T (c) /V /Off /AS " + state
                     + " /AP << /N << /On 7 0 R /Off 7 0 R >> >> /Subtype /Widget /Rect [0 0 9 9] /P 3 0 R >>",
                 streamBody("0 g 0 0 9 9 re f", "/Type /XObject /Subtype /Form /BBox [0 0 9 9]")}));
        };
        const SnapshotRun off = snapshotOf(box("/Off"));
        const SnapshotRun on = snapshotOf(box("/On"));
        QVERIFY2(off.failure.isEmpty() && on.failure.isEmpty(), qPrintable(off.failure + on.failure));
        QVERIFY(field(off, 6).value("appearance") != field(on, 6).value("appearance"));
        QCOMPARE(field(on, 6).value("structure"), field(off, 6).value("structure"));
        QCOMPARE(field(on, 6).value("value"), field(off, 6).value("value"));
        QCOMPARE(field(on, 6).value("page"), QJsonValue(3));
        QCOMPARE(field(on, 6).value("name"), QJsonValue("c"));
        QCOMPARE(on.snapshot.value("base"), off.snapshot.value("base"));
    }

    void fieldTrees_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("failure");
        QTest::newRow("field listed in its own kids")
            << pdfFromObjects(basicBodies(kField6, {}, {"<< /T (a) /FT /Tx /Kids [6 0 R] >>"}))
            << QStringLiteral("ambiguous field tree");
        QTest::newRow("field listed twice")
            << pdfFromObjects(basicBodies("/AcroForm << /Fields [6 0 R 6 0 R] >>", {}, {"<< /T (a) /FT /Tx >>"}))
            << QStringLiteral("ambiguous field tree");
        QTest::newRow("direct field")
            << pdfFromObjects(basicBodies("/AcroForm << /Fields [<< /T (a) >>] >>"))
            << QStringLiteral("ambiguous field tree");
        QTest::newRow("widget no field lists")
            << pdfFromObjects(basicBodies({}, "/Annots [6 0 R]",
                                          {"<< /Subtype /Widget /FT /Tx /T (a) /Rect [0 0 1 1] >>"}))
            << QStringLiteral("unregistered widget");
        QTest::newRow("annotations not an array")
            << pdfFromObjects(basicBodies({}, "/Annots 7")) << QStringLiteral("invalid annotations");
        QTest::newRow("back-link through another key")
            << pdfFromObjects(basicBodies("/Extra 6 0 R", {}, {"<< /Back 1 0 R /Next 7 0 R >>", "<< /Prev 6 0 R >>"}))
            << QString();
    }

    void fieldTrees()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, failure);
        QCOMPARE(snapshotOf(pdf).failure, failure);
    }

    // Objects on a cycle refer to each other by number, and each still
    // counts with its content.
    void cycleMemberChangeShows()
    {
        const auto cycle = [](const QByteArray& value) {
            return pdfFromObjects(basicBodies("/Extra 6 0 R", {}, {"<< /Back 1 0 R /Next 7 0 R >>",
                                                                   "<< /Prev 6 0 R /Value " + value + " >>"}));
        };
        const SnapshotRun one = snapshotOf(cycle("1"));
        QVERIFY2(one.failure.isEmpty(), qPrintable(one.failure));
        QCOMPARE(snapshotOf(cycle("1")).snapshot, one.snapshot);
        QVERIFY(snapshotOf(cycle("2")).snapshot.value("base") != one.snapshot.value("base"));
    }

    void documentWithoutForm()
    {
        const SnapshotRun run = snapshotOf(pdfFromObjects(basicBodies()));
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.snapshot.value("form").toString(), sha256Hex("null"));
        QCOMPARE(run.snapshot.value("fields").toObject(), QJsonObject());
        QCOMPARE(run.snapshot.value("dss").toString(), sha256Hex("null"));
        QCOMPARE(run.snapshot.value("trailer").toString(), sha256Hex("null") + sha256Hex("null"));
        QCOMPARE(run.snapshot.value("prev").toString(), QStringLiteral("null"));
    }

    void signatureFieldKinds_data()
    {
        QTest::addColumn<QByteArray>("fieldEntries");
        QTest::addColumn<QByteArray>("valueEntries");
        QTest::addColumn<bool>("signature");
        QTest::addColumn<bool>("timestamp");
        QTest::addColumn<bool>("safe");
        const QByteArray shape = "/ByteRange [0 1 2 3] /Contents <00>";
        QTest::newRow("document time stamp") << QByteArray() << "/Type /DocTimeStamp " + shape << true << true << true;
        QTest::newRow("signature") << QByteArray() << "/Type /Sig " + shape << true << false << true;
        QTest::newRow("no byte range") << QByteArray() << QByteArray("/Type /Sig /Contents <00>") << false << false
                                       << true;
        QTest::newRow("lock") << QByteArray("/Lock << /Action /All >>") << "/Type /Sig " + shape << true << false
                              << false;
        QTest::newRow("appearance characteristics") << QByteArray("/MK << >>") << "/Type /Sig " + shape << true
                                                    << false << false;
    }

    void signatureFieldKinds()
    {
        QFETCH(QByteArray, fieldEntries);
        QFETCH(QByteArray, valueEntries);
        QFETCH(bool, signature);
        QFETCH(bool, timestamp);
        QFETCH(bool, safe);
        const SnapshotRun run = snapshotOf(pdfFromObjects(signatureField(fieldEntries, valueEntries)));
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        const QJsonObject record = field(run, 6);
        QCOMPARE(record.value("type"), QJsonValue("/Sig"));
        QCOMPARE(record.value("signed"), QJsonValue(true));
        QCOMPARE(record.value("signature"), QJsonValue(signature));
        QCOMPARE(record.value("timestamp"), QJsonValue(timestamp));
        QCOMPARE(record.value("safeSignatureField"), QJsonValue(safe));
    }

    void previousRevisionOfOurTable()
    {
        const QByteArray first = pdfFromObjects(basicBodies());
        const QByteArray second = appendRevision(first, {{4, "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>"}}, 6);
        const SnapshotRun run = snapshotOf(second);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.snapshot.value("prev").toString(), QString::number(startXrefs(first).last()));
        QVERIFY(run.snapshot.value("base") != snapshotOf(first).snapshot.value("base"));
    }

    // poppler's pdfsig: an approval signature on a file with a
    // cross-reference stream, and (with a direct /AcroForm) a widget it
    // leaves out of /Fields.
    void popplerRevisions()
    {
        TestPki pki(m_dir.filePath(QStringLiteral("pki")));
        QVERIFY2(pki.isValid(), qPrintable(pki.error()));
        const NssSigner signer(pki, pki.issueSigner(QStringLiteral("signer"), pki.root()), m_dir.filePath("nss"));
        QVERIFY(signer.isValid());

        QList<QByteArray> indirectForm = basicBodies("/AcroForm 6 0 R", {}, {"<< /Fields [] >>"});
        const QByteArray original = pdfWithXrefStream(indirectForm);
        QVERIFY(writeFile(m_dir.filePath("xref-stream.pdf"), original));
        QVERIFY(signer.addSignature(m_dir.filePath("xref-stream.pdf"), m_dir.filePath("xref-stream-signed.pdf")));
        const SnapshotRun signedRun = snapshotOf(readFile(m_dir.filePath("xref-stream-signed.pdf")));
        QVERIFY2(signedRun.failure.isEmpty(), qPrintable(signedRun.failure));
        QCOMPARE(signedRun.snapshot.value("prev").toString(), QString::number(startXrefs(original).last()));
        const QJsonObject fields = signedRun.snapshot.value("fields").toObject();
        QCOMPARE(fields.size(), 1);
        const QJsonObject record = fields.begin().value().toObject();
        QCOMPARE(record.value("signature"), QJsonValue(true));
        // pdfsig gives its widget /DA, /Border and /M.
        QCOMPARE(record.value("safeSignatureField"), QJsonValue(false));

        QVERIFY(writeFile(m_dir.filePath("direct-form.pdf"),
                          pdfFromObjects(basicBodies("/AcroForm << /Fields [] >>"))));
        QVERIFY(signer.addSignature(m_dir.filePath("direct-form.pdf"), m_dir.filePath("direct-form-signed.pdf")));
        QCOMPARE(snapshotOf(readFile(m_dir.filePath("direct-form-signed.pdf"))).failure,
                 QStringLiteral("unregistered widget"));
    }
};

QTEST_GUILESS_MAIN(RevisionSnapshotTest)
#include "RevisionSnapshotTest.moc"
