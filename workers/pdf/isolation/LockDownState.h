#pragma once

// What the worker's lock-down saw at its very first statement, before any
// library code could open a descriptor or set a flag of its own. The
// self-check judges what the launcher handed over from this record, so a
// descriptor opened later by the application object does not count, and
// the no_new_privs bit and the filter the lock-down adds itself prove
// nothing.
// Written once on the main thread before any other thread exists.

namespace velk::LockDownState {

struct Record {
    bool lockedDown = false;
    bool inheritedNoNewPrivileges = false;
    bool inheritedSeccompFilter = false;
    bool inheritedOnlyStandardDescriptors = false;
};

const Record& current();
void store(const Record& record);

} // namespace velk::LockDownState
