#include "update/PackageCheck.h"

#include "update/UpdateLimits.h"
#include "update/UpdateMessages.h"

#include <QCryptographicHash>

namespace velk {

namespace {

constexpr qint64 kSignatureBytes = 8;

// The leading bytes each package format must start with; empty for a
// format this program does not open.
QByteArray formatSignature(const QString& format)
{
    if (format == QLatin1String("exe"))
        return QByteArrayLiteral("MZ");
    if (format == QLatin1String("msi"))
        return QByteArray::fromHex("d0cf11e0a1b11ae1");
    if (format == QLatin1String("deb"))
        return QByteArrayLiteral("!<arch>\n");
    return {};
}

bool refuse(QString* message, const char* sentence)
{
    if (message)
        *message = QString::fromUtf8(sentence);
    return false;
}

} // namespace

bool checkPackage(QIODevice& file, const ReleaseInfo& release, QString* message)
{
    if (!file.isReadable() || file.isSequential() || file.size() != release.size || !file.seek(0))
        return refuse(message, UpdateMessages::kPackageSize);
    const QByteArray signature = formatSignature(release.format);
    if (signature.isEmpty() || !file.peek(kSignatureBytes).startsWith(signature))
        return refuse(message, UpdateMessages::kPackageFormat);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    qint64 hashed = 0;
    while (hashed < release.size) {
        const QByteArray block = file.read(UpdateLimits::kPackageHashBlockBytes);
        if (block.isEmpty())
            return refuse(message, UpdateMessages::kPackageReadFailed);
        hashed += block.size();
        digest.addData(block);
    }
    if (digest.result().toHex() != release.sha256)
        return refuse(message, UpdateMessages::kPackageDigest);
    if (message)
        message->clear();
    return true;
}

} // namespace velk
