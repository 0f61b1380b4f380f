// Recently opened documents: newest first, at most ten, one entry per
// file; a damaged settings file reads as an empty list; clearing empties
// it. Settings live in a temporary file for the test.

#include "app/RecentFiles.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

class RecentFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    // A settings file of its own for each test.
    QString freshSettings() { return m_dir.filePath(QStringLiteral("recent-%1.conf").arg(++m_files)); }

    static QStringList pathsOf(const QList<RecentFile>& entries)
    {
        QStringList paths;
        for (const RecentFile& entry : entries)
            paths << entry.path;
        return paths;
    }

private Q_SLOTS:
    void newestComeFirst()
    {
        QSettings settings(freshSettings(), QSettings::IniFormat);
        const QDateTime first(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        RecentFiles::add(settings, "/x/a.pdf", first);
        RecentFiles::add(settings, "/x/b.pdf", first.addSecs(60));
        RecentFiles::add(settings, "/x/c.pdf", first.addSecs(120));
        QCOMPARE(pathsOf(RecentFiles::entries(settings)), QStringList({"/x/c.pdf", "/x/b.pdf", "/x/a.pdf"}));
        // Opening an entry again moves it to the front, once.
        RecentFiles::add(settings, "/x/a.pdf", first.addSecs(180));
        const QList<RecentFile> entries = RecentFiles::entries(settings);
        QCOMPARE(pathsOf(entries), QStringList({"/x/a.pdf", "/x/c.pdf", "/x/b.pdf"}));
        QCOMPARE(entries.first().openedAt, first.addSecs(180));
    }

    void survivesARestart()
    {
        const QString file = freshSettings();
        {
            QSettings settings(file, QSettings::IniFormat);
            RecentFiles::add(settings, "/x/rapor.pdf", QDateTime(QDate(2026, 12, 11), QTime(8, 0), Qt::UTC));
        }
        QSettings settings(file, QSettings::IniFormat);
        const QList<RecentFile> entries = RecentFiles::entries(settings);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().path, QStringLiteral("/x/rapor.pdf"));
        QCOMPARE(entries.first().openedAt, QDateTime(QDate(2026, 12, 11), QTime(8, 0), Qt::UTC));
    }

    void keepsTheTenNewest()
    {
        QSettings settings(freshSettings(), QSettings::IniFormat);
        for (int i = 1; i <= 12; ++i)
            RecentFiles::add(settings, QStringLiteral("/x/%1.pdf").arg(i), QDateTime::currentDateTimeUtc());
        const QStringList paths = pathsOf(RecentFiles::entries(settings));
        QCOMPARE(paths.size(), RecentFiles::kMaxEntries);
        QCOMPARE(paths.first(), QStringLiteral("/x/12.pdf"));
        QCOMPARE(paths.last(), QStringLiteral("/x/3.pdf"));
    }

    void clearingEmptiesTheList()
    {
        QSettings settings(freshSettings(), QSettings::IniFormat);
        RecentFiles::add(settings, "/x/a.pdf", QDateTime::currentDateTimeUtc());
        settings.setValue("dialogs/openFolder", "/x");
        RecentFiles::clear(settings);
        QVERIFY(RecentFiles::entries(settings).isEmpty());
        // Nothing but the list goes.
        QCOMPARE(settings.value("dialogs/openFolder").toString(), QStringLiteral("/x"));
    }

    void refusesWhatIsNotAPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << QString();
        QTest::newRow("relative") << "rapor.pdf";
        QTest::newRow("too long") << "/" + QString(RecentFiles::kMaxPathLength, QLatin1Char('a'));
        QTest::newRow("zero character") << QStringLiteral("/x/a") + QChar(0) + QStringLiteral(".pdf");
    }
    void refusesWhatIsNotAPath()
    {
        QFETCH(QString, path);
        QSettings settings(freshSettings(), QSettings::IniFormat);
        RecentFiles::add(settings, path, QDateTime::currentDateTimeUtc());
        QVERIFY(RecentFiles::entries(settings).isEmpty());
    }

    void damagedSettingsReadAsEmptyOrSkipped_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("binary noise") << QByteArray("\x01\xff[recent]\npaths=@ByteArray(\xfe\xfd", 27) << QStringList();
        QTest::newRow("a number") << QByteArray("[recent]\npaths=42\n") << QStringList({});
        QTest::newRow("relative entries skipped")
            << QByteArray("[recent]\npaths=a.pdf, /x/b.pdf, , /x/b.pdf\nopened=nonsense\n")
            << QStringList({"/x/b.pdf"});
        QTest::newRow("an odd variant") << QByteArray("[recent]\npaths=@Rect(0 0 1 1)\n") << QStringList();
    }
    void damagedSettingsReadAsEmptyOrSkipped()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        const QString file = freshSettings();
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::WriteOnly));
        QCOMPARE(raw.write(content), content.size());
        raw.close();
        QSettings settings(file, QSettings::IniFormat);
        const QList<RecentFile> entries = RecentFiles::entries(settings);
        QCOMPARE(pathsOf(entries), expected);
        for (const RecentFile& entry : entries)
            QVERIFY(!entry.openedAt.isValid());
        // Still writable afterwards.
        RecentFiles::add(settings, "/x/yeni.pdf", QDateTime::currentDateTimeUtc());
        QCOMPARE(RecentFiles::entries(settings).first().path, QStringLiteral("/x/yeni.pdf"));
    }
};

QTEST_MAIN(RecentFilesTest)
#include "RecentFilesTest.moc"
