// Publication of a finished work file: a byte-for-byte copy through an
// atomic save file, so the destination holds either its previous content
// or the complete new file; cancellation is tested before every chunk and
// work files above 512 MiB are refused. No temporary file of the save is
// ever left beside the destination.

#include "operations/OutputPublication.h"

#include "OperationTestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kNotSaved = QStringLiteral("PDF çıktısı kaydedilemedi.");
const QString kCancelled = QStringLiteral("İşlem iptal edildi.");
const QByteArray kPrevious = "previous content";

CancelFlag flagSet(bool set)
{
    return std::make_shared<std::atomic<bool>>(set);
}

} // namespace

class OutputPublicationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QTemporaryDir m_out;
    QString work(const QString& name) const { return m_work.filePath(name); }
    QString out(const QString& name) const { return m_out.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QVERIFY(m_out.isValid());
    }

    void init()
    {
        for (const QString& name : entriesOf(m_out.path()))
            QVERIFY(QFile::remove(out(name)) || QDir(out(name)).removeRecursively());
    }

    void copiesTheWorkFileExactly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("existing");
        QTest::newRow("several chunks, new destination") << QByteArray(3 * 1048576 + 17, 'p') << false;
        QTest::newRow("exactly one chunk") << QByteArray(1048576, 'q') << false;
        QTest::newRow("replaces an existing destination") << QByteArray("%PDF-1.7 new") << true;
        QTest::newRow("empty work file, new destination") << QByteArray() << false;
        QTest::newRow("empty work file replaces") << QByteArray() << true;
    }

    void copiesTheWorkFileExactly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, existing);
        QVERIFY(writeBytes(work(QStringLiteral("edited.pdf")), bytes));
        const QString destination = out(QStringLiteral("çıktı.pdf"));
        if (existing)
            QVERIFY(writeBytes(destination, kPrevious));

        const ExportResult result = publishOutput(work(QStringLiteral("edited.pdf")), destination, nullptr);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QCOMPARE(readBytes(destination), bytes.isNull() ? QByteArray("") : bytes);
        QCOMPARE(entriesOf(m_out.path()), QStringList{QStringLiteral("çıktı.pdf")});
    }

    void failuresLeaveTheDestinationAsItWas_data()
    {
        QTest::addColumn<QString>("workFile");
        QTest::addColumn<qint64>("workSize");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("message");
        // The size test comes before the copy, so a cancelled copy of a
        // 512 MiB file shows that the size was accepted without copying it.
        QTest::newRow("exactly 512 MiB accepted") << "big.pdf" << qint64(536870912) << "out.pdf" << true << kCancelled;
        QTest::newRow("one byte more refused") << "big.pdf" << qint64(536870913) << "out.pdf" << true << kNotSaved;
        QTest::newRow("cancelled before the first chunk") << "small.pdf" << qint64(10) << "out.pdf" << true
                                                          << kCancelled;
        QTest::newRow("missing work file") << "missing.pdf" << qint64(-1) << "out.pdf" << false << kNotSaved;
        QTest::newRow("work file is a directory") << "folder.pdf" << qint64(-2) << "out.pdf" << false << kNotSaved;
        QTest::newRow("destination directory missing") << "small.pdf" << qint64(10) << "no/such/out.pdf" << false
                                                       << kNotSaved;
        QTest::newRow("destination is a directory") << "small.pdf" << qint64(10) << "taken-dir" << false << kNotSaved;
        QTest::newRow("empty destination") << "small.pdf" << qint64(10) << "" << false << kNotSaved;
    }

    void failuresLeaveTheDestinationAsItWas()
    {
        QFETCH(QString, workFile);
        QFETCH(qint64, workSize);
        QFETCH(QString, destination);
        QFETCH(bool, cancelled);
        QFETCH(QString, message);
        const QString input = work(workFile);
        QFile::remove(input);
        if (workSize >= 0) {
            QFile file(input);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(workSize)); // sparse
        } else if (workSize == -2) {
            QVERIFY(QDir(m_work.path()).mkpath(workFile));
        }
        QVERIFY(QDir(m_out.path()).mkpath(QStringLiteral("taken-dir")));
        QVERIFY(writeBytes(out(QStringLiteral("out.pdf")), kPrevious));
        const QStringList before = entriesOf(m_out.path());

        const QString target = destination.isEmpty() ? QString() : out(destination);
        const ExportResult result = publishOutput(input, target, flagSet(cancelled));
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        QCOMPARE(readBytes(out(QStringLiteral("out.pdf"))), kPrevious);
        QCOMPARE(entriesOf(m_out.path()), before);
        QVERIFY(QDir(m_out.path()).entryList({QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot)
                == QStringList{QStringLiteral("taken-dir")});
        if (workSize == -2)
            QVERIFY(QDir(input).removeRecursively());
        else
            QFile::remove(input);
    }

    void aFlagThatIsNotSetDoesNotStopTheCopy()
    {
        QVERIFY(writeBytes(work(QStringLiteral("edited.pdf")), "%PDF-1.7 kept going"));
        const ExportResult result =
            publishOutput(work(QStringLiteral("edited.pdf")), out(QStringLiteral("out.pdf")), flagSet(false));
        QVERIFY(result.ok);
        QCOMPARE(readBytes(out(QStringLiteral("out.pdf"))), QByteArray("%PDF-1.7 kept going"));
    }

    void publishesThroughALinkToTheLinkedFile()
    {
        // The save file replaces the link's target, never the link itself
        // by a plain file, and never writes in place.
        QVERIFY(writeBytes(out(QStringLiteral("target.pdf")), kPrevious));
        QVERIFY(QFile::link(out(QStringLiteral("target.pdf")), out(QStringLiteral("link.pdf"))));
        QVERIFY(writeBytes(work(QStringLiteral("edited.pdf")), "%PDF-1.7 linked"));
        QVERIFY(publishOutput(work(QStringLiteral("edited.pdf")), out(QStringLiteral("link.pdf")), nullptr).ok);
        QCOMPARE(readBytes(out(QStringLiteral("target.pdf"))), QByteArray("%PDF-1.7 linked"));
        QVERIFY(QFileInfo(out(QStringLiteral("link.pdf"))).isSymLink());
    }
};

QTEST_GUILESS_MAIN(OutputPublicationTest)
#include "OutputPublicationTest.moc"
