#pragma once

// The application's identity: names and version shown by the desktop, the
// panels and the settings store. Set once by main before anything else.

#include "worker/contract/WorkerProfile.h"

#include <QString>

class QApplication;

namespace velk {

// kApplicationName and kOrganizationName come from the worker contract: the
// secure store keeps its records under the same identity.

// The project version set in the top-level CMakeLists.txt.
extern const char kApplicationVersion[];
inline constexpr char kWindowIconResource[] = ":/icons/velk-pdf.png";

// Sets name, version, organisation and the window icon of every window.
void applyApplicationIdentity(QApplication& application);

} // namespace velk
