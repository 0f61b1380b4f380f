#pragma once

// The user's 256-bit store key: one file in the store directory, made once
// by the first write and never rewritten or replaced afterwards. A key file
// is used only when it is a regular file (not a symbolic link) owned by the
// user, with mode 0600 and exactly 32 bytes; anything else is refused and
// left as it is.

#include "worker/contract/SecretBytes.h"

#include <QString>

namespace velk {

enum class KeyStatus {
    Loaded,
    // No key file: nothing was ever sealed in this directory.
    Missing,
    // A key file that fails the checks above, or cannot be read.
    Unusable,
    // A first write could not make the key.
    NotCreated,
};

struct StoreKeyResult {
    KeyStatus status = KeyStatus::Unusable;
    SecretBytes key;
};

class StoreKey {
public:
    static constexpr const char* kFileName = "store.key";

    // Reads an existing key; never creates one.
    static StoreKeyResult load(const QString& directory);

    // Reads the key, making it first when there is none. Two first writers
    // racing each other end up with the same key: the new key is written to
    // a temporary file and hard-linked to its name, which never replaces a
    // key that appeared meanwhile; the loser then reads the winner's.
    static StoreKeyResult loadOrCreate(const QString& directory);
};

} // namespace velk
