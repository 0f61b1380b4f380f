#pragma once

// Process set-up of the token worker that protects the PIN and the reply
// from the driver it loads: no core file, no ptrace attach by other
// processes of the user, and a private duplicate of standard output so
// that whatever a driver prints lands on standard error instead of inside
// the reply. Called once from main() on the main thread.

#include <cstdio>

namespace velk {

class ReplyChannel {
public:
    // First thing in main(): a crash dump or a debugger attach could read
    // the PIN from memory.
    static void protectProcessMemory();

    // Duplicates descriptor 1 privately (close-on-exec) and points 1 at 2.
    // Returns the stream for the reply, or null when standard output was
    // not usable (the contract then exits without writing).
    static std::FILE* reserveStandardOutput();
};

} // namespace velk
