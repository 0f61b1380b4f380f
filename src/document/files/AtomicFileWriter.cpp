#include "document/files/AtomicFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the user's umask
constexpr int kNameAttempts = 100;

// A fresh name beside the target, for the moment between link and rename.
QByteArray momentName(const QByteArray& target)
{
    return target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString& destination)
    : m_destination(destination)
{
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

QString AtomicFileWriter::destinationTakenSentence()
{
    return QStringLiteral("Hedef dosya kaydedilirken başka bir işlem tarafından oluşturuldu; "
                          "üzerine yazılmadı.");
}

bool AtomicFileWriter::open()
{
    if (m_destination.isEmpty() || isOpen())
        return false;
    const QFileInfo destination(m_destination);
    // A link is followed, as the user meant the file it names.
    const QString target = destination.isSymLink() ? destination.symLinkTarget() : destination.absoluteFilePath();
    m_target = QFile::encodeName(target);
    struct stat existing {};
    m_replace = ::stat(m_target.constData(), &existing) == 0;
    if (m_replace && !S_ISREG(existing.st_mode))
        return fail(EISDIR);
    // A file its owner made read-only is not replaced behind its back.
    if (m_replace && ::access(m_target.constData(), W_OK) != 0)
        return fail(errno);
    if (!openTemporary(QFile::encodeName(QFileInfo(target).absolutePath())))
        return false;
    // A replaced file keeps who may read it.
    if (m_replace && ::fchmod(m_fd, existing.st_mode & 07777) != 0)
        return fail(errno);
    m_failed = false;
    m_taken = false;
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool AtomicFileWriter::openTemporary(const QByteArray& folder)
{
    m_fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
    if (m_fd >= 0)
        return true;
    // Only a file system without unnamed files gets a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return fail(errno);
    QByteArray name = m_target + ".XXXXXX.part";
    m_fd = ::mkostemps(name.data(), 5, O_CLOEXEC);
    if (m_fd < 0)
        return fail(errno);
    m_namedTemporary = name;
    return true;
}

bool AtomicFileWriter::fail(int error)
{
    m_error = qt_error_string(error);
    m_failed = true;
    return false;
}

bool AtomicFileWriter::writeAll(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return isOpen() && !m_failed;
    return write(bytes) == bytes.size();
}

qint64 AtomicFileWriter::writeData(const char* data, qint64 size)
{
    if (m_failed || m_fd < 0)
        return -1;
    qint64 written = 0;
    while (written < size) {
        const ssize_t step = ::write(m_fd, data + written, size_t(size - written));
        if (step < 0 && errno == EINTR)
            continue;
        // A short write is followed by one that fails and says why: the
        // file can no longer become complete (full disk, size limit).
        if (step <= 0) {
            fail(step < 0 ? errno : ENOSPC);
            return -1;
        }
        written += step;
    }
    return size;
}

qint64 AtomicFileWriter::readData(char*, qint64)
{
    return -1;
}

bool AtomicFileWriter::linkInto(const QByteArray& name)
{
    if (!m_namedTemporary.isEmpty())
        return ::link(m_namedTemporary.constData(), name.constData()) == 0;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// A new destination only by a link, which never replaces anything; an
// existing one by a rename over it.
bool AtomicFileWriter::publish()
{
    if (!m_replace) {
        if (linkInto(m_target))
            return true;
        m_taken = errno == EEXIST;
        return fail(errno);
    }
    if (!m_namedTemporary.isEmpty())
        return ::rename(m_namedTemporary.constData(), m_target.constData()) == 0 || fail(errno);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray moment = momentName(m_target);
        if (!linkInto(moment)) {
            if (errno == EEXIST)
                continue;
            return fail(errno);
        }
        if (::rename(moment.constData(), m_target.constData()) == 0)
            return true;
        const int error = errno;
        ::unlink(moment.constData());
        return fail(error);
    }
    return fail(EEXIST);
}

bool AtomicFileWriter::commit()
{
    if (m_fd < 0 || !isOpen())
        return false;
    // Some file systems refuse blocks only when they are written out.
    const bool complete = !m_failed && (::fsync(m_fd) == 0 || fail(errno));
    const bool published = complete && publish();
    if (published && !m_namedTemporary.isEmpty() && !m_replace)
        ::unlink(m_namedTemporary.constData());
    if (published)
        m_namedTemporary.clear();
    const bool keepFailure = m_failed;
    discard();
    m_failed = keepFailure;
    return published;
}

void AtomicFileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_namedTemporary.isEmpty()) {
        ::unlink(m_namedTemporary.constData());
        m_namedTemporary.clear();
    }
    if (isOpen())
        QIODevice::close();
    m_failed = true;
}

} // namespace velk
