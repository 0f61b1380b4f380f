#pragma once

// Puts the calling process into a network namespace of its own, under a
// user namespace that maps the caller's own ids, with the loopback
// interface up. Inside it a test may serve on 127.0.0.1:443 without root
// and without touching the host's network. Must run first in main, while
// the process has one thread (unshare refuses a user namespace otherwise).

#include <QString>

namespace velk::test {

// Empty on success, else why it could not be done.
QString enterPrivateNetwork();

} // namespace velk::test
