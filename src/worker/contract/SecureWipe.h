#pragma once

// The one way secrets are overwritten before their memory is released:
// OpenSSL's cleanse, which the compiler may not drop as a dead store.
// Callers hold the only copy of a Qt container they wipe: data() on a
// shared buffer would detach and leave the other holder's bytes untouched.

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace velk {

void secureWipe(void* data, std::size_t size);
void secureWipe(QByteArray& bytes);
void secureWipe(QString& text);

} // namespace velk
