#pragma once

// The Turkish sentence for a PKCS#11 return value.

#include <p11-kit/pkcs11.h>

#include <QString>

namespace velk {

QString tokenErrorMessage(CK_RV rv);

} // namespace velk
