#include "signing/TokenWorker/TokenModule.h"

#include "signing/TokenWorker/TokenWorkerLimits.h"
#include "signing/TokenWorker/TokenWorkerMessages.h"
#include "worker/contract/OpenSslHandles.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace velk {

namespace {

constexpr size_t kHashChunkBytes = 1 << 20;

QString message(const char* text)
{
    return QString::fromUtf8(text);
}

bool isNetworkPath(const QString& path)
{
    return path.startsWith(QLatin1String("//")) || path.startsWith(QLatin1String("\\\\"));
}

bool isAdmissibleFile(const struct stat& status)
{
    return S_ISREG(status.st_mode) && status.st_size >= 0 && status.st_size <= TokenWorkerLimits::kMaxModuleBytes;
}

// SHA-256 of the whole file behind the descriptor, lowercase hex; empty on
// a read failure or when more than the size limit comes back.
QByteArray hashDescriptor(int fd)
{
    const EvpMdCtxPtr context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        return {};
    std::vector<unsigned char> chunk(kHashChunkBytes);
    qint64 total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {};
        if (got == 0)
            break;
        total += got;
        if (total > TokenWorkerLimits::kMaxModuleBytes
            || EVP_DigestUpdate(context.get(), chunk.data(), size_t(got)) != 1)
            return {};
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

// The fourteen entries the worker calls; any of them null makes the list
// unusable.
bool hasRequiredEntries(const CK_FUNCTION_LIST& list)
{
    return list.C_Initialize && list.C_Finalize && list.C_GetSlotList && list.C_GetTokenInfo
        && list.C_OpenSession && list.C_CloseSession && list.C_Login && list.C_Logout
        && list.C_GetAttributeValue && list.C_FindObjectsInit && list.C_FindObjects
        && list.C_FindObjectsFinal && list.C_SignInit && list.C_Sign;
}

} // namespace

TokenModule::~TokenModule()
{
    m_functions = nullptr;
    if (m_library)
        static_cast<void>(::dlclose(m_library));
    m_library = nullptr;
    m_file.reset();
}

bool TokenModule::openChecked(const QString& path, QString& error)
{
    const QByteArray native = path.toUtf8();
    struct stat status {};
    if (!path.startsWith(QLatin1Char('/')) || isNetworkPath(path) || native.contains('\0')
        || ::stat(native.constData(), &status) != 0 || !isAdmissibleFile(status)) {
        error = message(TokenWorkerMessages::kModulePathRequired);
        return false;
    }
    char canonical[PATH_MAX];
    // O_NOFOLLOW on the resolved path: a link swapped in after resolving
    // is refused rather than followed.
    if (::realpath(native.constData(), canonical) != nullptr)
        m_file.reset(::open(canonical, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (!m_file.isValid() || ::fstat(m_file.get(), &opened) != 0) {
        error = message(TokenWorkerMessages::kModuleUnreadable);
        return false;
    }
    if (!isAdmissibleFile(opened)) {
        error = message(TokenWorkerMessages::kModulePathRequired);
        return false;
    }
    return true;
}

bool TokenModule::admit(const QString& path, const QString& approvedHash, QString& error)
{
    if (!openChecked(path, error))
        return false;
    const QByteArray hash = hashDescriptor(m_file.get());
    if (hash.isEmpty()) {
        error = message(TokenWorkerMessages::kModuleUnreadable);
        return false;
    }
    // Lowercase hex on our side: an uppercase approval never matches.
    if (hash != approvedHash.toLatin1()) {
        error = message(TokenWorkerMessages::kModuleChanged);
        return false;
    }
    const QByteArray loadPath = "/proc/self/fd/" + QByteArray::number(m_file.get());
    m_library = ::dlopen(loadPath.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        error = message(TokenWorkerMessages::kModuleNotLoaded);
        return false;
    }
    return bindFunctionList(error);
}

bool TokenModule::bindFunctionList(QString& error)
{
    error = message(TokenWorkerMessages::kFunctionListUnusable);
    void* symbol = ::dlsym(m_library, "C_GetFunctionList");
    if (!symbol)
        return false;
    const auto getFunctionList = reinterpret_cast<CK_C_GetFunctionList>(symbol);
    CK_FUNCTION_LIST* list = nullptr;
    if (getFunctionList(&list) != CKR_OK || !list || list->version.major < 2 || !hasRequiredEntries(*list))
        return false;
    m_functions = list;
    error.clear();
    return true;
}

} // namespace velk
