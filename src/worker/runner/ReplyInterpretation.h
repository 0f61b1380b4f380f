#pragma once

// Turns what the sandbox brought back into a WorkerReply: whether the
// worker's output may be read at all, its size, its parse, and the
// cross-check of "ok" against the exit status. Pure; used by runPdfWorker
// and tested on its own.

#include "worker/sandbox/Sandbox.h"
#include "worker/runner/WorkerReply.h"

namespace velk::ReplyInterpretation {

// A clean run, or a worker that answered "ok": false and exited with 1.
// Cancellation, time-out, a crash and every set-up failure make the output
// unreadable.
bool mayReadOutput(const SandboxResult& result);

WorkerReply interpret(const SandboxResult& result);

} // namespace velk::ReplyInterpretation
