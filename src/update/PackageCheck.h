#pragma once

// The check of a downloaded package against its signed description: the
// exact size, the format's leading bytes and the SHA-256 of the whole
// file. Run once after the download and again before the installer is
// opened. Any thread.

#include "update/ReleaseInfo.h"

#include <QIODevice>
#include <QString>

namespace velk {

// True when the open, readable file is the package the release describes;
// otherwise false with the sentence in message.
bool checkPackage(QIODevice& file, const ReleaseInfo& release, QString* message);

} // namespace velk
