// The evidence files of a signing run and their "sources" list: each
// distinct item once, numbered in order, and the run's size and count limits.

#include "signing/revocation/EvidenceFiles.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using velk::EvidenceFiles;
using velk::EvidenceSink;

class EvidenceFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sourcesAndFiles();
    void sameItemWrittenOnce();
    void totalBytes_data();
    void totalBytes();
    void fileCount();
    void unwritableWorkspace();
};

void EvidenceFilesTest::sourcesAndFiles()
{
    QTemporaryDir dir;
    EvidenceSink sink;
    sink.directory = dir.path();
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {"cert-a", "cert-b"}, QStringLiteral("Certs"), true));
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {"ocsp"}, QStringLiteral("OCSPs"), false));
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {"crl"}, QStringLiteral("CRLs"), true));
    const QString expected = QStringLiteral(
        "[{\"kind\":\"Certs\",\"path\":\"%1/evidence-0.der\",\"vri\":true},"
        "{\"kind\":\"Certs\",\"path\":\"%1/evidence-1.der\",\"vri\":true},"
        "{\"kind\":\"OCSPs\",\"path\":\"%1/evidence-2.der\",\"vri\":false},"
        "{\"kind\":\"CRLs\",\"path\":\"%1/evidence-3.der\",\"vri\":true}]")
                                 .arg(dir.path());
    QCOMPARE(QString::fromUtf8(QJsonDocument(sink.sources).toJson(QJsonDocument::Compact)), expected);
    const QList<QByteArray> contents = {"cert-a", "cert-b", "ocsp", "crl"};
    for (int i = 0; i < contents.size(); ++i) {
        QFile file(dir.filePath(QStringLiteral("evidence-%1.der").arg(i)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), contents.at(i));
    }
    QCOMPARE(sink.totalBytes, qint64(6 + 6 + 4 + 3));
}

void EvidenceFilesTest::sameItemWrittenOnce()
{
    QTemporaryDir dir;
    EvidenceSink sink;
    sink.directory = dir.path();
    // The same CRL offered for two signatures, and twice in one list.
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {"crl", "crl"}, QStringLiteral("CRLs"), true));
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {"crl"}, QStringLiteral("CRLs"), false));
    QCOMPARE(sink.sources.size(), 1);
    QCOMPARE(sink.totalBytes, qint64(3));
    // The same bytes under another kind are another item.
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {"crl"}, QStringLiteral("Certs"), false));
    QCOMPARE(sink.sources.size(), 2);
}

void EvidenceFilesTest::totalBytes_data()
{
    QTest::addColumn<qint64>("lastSize");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exactly 25,165,824") << qint64(25165824 - 2 * 8388608) << true;
    QTest::newRow("one byte more") << qint64(25165824 - 2 * 8388608 + 1) << false;
}

void EvidenceFilesTest::totalBytes()
{
    QFETCH(qint64, lastSize);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    EvidenceSink sink;
    sink.directory = dir.path();
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {QByteArray(8388608, 'a'), QByteArray(8388608, 'b')},
                                              QStringLiteral("CRLs"), true));
    QCOMPARE(EvidenceFiles::writeEvidenceFiles(sink, {QByteArray(lastSize, 'c')}, QStringLiteral("CRLs"), true),
             accepted);
    QCOMPARE(sink.sources.size(), accepted ? 3 : 2);
    QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("evidence-2.der"))), accepted);
}

void EvidenceFilesTest::fileCount()
{
    QTemporaryDir dir;
    EvidenceSink sink;
    sink.directory = dir.path();
    QList<QByteArray> items;
    for (int i = 0; i < 128; ++i)
        items.append(QByteArray::number(i));
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, items, QStringLiteral("Certs"), true));
    QCOMPARE(sink.sources.size(), 128);
    // Already written items still pass; the 129th distinct one does not.
    QVERIFY(EvidenceFiles::writeEvidenceFiles(sink, {items.first()}, QStringLiteral("Certs"), false));
    QVERIFY(!EvidenceFiles::writeEvidenceFiles(sink, {"one more"}, QStringLiteral("Certs"), false));
    QCOMPARE(sink.sources.size(), 128);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("evidence-128.der"))));
}

void EvidenceFilesTest::unwritableWorkspace()
{
    EvidenceSink sink;
    sink.directory = QStringLiteral("/nonexistent/velk-evidence");
    QVERIFY(!EvidenceFiles::writeEvidenceFiles(sink, {"crl"}, QStringLiteral("CRLs"), true));
    QCOMPARE(sink.sources.size(), 0);
}

QTEST_GUILESS_MAIN(EvidenceFilesTest)
#include "EvidenceFilesTest.moc"
