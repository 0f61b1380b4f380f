#pragma once

// A new owner-only directory with a unique name in the system temporary
// location, for a working copy or one task's output. Null when there is no
// temporary location: Qt answers an empty path when TMPDIR names a missing
// directory, and the directory would otherwise land at the file system's
// root. Removed with everything in it when the last holder lets it go; a
// process killed before that leaves it to the next start's clean-up.

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace velk {

// prefix: the name's fixed part, e.g. "velk-pdf-"; six random characters
// follow it.
std::shared_ptr<QTemporaryDir> createPrivateDirectory(const QString& prefix);

} // namespace velk
