#pragma once

// The same-file test every file-producing operation applies before it
// writes: a destination must never be the open document's source file or
// its working copy. Pure file-system queries; any thread.

#include <QString>

namespace velk {

// True when the absolute paths are equal as strings, or when the first
// path exists and both resolve to the same canonical path. A destination
// that does not exist yet can therefore only match by its absolute path.
bool isSameFile(const QString& first, const QString& second);

} // namespace velk
