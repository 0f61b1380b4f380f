// velk-secure-store, run as a real process on a fresh data directory:
// records written, read back, replaced and cleared; what lies on disk;
// stores racing each other; and a write the disk refuses.

#include "StoreHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace velk::test;

namespace {

const QString kAccount = QStringLiteral("update-Velk-HW-AB12-CD34");
const QString kWriteFailed = QStringLiteral("Güvenli kayıt yazılamadı; önceki kayıt korundu.");

QJsonObject record(const QString& value)
{
    return QJsonObject{{QStringLiteral("version"), value}, {QStringLiteral("sequence"), 7}};
}

mode_t modeOf(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

} // namespace

class StoreRecordsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writeReadReplaceClear()
    {
        const StoreHome home;
        QCOMPARE(home.write(kAccount, record("1.0.0")).exitCode, 0);
        StoreRun run = home.read(kAccount);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.reply(), (QJsonObject{{"ok", true}, {"found", true}, {"record", record("1.0.0")}}));
        const QByteArray key = contentOf(home.keyPath());

        run = home.write(kAccount, record("1.2.0"));
        QCOMPARE(run.reply(), (QJsonObject{{"ok", true}}));
        QCOMPARE(home.read(kAccount).reply().value("record").toObject(), record("1.2.0"));
        QCOMPARE(contentOf(home.keyPath()), key); // the key is made once

        run = home.clear(kAccount);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.reply(), (QJsonObject{{"ok", true}}));
        QVERIFY(!QFileInfo::exists(home.recordPath(kAccount)));
        QCOMPARE(home.read(kAccount).reply(), (QJsonObject{{"ok", true}, {"found", false}}));
        QCOMPARE(contentOf(home.keyPath()), key);
    }

    void clearWithoutRecord()
    {
        const StoreHome home;
        const StoreRun run = home.clear(kAccount);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QByteArray("{\"ok\":true}"));
    }

    void readOfNeverWrittenMakesOnlyTheDirectory()
    {
        const StoreHome home;
        const StoreRun run = home.read(kAccount);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QByteArray("{\"found\":false,\"ok\":true}"));
        QVERIFY(QFileInfo(home.storeDirectory()).isDir());
        QCOMPARE(entriesOf(home.storeDirectory()), QStringList()); // no key, no record
    }

    void onDisk()
    {
        const StoreHome home;
        const QString marker = QStringLiteral("MARKER-5f1c9e-ŞĞÜ");
        QCOMPARE(home.write(kAccount, record(marker)).exitCode, 0);

        QCOMPARE(modeOf(home.storeDirectory()), mode_t(0700));
        QCOMPARE(modeOf(home.keyPath()), mode_t(0600));
        QCOMPARE(QFileInfo(home.keyPath()).size(), 32);
        QCOMPARE(modeOf(home.recordPath(kAccount)), mode_t(0600));
        const QStringList entries = entriesOf(home.storeDirectory());
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries.contains(QFileInfo(home.recordPath(kAccount)).fileName()));
        const QRegularExpression recordName(QRegularExpression::anchoredPattern("[0-9a-f]{64}\\.sealed"));
        QVERIFY(recordName.match(QFileInfo(home.recordPath(kAccount)).fileName()).hasMatch());

        // Neither the marker nor any readable piece of the record is stored.
        const QByteArray serialised = QJsonDocument(record(marker)).toJson(QJsonDocument::Compact);
        for (const QByteArray& entry : home.snapshot()) {
            QVERIFY(!entry.contains(marker.toUtf8().toHex()));
            QVERIFY(!entry.contains(QByteArray("version").toHex()));
            QVERIFY(!entry.contains(serialised.toHex()));
        }
    }

    void looseDirectoryIsTightened()
    {
        const StoreHome home;
        QVERIFY(QDir().mkpath(home.storeDirectory()));
        QVERIFY(::chmod(QFile::encodeName(home.storeDirectory()).constData(), 0755) == 0);
        QCOMPARE(home.read(kAccount).exitCode, 0);
        QCOMPARE(modeOf(home.storeDirectory()), mode_t(0700));
    }

    void firstWritersAgreeOnOneKey()
    {
        const StoreHome home;
        QList<QByteArray> inputs;
        for (int i = 0; i < 8; ++i)
            inputs.append(writeRequest(QStringLiteral("test-writer-%1").arg(i), record(QString::number(i))));
        for (const StoreRun& run : home.runAtOnce(inputs))
            QCOMPARE(run.exitCode, 0);
        for (int i = 0; i < 8; ++i) {
            const StoreRun run = home.read(QStringLiteral("test-writer-%1").arg(i));
            QCOMPARE(run.error(), QString());
            QCOMPARE(run.reply().value("record").toObject(), record(QString::number(i)));
        }
        // One key and eight records; no temporary key or record file is left.
        QCOMPARE(entriesOf(home.storeDirectory()).size(), 9);
    }

    void writersOfOneAccountLeaveOneWholeRecord()
    {
        const StoreHome home;
        QList<QByteArray> inputs;
        QList<QJsonObject> records;
        for (int i = 0; i < 8; ++i) {
            records.append(QJsonObject{{"writer", i}, {"fill", QString(4000 + i, QLatin1Char('a' + i))}});
            inputs.append(writeRequest(kAccount, records.last()));
        }
        for (const StoreRun& run : home.runAtOnce(inputs))
            QCOMPARE(run.exitCode, 0);
        const StoreRun run = home.read(kAccount);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(records.contains(run.reply().value("record").toObject()));
        QCOMPARE(entriesOf(home.storeDirectory()).size(), 2);
    }

    void failedDiskWriteKeepsTheOldRecord()
    {
        const StoreHome home;
        QCOMPARE(home.write(kAccount, record("old")).exitCode, 0);
        const QMap<QString, QByteArray> before = home.snapshot();

        // The disk takes 256 bytes of a file and no more; the store gets an
        // error instead of the signal, as on a full disk.
        const auto smallDisk = [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit {256, 256};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
        const QJsonObject large{{"fill", QString(2000, QLatin1Char('z'))}};
        const StoreRun run = home.run(writeRequest(kAccount, large), smallDisk);
        QVERIFY(run.finished);
        QCOMPARE(run.error(), kWriteFailed);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(home.snapshot(), before); // old record byte for byte, no stray file
        QCOMPARE(home.read(kAccount).reply().value("record").toObject(), record("old"));
    }
};

QTEST_GUILESS_MAIN(StoreRecordsTest)
#include "StoreRecordsTest.moc"
