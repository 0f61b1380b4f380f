// Private directories left by a killed process are removed at the next
// start, and nothing else is: not a directory another running instance
// still claims, not one younger than the cleaning process, not a look-alike
// that is not ours (wrong name, a link, a file, open to others, someone
// else's), and never what a link inside a leftover points to.

#include "document/core/LeftoverWorkspaces.h"
#include "document/core/PrivateDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/time.h>
#include <unistd.h>

using namespace velk;

namespace {

// Every test directory is dated this long before the clean-up's cut-off.
constexpr int kAgeSeconds = 120;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Sets both times of `path` (and, through the metadata change, its ctime
// stays at "now"): callers compare against a cut-off in the future.
bool age(const QString& path)
{
    timeval times[2] {};
    ::gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= kAgeSeconds;
    times[1] = times[0];
    return ::lutimes(QFile::encodeName(path).constData(), times) == 0;
}

QDateTime cutOff()
{
    return QDateTime::currentDateTimeUtc().addSecs(5);
}

} // namespace

class LeftoverWorkspacesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    QTemporaryDir m_outside;
    QString at(const QString& name) const { return m_temp.filePath(name); }

    // A leftover as a killed process leaves it: owner-only, with a working
    // copy inside, claimed by nobody.
    QString leftover(const QString& name)
    {
        const QString path = at(name);
        if (!QDir().mkdir(path) || ::chmod(QFile::encodeName(path).constData(), 0700) != 0
            || !writeFile(path + QStringLiteral("/document.pdf"), "%PDF-1.7"))
            return {};
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        QVERIFY(m_outside.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void init()
    {
        for (const QString& name :
             QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            QFile::remove(at(name));
            QDir(at(name)).removeRecursively();
        }
    }

    void unclaimedLeftoversOfOursAreRemoved_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("working copy") << QStringLiteral("velk-pdf-a1B2c3");
        QTest::newRow("task workspace") << QStringLiteral("velk-task-Zz9Yy8");
    }

    void unclaimedLeftoversOfOursAreRemoved()
    {
        QFETCH(QString, name);
        const QString path = leftover(name);
        QVERIFY(!path.isEmpty());
        QVERIFY(QDir().mkdir(path + QStringLiteral("/inner")));
        QVERIFY(writeFile(path + QStringLiteral("/inner/page-0.pdf"), "%PDF-1.7"));
        // A link inside leads outside; only the link may go.
        QVERIFY(writeFile(m_outside.filePath(QStringLiteral("keep.pdf")), "keep"));
        QVERIFY(QFile::link(m_outside.path(), path + QStringLiteral("/outside")));
        QVERIFY(age(path));

        QCOMPARE(LeftoverWorkspaces::removeFrom(m_temp.path(), cutOff()), 1);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(QFile::exists(m_outside.filePath(QStringLiteral("keep.pdf"))));
    }

    void aDirectoryYoungerThanTheProcessStays()
    {
        const QString path = leftover(QStringLiteral("velk-pdf-young1"));
        QVERIFY(!path.isEmpty());
        QCOMPARE(LeftoverWorkspaces::removeFrom(m_temp.path(), QDateTime::currentDateTimeUtc().addSecs(-60)), 0);
        QVERIFY(QFileInfo::exists(path));
    }

    void aClaimedDirectoryStays()
    {
        // As another running instance holds its working copy.
        std::shared_ptr<QTemporaryDir> live = createPrivateDirectory(QStringLiteral("velk-pdf-"));
        QVERIFY(live);
        QVERIFY(age(live->path()));
        QCOMPARE(LeftoverWorkspaces::removeFrom(m_temp.path(), cutOff()), 0);
        QVERIFY(QFileInfo::exists(live->path()));
        // Once its holder lets go it is gone anyway; the claim with it.
        const QString path = live->path();
        live.reset();
        QVERIFY(!QFileInfo::exists(path));
    }

    void aClaimOutlivesNothingButItsProcess()
    {
        // A child claims a directory and is killed: the claim dies with it.
        const QString path = leftover(QStringLiteral("velk-task-killed"));
        QVERIFY(!path.isEmpty());
        const QByteArray native = QFile::encodeName(path);
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t holder = ::fork();
        QVERIFY(holder >= 0);
        if (holder == 0) {
            // Only system calls here: claim, say so, wait to be killed.
            const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            if (::write(ready[1], &ok, 1) != 1)
                ::_exit(1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char claimed = 0;
        QCOMPARE(::read(ready[0], &claimed, 1), ssize_t(1));
        ::close(ready[0]);
        QCOMPARE(claimed, 'y');
        QVERIFY(age(path));
        QCOMPARE(LeftoverWorkspaces::removeFrom(m_temp.path(), cutOff()), 0);
        QCOMPARE(::kill(holder, SIGKILL), 0);
        QCOMPARE(::waitpid(holder, nullptr, 0), holder);
        QCOMPARE(LeftoverWorkspaces::removeFrom(m_temp.path(), cutOff()), 1);
        QVERIFY(!QFileInfo::exists(path));
    }

    void lookAlikesThatAreNotOursStay_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("five random characters") << QStringLiteral("short");
        QTest::newRow("another prefix") << QStringLiteral("prefix");
        QTest::newRow("open to others") << QStringLiteral("mode");
        QTest::newRow("a link to a directory") << QStringLiteral("link");
        QTest::newRow("a plain file") << QStringLiteral("file");
        QTest::newRow("someone else's") << QStringLiteral("owner");
    }

    void lookAlikesThatAreNotOursStay()
    {
        QFETCH(QString, kind);
        QString path;
        if (kind == QStringLiteral("short")) {
            path = leftover(QStringLiteral("velk-pdf-a1B2c"));
        } else if (kind == QStringLiteral("prefix")) {
            path = leftover(QStringLiteral("velk-pdfs-a1B2c3"));
        } else if (kind == QStringLiteral("mode")) {
            path = leftover(QStringLiteral("velk-pdf-open00"));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0755), 0);
        } else if (kind == QStringLiteral("link")) {
            path = at(QStringLiteral("velk-task-link00"));
            QVERIFY(QFile::link(m_outside.path(), path));
        } else if (kind == QStringLiteral("file")) {
            path = at(QStringLiteral("velk-task-file00"));
            QVERIFY(writeFile(path, "not a directory"));
        } else {
            if (::geteuid() != 0)
                QSKIP("Only root can hand a directory to another user.");
            path = leftover(QStringLiteral("velk-pdf-other0"));
            QCOMPARE(::lchown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        }
        QVERIFY(!path.isEmpty());
        QVERIFY(age(path));
        QVERIFY(writeFile(m_outside.filePath(QStringLiteral("keep.pdf")), "keep"));

        QCOMPARE(LeftoverWorkspaces::removeFrom(m_temp.path(), cutOff()), 0);
        QVERIFY(QFileInfo(path).exists() || QFileInfo(path).isSymLink());
        QVERIFY(QFile::exists(m_outside.filePath(QStringLiteral("keep.pdf"))));
    }

    void theProcessStartIsInThePastAndRecent()
    {
        const QDateTime start = LeftoverWorkspaces::processStart();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(start <= now);
        QVERIFY(start.secsTo(now) < 600);
    }
};

QTEST_GUILESS_MAIN(LeftoverWorkspacesTest)
#include "LeftoverWorkspacesTest.moc"
