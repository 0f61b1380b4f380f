#pragma once

// Which accounts the secure store keeps records for, and the file each
// account's record lives in. Used by the request handler and by the tests
// that lay files out as the store would.

#include <QString>

namespace velk {

class StoreAccount {
public:
    // A device identifier ("Velk-HW-" and two groups of four upper-case
    // letters or digits, optionally after "update-"), or "test-" and 8 to 80
    // letters, digits or '-'. The whole text must match: nothing may follow,
    // not even a line feed.
    static bool isValid(const QString& account);

    // The lower-case hexadecimal SHA-256 of the account's UTF-8 bytes and
    // ".sealed": 64 hexadecimal digits, then the extension.
    static QString recordFileName(const QString& account);
};

} // namespace velk
