#pragma once

// A full disk on demand: a tmpfs of a chosen size, mounted by a helper
// process in a private user and mount namespace of its own, so no root is
// needed and nothing else on the machine sees it. This process writes to it
// through the helper's view of the file system (/proc/<pid>/root/...), like
// any destination folder; when the object goes, the helper ends and the
// disk disappears with everything on it.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace velk::test {

class SmallDisk {
public:
    enum class Access { ReadWrite, ReadOnly };

    // bytes: the disk's capacity (the kernel rounds it up to whole pages).
    // A read-only disk refuses every write, even root's.
    explicit SmallDisk(qint64 bytes, Access access = Access::ReadWrite);
    ~SmallDisk();

    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isReady() const { return m_ready; }
    // The disk's root directory as this process reaches it.
    QString path() const;
    QString filePath(const QString& name) const;

private:
    QTemporaryDir m_mountPoint;
    QProcess m_helper;
    bool m_ready = false;
};

// A program run inside a small disk's namespace, where the disk is its
// temporary location (TMPDIR), e.g. to fill it while a working copy is made.
struct SmallDiskRun {
    int exitCode = -1;
    QByteArray output;   // the program's standard output
    QStringList left;    // names left on the disk when it ended
};
SmallDiskRun runOnSmallDisk(qint64 bytes, const QString& program, const QStringList& arguments);

// The page size tmpfs counts in.
qint64 smallDiskPageBytes();

} // namespace velk::test
