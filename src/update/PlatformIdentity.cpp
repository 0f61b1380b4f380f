#include "update/PlatformIdentity.h"

#include <QSysInfo>

#include <array>

namespace velk {

QString platformIdentifier()
{
    return platformIdentifier(QSysInfo::currentCpuArchitecture());
}

QString platformIdentifier(const QString& architecture)
{
    if (architecture == QLatin1String("x86_64"))
        return QStringLiteral("linux-amd64");
    // Qt reports 64-bit ARM as "arm64"; the kernel's own name is "aarch64".
    if (architecture == QLatin1String("arm64") || architecture == QLatin1String("aarch64"))
        return QStringLiteral("linux-arm64");
    return {};
}

bool isKnownPlatformIdentifier(const QString& identifier)
{
    static constexpr std::array<const char*, 4> kKnown = {"linux-amd64", "linux-arm64", "windows-amd64",
                                                          "windows-arm64"};
    for (const char* known : kKnown) {
        if (identifier == QLatin1String(known))
            return true;
    }
    return false;
}

} // namespace velk
