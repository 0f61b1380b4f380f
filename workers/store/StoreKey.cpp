#include "store/StoreKey.h"

#include "store/RecordSealing.h"
#include "store/DescriptorRead.h"
#include "worker/contract/SecureWipe.h"
#include "worker/sandbox/UniqueFd.h"

#include <QDir>
#include <QFile>

#include <openssl/rand.h>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace velk {

namespace {

constexpr mode_t kKeyMode = 0600;

QByteArray keyPath(const QString& directory)
{
    return QFile::encodeName(QDir(directory).filePath(QString::fromLatin1(StoreKey::kFileName)));
}

bool isSafeKeyFile(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid()
        && (status.st_mode & 07777) == kKeyMode && status.st_size == RecordSealing::kKeyBytes;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

// A fresh key, complete on disk, in a temporary file of the directory; the
// temporary file's name, or empty.
QByteArray writeTemporaryKey(const QString& directory)
{
    QByteArray name = keyPath(directory) + ".XXXXXX";
    const UniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd.isValid())
        return {};
    QByteArray fresh(RecordSealing::kKeyBytes, Qt::Uninitialized);
    const bool written = RAND_bytes(reinterpret_cast<unsigned char*>(fresh.data()), int(fresh.size())) == 1
        && ::fchmod(fd.get(), kKeyMode) == 0 && writeAll(fd.get(), fresh) && ::fsync(fd.get()) == 0;
    secureWipe(fresh);
    if (!written) {
        ::unlink(name.constData());
        return {};
    }
    return name;
}

void syncDirectory(const QString& directory)
{
    const UniqueFd fd(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isValid())
        static_cast<void>(::fsync(fd.get()));
}

} // namespace

StoreKeyResult StoreKey::load(const QString& directory)
{
    StoreKeyResult result;
    // Non-blocking, so a FIFO in the key's place cannot hold the store.
    const UniqueFd fd(::open(keyPath(directory).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isValid()) {
        result.status = errno == ENOENT ? KeyStatus::Missing : KeyStatus::Unusable;
        return result;
    }
    if (!isSafeKeyFile(fd.get()))
        return result;
    // One byte more than a key, to notice a file that grew after the check.
    QByteArray bytes(RecordSealing::kKeyBytes + 1, Qt::Uninitialized);
    if (readUpTo(fd.get(), bytes) == RecordSealing::kKeyBytes) {
        bytes.truncate(RecordSealing::kKeyBytes); // the spare byte was never filled
        result.key = SecretBytes(std::move(bytes));
        result.status = KeyStatus::Loaded;
    }
    secureWipe(bytes);
    return result;
}

StoreKeyResult StoreKey::loadOrCreate(const QString& directory)
{
    StoreKeyResult existing = load(directory);
    if (existing.status != KeyStatus::Missing)
        return existing;
    const QByteArray temporary = writeTemporaryKey(directory);
    if (temporary.isEmpty())
        return StoreKeyResult{KeyStatus::NotCreated, {}};
    // link() fails with EEXIST instead of replacing a key another writer
    // made first; either way the key on disk is the one to use.
    const bool linked = ::link(temporary.constData(), keyPath(directory).constData()) == 0;
    const int linkError = errno;
    ::unlink(temporary.constData());
    if (!linked && linkError != EEXIST)
        return StoreKeyResult{KeyStatus::NotCreated, {}};
    syncDirectory(directory);
    return load(directory);
}

} // namespace velk
