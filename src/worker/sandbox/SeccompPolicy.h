#pragma once

// The system-call filter the worker installs on itself just before execve.
// The policy is data (named groups of refused calls, each with its reason);
// one pure function turns it into a classic BPF program. x86-64 only: any
// other architecture, and the x32 ABI, are killed outright.

#include <linux/filter.h>

#include <vector>

namespace velk::SeccompPolicy {

// The filter program; deterministic, built once per run before the clone.
std::vector<sock_filter> buildProgram();

} // namespace velk::SeccompPolicy
