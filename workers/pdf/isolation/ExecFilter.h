#pragma once

// The worker's own system-call filter: refuses execve and execveat with
// EPERM and lets everything else through to the launcher's filter. The
// launcher cannot refuse execution itself, because it must execute the
// worker; the worker closes that door as its first act.

namespace velk::ExecFilter {

// Requires no_new_privs (or privilege). False when the kernel refused it.
bool install();

} // namespace velk::ExecFilter
