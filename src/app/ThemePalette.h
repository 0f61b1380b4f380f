#pragma once

// The dark palette behind the style sheet: what Fusion uses for anything the
// style sheet leaves unstyled.

#include <QPalette>

namespace velk {

QPalette themePalette();

} // namespace velk
