#pragma once

// Inputs for the fault tests: PDFs heavy enough that a copy of them takes
// many chunks and many pages of a small disk, and images that no encoder
// can shrink.

#include <QString>

namespace velk::test {

// A valid PDF of `pages` pages labelled with `label`, about `bytes` long:
// each page's content carries a comment of random hexadecimal digits.
bool writeBulkyPdf(const QString& path, const QByteArray& label, int pages, qint64 bytes);

// A PNG of side x side pixels of noise.
bool writeNoiseImage(const QString& path, int side);

} // namespace velk::test
