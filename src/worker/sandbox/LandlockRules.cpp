#include "worker/sandbox/LandlockRules.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velk {

namespace {

// Access bits newer than the system headers this builds against.
constexpr std::uint64_t kFsExecute = 1ULL << 0;
constexpr std::uint64_t kFsWriteFile = 1ULL << 1;
constexpr std::uint64_t kFsReadFile = 1ULL << 2;
constexpr std::uint64_t kFsReadDir = 1ULL << 3;
constexpr std::uint64_t kFsRemoveDir = 1ULL << 4;
constexpr std::uint64_t kFsRemoveFile = 1ULL << 5;
constexpr std::uint64_t kFsMakeDir = 1ULL << 7;
constexpr std::uint64_t kFsMakeReg = 1ULL << 8;
constexpr std::uint64_t kFsTruncate = 1ULL << 14;     // ABI 3
constexpr std::uint64_t kAllFsAbi3 = (1ULL << 15) - 1; // bits 0..14
constexpr std::uint64_t kAllFsAbi5 = (1ULL << 16) - 1; // adds device ioctl
constexpr std::uint64_t kNetBindTcp = 1ULL << 0;       // ABI 4
constexpr std::uint64_t kNetConnectTcp = 1ULL << 1;
constexpr std::uint64_t kScopeAbstractUnix = 1ULL << 0; // ABI 6
constexpr std::uint64_t kScopeSignal = 1ULL << 1;

// The ruleset attribute as of ABI 6; older kernels get a shorter prefix.
struct RulesetAttr {
    std::uint64_t handledAccessFs;
    std::uint64_t handledAccessNet;
    std::uint64_t scoped;
};

std::uint64_t accessFor(LandlockRules::Grant grant)
{
    using Grant = LandlockRules::Grant;
    switch (grant) {
    case Grant::ReadExecuteTree:
        return kFsReadFile | kFsReadDir | kFsExecute;
    case Grant::ReadFile:
        return kFsReadFile;
    case Grant::ModifyTree:
        return kFsReadFile | kFsReadDir | kFsWriteFile | kFsTruncate | kFsMakeReg | kFsMakeDir
            | kFsRemoveFile | kFsRemoveDir;
    case Grant::ReadTree:
        return kFsReadFile | kFsReadDir;
    case Grant::ReadExecuteFile:
        return kFsReadFile | kFsExecute;
    case Grant::ReadWriteDevice:
        return kFsReadFile | kFsWriteFile | kFsTruncate;
    }
    return 0;
}

bool isDirectoryGrant(LandlockRules::Grant grant)
{
    using Grant = LandlockRules::Grant;
    return grant == Grant::ReadExecuteTree || grant == Grant::ModifyTree || grant == Grant::ReadTree;
}

// Local 8-bit bytes of a path; empty when the name cannot be a path.
QByteArray pathBytes(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return bytes.contains('\0') ? QByteArray() : bytes;
}

UniqueFd openInode(const char* path, bool directory)
{
    const int flags = O_PATH | O_NOFOLLOW | O_CLOEXEC | (directory ? O_DIRECTORY : 0);
    return UniqueFd(::open(path, flags));
}

bool hasType(int fd, mode_t type)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && (info.st_mode & S_IFMT) == type;
}

} // namespace

int LandlockRules::kernelAbi()
{
    const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return abi > 0 && abi < INT_MAX ? int(abi) : 0;
}

bool LandlockRules::create()
{
    const int abi = kernelAbi();
    if (abi < 3)
        return false;
    RulesetAttr attr {};
    std::size_t size = sizeof attr.handledAccessFs;
    attr.handledAccessFs = abi >= 5 ? kAllFsAbi5 : kAllFsAbi3;
    if (abi >= 4) {
        // No port rule follows: every TCP bind and connect is refused.
        attr.handledAccessNet = kNetBindTcp | kNetConnectTcp;
        size = offsetof(RulesetAttr, scoped);
    }
    if (abi >= 6) {
        attr.scoped = kScopeAbstractUnix | kScopeSignal;
        size = sizeof attr;
    }
    m_ruleset = UniqueFd(int(::syscall(SYS_landlock_create_ruleset, &attr, size, 0U)));
    m_handledFs = attr.handledAccessFs;
    // The worker applies it after placing its standard streams.
    return moveAboveStandardStreams(m_ruleset);
}

