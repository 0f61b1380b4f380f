#include "PrivateNetwork.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velk::test {

namespace {

bool writeFile(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return written;
}

QString systemError(const char* step)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
}

bool bringLoopbackUp()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ifreq request {};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = short(request.ifr_flags | IFF_UP | IFF_RUNNING);
    up = up && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    ::close(fd);
    return up;
}

} // namespace

QString enterPrivateNetwork()
{
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray gid = QByteArray::number(::getgid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return systemError("unshare");
    if (!writeFile("/proc/self/setgroups", "deny") || !writeFile("/proc/self/uid_map", uid + ' ' + uid + " 1")
        || !writeFile("/proc/self/gid_map", gid + ' ' + gid + " 1"))
        return systemError("id maps");
    if (!bringLoopbackUp())
        return systemError("loopback");
    return {};
}

} // namespace velk::test
