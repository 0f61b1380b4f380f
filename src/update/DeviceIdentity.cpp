#include "update/DeviceIdentity.h"

#include "update/UpdateLimits.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace velk {

namespace {

// Fixed forever: a new prefix would move every stored update floor.
constexpr char kHashPrefix[] = "velk-pdf/device-identifier/v1\n";
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr unsigned kAlphabetSize = sizeof(kAlphabet) - 1;
constexpr int kGroupLength = 4;

std::optional<QByteArray> readMachineId(const QString& path)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("[0-9a-f]{32}")));
    // Only a regular file: opening a FIFO put in its place would block.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.read(UpdateLimits::kMaxMachineIdFileBytes + 1);
    if (content.size() > UpdateLimits::kMaxMachineIdFileBytes)
        return std::nullopt;
    if (content.endsWith('\n'))
        content.chop(1);
    // "uninitialized" (first boot) and an all-zero id name no machine.
    if (!pattern.match(QString::fromLatin1(content)).hasMatch()
        || content == QByteArray(UpdateLimits::kMachineIdDigits, '0'))
        return std::nullopt;
    return content;
}

QString formIdentifier(const QByteArray& machineId)
{
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray(QByteArray(kHashPrefix) + machineId), QCryptographicHash::Sha256);
    quint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | quint8(digest.at(i));
    QString groups;
    for (int i = 0; i < 2 * kGroupLength; ++i) {
        if (i == kGroupLength)
            groups += QLatin1Char('-');
        groups += QLatin1Char(kAlphabet[value % kAlphabetSize]);
        value /= kAlphabetSize;
    }
    return QStringLiteral("Velk-HW-") + groups;
}

} // namespace

QString deviceIdentifier()
{
    return deviceIdentifier({QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id")});
}

QString deviceIdentifier(const QStringList& machineIdPaths)
{
    for (const QString& path : machineIdPaths) {
        if (const std::optional<QByteArray> machineId = readMachineId(path))
            return formIdentifier(*machineId);
    }
    return {};
}

} // namespace velk
