// The one writer of every file we produce: a destination holds either its
// previous content or the complete new file, and nothing else is ever left
// in its folder, whether the disk fills up half-way, the folder refuses the
// file, or the writer is dropped before its commit.

#include "document/files/AtomicFileWriter.h"

#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace velk;
using namespace velk::test;

namespace {

constexpr qint64 kChunkBytes = 1048576;
constexpr qint64 kDiskBytes = 256 * 1024;
const QByteArray kPrevious = "previous content, byte for byte";

bool writePlain(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Bytes no file system can squeeze.
QByteArray noise(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2463534242U;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state);
    }
    return bytes;
}

// Writes `bytes` in pieces of `piece` bytes, as a copy loop or a painter
// would; false at the first refused piece.
bool writeInPieces(AtomicFileWriter& writer, const QByteArray& bytes, qint64 piece)
{
    for (qint64 at = 0; at < bytes.size(); at += piece) {
        if (!writer.writeAll(bytes.mid(at, piece)))
            return false;
    }
    return true;
}

} // namespace

class AtomicFileWriterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void init()
    {
        for (const QString& name : entries(m_dir.path()))
            QVERIFY(QFile::remove(m_dir.filePath(name)) || QDir(m_dir.filePath(name)).removeRecursively());
    }

    void writesTheWholeFileOrNothing_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("commit");
        QTest::newRow("new file, committed") << false << true;
        QTest::newRow("existing file replaced") << true << true;
        QTest::newRow("new file, dropped") << false << false;
        QTest::newRow("existing file, dropped") << true << false;
    }

    void writesTheWholeFileOrNothing()
    {
        QFETCH(bool, existing);
        QFETCH(bool, commit);
        const QString destination = m_dir.filePath(QStringLiteral("çıktı.pdf"));
        if (existing)
            QVERIFY(writePlain(destination, kPrevious));
        const QByteArray bytes = noise(3 * kChunkBytes + 17);
        {
            AtomicFileWriter writer(destination);
            QVERIFY(writer.open());
            QVERIFY(writeInPieces(writer, bytes, kChunkBytes));
            // Until the commit nothing named appears beside the destination.
            QCOMPARE(entries(m_dir.path()).size(), existing ? 1 : 0);
            if (commit)
                QVERIFY(writer.commit());
        }
        const QByteArray expected = commit ? bytes : (existing ? kPrevious : QByteArray());
        QCOMPARE(QFile::exists(destination), commit || existing);
        QCOMPARE(readAll(destination), expected);
        QCOMPARE(entries(m_dir.path()).size(), (commit || existing) ? 1 : 0);
    }

    void aFullDiskIsNeverCommitted_data()
    {
        QTest::addColumn<qint64>("piece");
        QTest::addColumn<bool>("existing");
        QTest::newRow("1 MiB chunks, new file") << kChunkBytes << false;
        QTest::newRow("1 MiB chunks, existing file") << kChunkBytes << true;
        // Small pieces are what a buffered writer used to lose at commit.
        QTest::newRow("small pieces, new file") << qint64(700) << false;
        QTest::newRow("small pieces, existing file") << qint64(700) << true;
    }

    void aFullDiskIsNeverCommitted()
    {
        QFETCH(qint64, piece);
        QFETCH(bool, existing);
        SmallDisk disk(kDiskBytes);
        QVERIFY(disk.isReady());
        const QString destination = disk.filePath(QStringLiteral("output.pdf"));
        if (existing)
            QVERIFY(writePlain(destination, kPrevious));

        AtomicFileWriter writer(destination);
        QVERIFY(writer.open());
        QVERIFY(!writeInPieces(writer, noise(2 * kDiskBytes), piece));
        QVERIFY(writer.hasFailed());
        // Once failed, nothing more is taken, however small.
        QVERIFY(!writer.writeAll("x"));
        QVERIFY(!writer.commit());

        QCOMPARE(QFile::exists(destination), existing);
        QCOMPARE(readAll(destination), existing ? kPrevious : QByteArray());
        QCOMPARE(entries(disk.path()), existing ? QStringList{QStringLiteral("output.pdf")} : QStringList());
    }

    // The blank-PDF path: Qt's PDF writer paints into the device and never
    // looks at what a write returned.
    void aPdfPaintedOntoAFullDiskIsNeverCommitted()
    {
        SmallDisk disk(smallDiskPageBytes());
        QVERIFY(disk.isReady());
        const QString destination = disk.filePath(QStringLiteral("boş.pdf"));
        AtomicFileWriter writer(destination);
        QVERIFY(writer.open());
        {
            QPdfWriter pdf(&writer);
            QPainter painter;
            QVERIFY(painter.begin(&pdf));
            for (int page = 0; page < 40; ++page) {
                if (page > 0)
                    QVERIFY(pdf.newPage());
                painter.drawText(QPointF(40, 40), QString::number(page));
            }
            painter.end();
        }
        QVERIFY(writer.hasFailed());
        QVERIFY(!writer.commit());
        QVERIFY(!writer.fileErrorString().isEmpty());
        QCOMPARE(entries(disk.path()), QStringList());
    }

    void foldersThatRefuseTheFileLeaveNothingAnywhere_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << QStringLiteral("eksik/çıktı.pdf");
        QTest::newRow("a file as folder") << QStringLiteral("dosya.txt/çıktı.pdf");
        QTest::newRow("the destination is a folder") << QStringLiteral("klasör");
    }

    void foldersThatRefuseTheFileLeaveNothingAnywhere()
    {
        QFETCH(QString, relative);
        QVERIFY(writePlain(m_dir.filePath(QStringLiteral("dosya.txt")), kPrevious));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("klasör")));
        const QStringList before = entries(m_dir.path());

        AtomicFileWriter writer(m_dir.filePath(relative));
        const bool written = writer.open() && writer.writeAll(kPrevious) && writer.commit();
        QVERIFY(!written);
        QCOMPARE(entries(m_dir.path()), before);
        QCOMPARE(readAll(m_dir.filePath(QStringLiteral("dosya.txt"))), kPrevious);
        QCOMPARE(entries(m_dir.filePath(QStringLiteral("klasör"))), QStringList());
    }

    void aReadOnlyFolderRefusesTheFile()
    {
        SmallDisk disk(kDiskBytes, SmallDisk::Access::ReadOnly);
        QVERIFY(disk.isReady());
        AtomicFileWriter writer(disk.filePath(QStringLiteral("çıktı.pdf")));
        QVERIFY(!writer.open());
        QVERIFY(!writer.commit());
        QCOMPARE(entries(disk.path()), QStringList());
    }

    // Two writers (two instances of the program) racing for one new name:
    // exactly one wins; the other is refused and the winner's file stays.
    void aNewNameTakenMeanwhileIsNeverOverwritten()
    {
        const QString destination = m_dir.filePath(QStringLiteral("aynı.pdf"));
        const QByteArray first = noise(kChunkBytes + 5);
        const QByteArray second = noise(kChunkBytes + 9);
        AtomicFileWriter one(destination);
        AtomicFileWriter other(destination);
        QVERIFY(one.open() && other.open());
        QVERIFY(one.writeAll(first) && other.writeAll(second));
        QVERIFY(one.commit());
        QVERIFY(!one.destinationTaken());
        QVERIFY(!other.commit());
        QVERIFY(other.destinationTaken());
        QCOMPARE(readAll(destination), first);
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("aynı.pdf")});
    }

    void aReplacedFileKeepsItsPermissions()
    {
        const QString destination = m_dir.filePath(QStringLiteral("izin.pdf"));
        QVERIFY(writePlain(destination, kPrevious));
        const QFileDevice::Permissions narrow = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        QVERIFY(QFile::setPermissions(destination, narrow));
        AtomicFileWriter writer(destination);
        QVERIFY(writer.open() && writer.writeAll("new") && writer.commit());
        QCOMPARE(readAll(destination), QByteArray("new"));
        const QFileDevice::Permissions user = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
        QCOMPARE(QFile::permissions(destination) & ~user, narrow);
    }

    void aReadOnlyFileIsNotReplaced()
    {
        if (::geteuid() == 0)
            QSKIP("Root may write any file.");
        const QString destination = m_dir.filePath(QStringLiteral("salt-okunur.pdf"));
        QVERIFY(writePlain(destination, kPrevious));
        QVERIFY(QFile::setPermissions(destination, QFileDevice::ReadOwner));
        AtomicFileWriter writer(destination);
        QVERIFY(!writer.open());
        QCOMPARE(readAll(destination), kPrevious);
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("salt-okunur.pdf")});
    }

    void anEmptyNameIsRefused()
    {
        AtomicFileWriter writer{QString()};
        QVERIFY(!writer.open());
    }

    void anEmptyFileIsCommitted()
    {
        const QString destination = m_dir.filePath(QStringLiteral("boş.pdf"));
        AtomicFileWriter writer(destination);
        QVERIFY(writer.open());
        QVERIFY(writer.writeAll(QByteArray()));
        QVERIFY(writer.commit());
        QVERIFY(QFile::exists(destination));
        QCOMPARE(QFileInfo(destination).size(), 0);
    }
};

QTEST_MAIN(AtomicFileWriterTest)
#include "AtomicFileWriterTest.moc"
