#pragma once

// The one name under which a certificate is shown to the user: the first
// common name of its subject, else the first organisation, else "İmzacı".
// Used by the token worker's listing and by the signature builder. Pure
// function of the DER bytes; any thread.

#include <QByteArray>
#include <QString>

namespace velk {

// Empty when the DER does not parse as one certificate or bytes follow it.
QString certificateDisplayName(const QByteArray& der);

} // namespace velk
