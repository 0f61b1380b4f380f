#include "signing/TokenWorker/ReplyChannel.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace velk {

void ReplyChannel::protectProcessMemory()
{
    const rlimit noCore{0, 0};
    static_cast<void>(::setrlimit(RLIMIT_CORE, &noCore));
    static_cast<void>(::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0));
}

std::FILE* ReplyChannel::reserveStandardOutput()
{
    const int reply = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    // Whatever happens to the reply descriptor, 1 must stop reaching the
    // client: a driver's output there would corrupt the reply.
    if (::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0 || ::dup2(null, STDOUT_FILENO) < 0) {
            if (reply >= 0)
                ::close(reply);
            if (null >= 0)
                ::close(null);
            return nullptr;
        }
        ::close(null);
    }
    if (reply < 0)
        return nullptr;
    // fdopen refuses a descriptor that is not open for writing, so a
    // standard output handed over unwritable still ends in "no output".
    std::FILE* stream = ::fdopen(reply, "w");
    if (!stream)
        ::close(reply);
    return stream;
}

} // namespace velk
