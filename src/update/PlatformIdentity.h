#pragma once

// Which release builds this program runs: "linux-amd64" or "linux-arm64",
// from the processor architecture the system reports. Empty on any other
// architecture, and the update service then stays unconfigured.

#include <QString>

namespace velk {

QString platformIdentifier();

// For a given architecture name as the system reports it ("x86_64",
// "arm64", ...); the comparison is exact.
QString platformIdentifier(const QString& architecture);

// One of the four identifiers release descriptions may name.
bool isKnownPlatformIdentifier(const QString& identifier);

} // namespace velk
