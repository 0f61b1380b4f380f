#pragma once

// The one directory that holds the user's store key and record files: the
// program's per-user application-local data directory (organisation "Velk",
// application "Velk PDF") and a fixed subdirectory. Only the user may enter
// it.

#include <QString>

namespace velk {

class StoreDirectory {
public:
    // Empty when the system names no data location.
    static QString path();

    // Creates the directory (and missing parents), or tightens an existing
    // one to mode 0700. Refuses a symbolic link, anything but a directory
    // and a directory owned by another user.
    static bool prepare(const QString& path);
};

} // namespace velk
