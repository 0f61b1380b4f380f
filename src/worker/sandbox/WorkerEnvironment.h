#pragma once

// The worker's whole environment, built from an allow list: the caller's
// locale and time zone pass on, OpenMP stays on one thread and Qt never
// looks for a display. Nothing else of the caller's environment (loader
// and Qt plug-in variables, tokens, anything secret) reaches the process
// that parses untrusted files.

#include <QByteArray>

#include <vector>

namespace velk {

class WorkerEnvironment {
public:
    // "NAME=value" entries, NUL-free, from a null-terminated environment
    // block (environ). A name the caller repeats passes on once, with its
    // first value, as getenv reads it; an over-long value does not pass.
    static std::vector<QByteArray> build(const char* const* callerEnvironment);

    // The names taken from the caller when present.
    static const std::vector<QByteArray>& passedNames();
    // The entries every worker gets whatever the caller holds.
    static const std::vector<QByteArray>& fixedEntries();
};

} // namespace velk
