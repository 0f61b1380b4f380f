#pragma once

// The individual facts the PDF worker's self-check demands, each a small
// probe that answers true only when its restriction is in force. Probes are
// harmless when the restriction is missing: nothing they try can leave a
// process, a file or an open descriptor behind. IsolationSelfCheck runs
// them in table order and stops at the first false one; the table is
// public so that a test can run every probe on its own.

#include <span>

namespace velk {

struct IsolationProbe {
    const char* name;
    bool (*holds)();
};

namespace IsolationProbes {

// Cheap, side-effect-free probes come first so that an unconfined process
// stops before any probe that tries something.
std::span<const IsolationProbe> all();

// Process state (ProcessStateProbes.cpp).
bool noNewPrivileges();
bool unprivilegedUser();
bool noCapabilities();
bool seccompFilter();
bool pidOne();
bool parentDeathSignal();
bool sessionLeader();
bool resourceLimits();

// Namespaces (NamespaceProbe.cpp).
bool foreignUserNamespaces();

// Descriptors (DescriptorProbe.cpp).
bool inheritedDescriptors();
// Only 0, 1 and 2 open; 0 and 1 pipes, 2 the null device. Called by the
// lock-down before anything else can open a descriptor.
bool onlyStandardDescriptorsOpen();

// Access to files and the network (AccessProbes.cpp).
bool rootDirectoryRefused();
bool temporaryFileRefused();
bool socketsRefused();

// Process creation and execution (SpawnProbes.cpp).
bool processCreationRefused();
bool executionRefused();
bool ioUringRefused();

} // namespace IsolationProbes

} // namespace velk
