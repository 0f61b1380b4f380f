#include "worker/sandbox/WorkerEnvironment.h"

#include "worker/sandbox/SandboxLimits.h"

#include <algorithm>
#include <cstring>

namespace velk {

namespace {

bool hasName(const std::vector<QByteArray>& entries, const QByteArray& name)
{
    return std::any_of(entries.begin(), entries.end(), [&name](const QByteArray& entry) {
        return entry.size() > name.size() && entry.startsWith(name) && entry.at(name.size()) == '=';
    });
}

} // namespace

const std::vector<QByteArray>& WorkerEnvironment::passedNames()
{
    static const std::vector<QByteArray> names = {
        "LANG", "LANGUAGE", "LC_ALL", "LC_ADDRESS", "LC_COLLATE", "LC_CTYPE", "LC_IDENTIFICATION",
        "LC_MEASUREMENT", "LC_MESSAGES", "LC_MONETARY", "LC_NAME", "LC_NUMERIC", "LC_PAPER", "LC_TELEPHONE",
        "LC_TIME", "TZ",
#ifdef VELK_SANITIZER_BUILD
        // The sanitizer runtimes' own settings, for those builds only.
        "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS",
#endif
    };
    return names;
}

const std::vector<QByteArray>& WorkerEnvironment::fixedEntries()
{
    // OpenMP users (Tesseract) run one thread; Qt, should anything of it
    // look for a platform, gets the one that needs no display.
    static const std::vector<QByteArray> entries = {"OMP_THREAD_LIMIT=1", "QT_QPA_PLATFORM=offscreen"};
    return entries;
}

std::vector<QByteArray> WorkerEnvironment::build(const char* const* callerEnvironment)
{
    std::vector<QByteArray> environment;
    for (const char* const* entry = callerEnvironment; entry != nullptr && *entry != nullptr; ++entry) {
        // Bounded before it is read: only the first bytes of a long entry.
        const std::size_t length = ::strnlen(*entry, SandboxLimits::kMaxEnvironmentEntryBytes + 1);
        if (length > SandboxLimits::kMaxEnvironmentEntryBytes)
            continue;
        const QByteArray text(*entry, qsizetype(length));
        const qsizetype equals = text.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray name = text.left(equals);
        const auto& names = passedNames();
        if (std::find(names.begin(), names.end(), name) != names.end() && !hasName(environment, name))
            environment.push_back(text);
    }
    for (const QByteArray& entry : fixedEntries())
        environment.push_back(entry);
    return environment;
}

} // namespace velk