UniqueFd LandlockRules::openDirectory(const QString& path)
{
    const QByteArray bytes = pathBytes(path);
    if (bytes.isEmpty())
        return {};
    UniqueFd inode = openInode(bytes.constData(), true);
    if (!inode.isValid() || !hasType(inode.get(), S_IFDIR) || !moveAboveStandardStreams(inode))
        return {};
    return inode;
}

UniqueFd LandlockRules::openRegularFile(const QString& path)
{
    const QByteArray bytes = pathBytes(path);
    if (bytes.isEmpty())
        return {};
    // O_NOFOLLOW|O_PATH opens a final symbolic link itself, which then fails
    // the regular-file test.
    UniqueFd inode = openInode(bytes.constData(), false);
    if (!inode.isValid() || !hasType(inode.get(), S_IFREG))
        return {};
    return inode;
}

bool LandlockRules::allowSystemPath(const char* path, Grant grant)
{
    // /lib64 and friends are symbolic links on merged-/usr systems; the rule
    // must sit on the real inode.
    char* resolved = ::realpath(path, nullptr);
    if (resolved == nullptr)
        return errno == ENOENT;
    const bool directory = isDirectoryGrant(grant);
    const UniqueFd inode = openInode(resolved, directory);
    std::free(resolved);
    if (!inode.isValid())
        return false;
    struct stat info {};
    if (::fstat(inode.get(), &info) != 0)
        return false;
    const bool typeFits = directory ? S_ISDIR(info.st_mode)
                                    : (S_ISREG(info.st_mode) || S_ISCHR(info.st_mode));
    return typeFits && allowInode(inode.get(), grant);
}

bool LandlockRules::allowInode(int inode, Grant grant)
{
    if (!m_ruleset.isValid() || inode < 0)
        return false;
    landlock_path_beneath_attr rule {};
    rule.allowed_access = accessFor(grant) & m_handledFs;
    rule.parent_fd = inode;
    return ::syscall(SYS_landlock_add_rule, m_ruleset.get(), LANDLOCK_RULE_PATH_BENEATH, &rule, 0U) == 0;
}

bool LandlockRules::allowSystemRuntime()
{
    struct SystemPath {
        const char* path;
        Grant grant;
    };
    // Every library the worker, Qt, PDFium, qpdf and Tesseract (with libgomp,
    // leptonica, libarchive, libcurl, gnutls, krb5) load lives in the
    // multiarch directory, Qt's plugins included; mapping a library
    // executable needs only read. Execute is granted on the ELF interpreter
    // alone, so nothing else outside the application directory can be run.
    static constexpr SystemPath kPaths[] = {
        {"/usr/lib/x86_64-linux-gnu", Grant::ReadTree},
        {"/lib64/ld-linux-x86-64.so.2", Grant::ReadExecuteFile},
        {"/etc/ld.so.cache", Grant::ReadFile},
        {"/usr/lib/locale", Grant::ReadTree},
        {"/usr/share/fonts", Grant::ReadTree},
        // Public time-zone data: a signature seal shows the local time
        // with its offset from UTC.
        {"/etc/localtime", Grant::ReadFile},
        {"/usr/share/zoneinfo", Grant::ReadTree},
        {"/dev/null", Grant::ReadWriteDevice},
    };
    for (const SystemPath& entry : kPaths) {
        if (!allowSystemPath(entry.path, entry.grant))
            return false;
    }
    return true;
}

} // namespace velk
