#pragma once

// The per-machine identifier under which the update floor is stored:
// "Velk-HW-" and two groups of four characters from A-Z and 0-9, derived
// from the operating system's machine identity by a hash with a fixed
// prefix, so the raw machine id never leaves this process. The same on
// every run on one machine; empty when no usable machine identity exists.

#include <QString>
#include <QStringList>

namespace velk {

// From /etc/machine-id, else /var/lib/dbus/machine-id.
QString deviceIdentifier();

// From the first of the given files that holds a usable machine identity:
// exactly 32 lower-case hexadecimal digits (a final line feed allowed),
// not all zeros.
QString deviceIdentifier(const QStringList& machineIdPaths);

} // namespace velk
