#pragma once

// The end markers of a PDF's revisions: every "startxref", white space,
// the decimal offset of the cross-reference section, white space and
// "%%EOF", with the line ends after it, in file order and without overlap.
// Read one at a time, so a file full of markers costs no memory. Pure.

#include <QByteArray>

#include <optional>

namespace velk {

struct RevisionMarker {
    qint64 start = 0;  // of "startxref"
    qint64 end = 0;    // after "%%EOF" and its line ends
    qint64 offset = 0; // the number; too many digits read as the largest value
};

class RevisionMarkers {
public:
    explicit RevisionMarkers(const QByteArray& file) : m_file(file) {}

    std::optional<RevisionMarker> next();

private:
    std::optional<RevisionMarker> matchAt(qsizetype at) const;

    const QByteArray& m_file;
    qsizetype m_from = 0;
};

} // namespace velk
