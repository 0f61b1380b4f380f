#include "store/RecordFile.h"

#include "store/StoreLimits.h"
#include "store/DescriptorRead.h"
#include "worker/contract/SecureWipe.h"
#include "worker/sandbox/UniqueFd.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>

namespace velk {

namespace {

constexpr mode_t kRecordMode = 0600;

// Anything but a regular file in the record's place is left alone: the
// save file would otherwise write through a symbolic link or fail late.
bool isReplaceable(const QByteArray& path)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

} // namespace

RecordFileRead RecordFile::read(const QString& path)
{
    RecordFileRead result;
    const UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isValid()) {
        if (errno == ENOENT)
            result.status = RecordFileStatus::Missing;
        return result;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0
        || status.st_size > StoreLimits::kMaxStoredBytes)
        return result;
    QByteArray bytes(qsizetype(status.st_size) + 1, Qt::Uninitialized);
    const qsizetype got = readUpTo(fd.get(), bytes);
    if (got >= 0 && got <= StoreLimits::kMaxStoredBytes && got <= qsizetype(status.st_size)) {
        bytes.truncate(got);
        result.bytes = SecretBytes(std::move(bytes));
        result.status = RecordFileStatus::Read;
    }
    secureWipe(bytes);
    return result;
}

bool RecordFile::write(const QString& path, const SecretBytes& bytes)
{
    if (!isReplaceable(QFile::encodeName(path)))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered, so a failing write is seen here and not in a final flush
    // that commit() would not report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (::fchmod(file.handle(), kRecordMode) != 0 || file.write(bytes.bytes()) != bytes.size()) {
        file.cancelWriting(); // the temporary file goes, the record stays
        return false;
    }
    return file.commit();
}

bool RecordFile::remove(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

} // namespace velk
