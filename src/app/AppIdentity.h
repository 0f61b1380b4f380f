#pragma once

// The application's identity: names and version shown by the desktop, the
// panels and the settings store. Set once by main before anything else.

#include <QString>

class QApplication;

namespace velk {

inline constexpr char kApplicationName[] = "Velk PDF";
// The project version set in the top-level CMakeLists.txt.
extern const char kApplicationVersion[];
inline constexpr char kOrganizationName[] = "Velk";
inline constexpr char kWindowIconResource[] = ":/icons/velk-pdf.png";

// Sets name, version, organisation and the window icon of every window.
void applyApplicationIdentity(QApplication& application);

} // namespace velk
