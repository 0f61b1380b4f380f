#include "update/UpdateAnchor.h"

namespace velk {

UpdateAnchor UpdateAnchor::shipped()
{
    // A malformed key decodes to fewer than 32 bytes and leaves the service
    // unconfigured.
    return UpdateAnchor{QByteArray::fromHex(QByteArrayLiteral(VELK_UPDATE_PUBLIC_KEY)),
                        QStringLiteral(VELK_UPDATE_CHANNEL)};
}

} // namespace velk
