// The shipped opener of the installer hand-off on a real X display: Xvfb
// started by this test, and on PATH nothing but a stand-in xdg-open that
// records its arguments. The desktop must be asked exactly once, with one
// argument: the package's file URL. (The offscreen platform refuses every
// openUrl, so this needs a display.)

#include "update/InstallerHandOff.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velk;

extern char** environ;

namespace {

// A private X server on a free display; its pid, or -1.
pid_t startXvfb(QByteArray* display)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const QByteArray fd = QByteArray::number(pipeFds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.constData(), "-nolisten", "tcp", "-screen", "0", "640x480x24", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    char number[16] = {};
    const ssize_t got = spawned == 0 ? ::read(pipeFds[0], number, sizeof number - 1) : -1;
    ::close(pipeFds[0]);
    if (got <= 0) {
        if (spawned == 0)
            ::kill(pid, SIGKILL);
        return -1;
    }
    *display = ':' + QByteArray(number, int(got)).trimmed();
    return pid;
}

} // namespace

class DesktopOpenerTest : public QObject {
    Q_OBJECT

public:
    explicit DesktopOpenerTest(bool hasDisplay)
        : m_hasDisplay(hasDisplay)
    {
    }

private Q_SLOTS:
    void opensTheFileUrlOnce()
    {
        QVERIFY2(m_hasDisplay, "Xvfb could not be started");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString record = dir.filePath(QStringLiteral("record"));
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        QFile opener(bin + QStringLiteral("/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" >> '" + QFile::encodeName(record) + "'\n");
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString package = dir.filePath(QStringLiteral("velk-pdf-update-Velk-HW-AAAA-BBBB-0123.deb"));
        QFile file(package);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("!<arch>\n");
        file.close();

        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        const bool requested = UpdatePrompts::dialogs().openUrl(QUrl::fromLocalFile(package));
        qputenv("PATH", savedPath);
        QVERIFY(requested);
        QFile recorded(record);
        QTRY_VERIFY(recorded.exists() && recorded.size() > 0);
        QTest::qWait(200);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        const QByteArray expected = "1\n" + QUrl::fromLocalFile(package).toEncoded() + '\n';
        QCOMPARE(recorded.readAll(), expected);
    }

private:
    bool m_hasDisplay = false;
};

int main(int argc, char** argv)
{
    QByteArray display;
    const pid_t server = startXvfb(&display);
    if (server > 0) {
        qputenv("DISPLAY", display);
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // A desktop of its own would pick its own opener instead of xdg-open.
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");
    qunsetenv("KDE_FULL_SESSION");
    qunsetenv("GNOME_DESKTOP_SESSION_ID");
    int status = 1;
    {
        QApplication application(argc, argv);
        DesktopOpenerTest test(server > 0);
        status = QTest::qExec(&test, argc, argv);
    }
    if (server > 0) {
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
    }
    return status;
}

#include "DesktopOpenerTest.moc"
