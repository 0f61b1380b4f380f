#pragma once

// Test documents that look scanned: each page shows its text only as
// pixels of an image, so before recognition nothing on it is searchable.
// Needs a QGuiApplication (fonts).

#include <QString>
#include <QStringList>

namespace velk::test {

// One 400 x 120 pt page per text, in order.
bool writeScannedPdf(const QString& path, const QStringList& pageTexts);

} // namespace velk::test
