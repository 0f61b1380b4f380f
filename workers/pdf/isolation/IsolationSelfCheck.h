#pragma once

// The PDF worker's proof, from the inside, that it runs confined exactly as
// the sandbox promises. Every probe is harmless when the restriction it
// checks is missing.

namespace velk {

class IsolationSelfCheck {
public:
    // True only when every confinement condition holds.
    static bool passes();

    // The worker's first statement: makes the process non-dumpable and
    // refuses any later execve/execveat of the process itself.
    static void lockDownProcess();
};

} // namespace velk
