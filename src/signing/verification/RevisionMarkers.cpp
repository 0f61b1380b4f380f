#include "signing/verification/RevisionMarkers.h"

#include "signing/verification/VerificationLimits.h"

#include <limits>

namespace velk {

namespace {

const QByteArray kKeyword = "startxref";
const QByteArray kEndOfFile = "%%EOF";

// The white space of a PDF's end marker: space, tab, line feed, vertical
// tab, form feed, carriage return.
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<RevisionMarker> RevisionMarkers::next()
{
    for (qsizetype at = m_file.indexOf(kKeyword, m_from); at >= 0; at = m_file.indexOf(kKeyword, at + 1)) {
        if (std::optional<RevisionMarker> marker = matchAt(at)) {
            m_from = qsizetype(marker->end);
            return marker;
        }
    }
    m_from = m_file.size();
    return std::nullopt;
}

std::optional<RevisionMarker> RevisionMarkers::matchAt(qsizetype at) const
{
    const qsizetype size = m_file.size();
    qsizetype p = at + kKeyword.size();
    const qsizetype spaceStart = p;
    while (p < size && isSpace(m_file.at(p)))
        ++p;
    const qsizetype digitStart = p;
    qint64 offset = 0;
    while (p < size && isDigit(m_file.at(p))) {
        if (p - digitStart < VerificationLimits::kMaxOffsetDigits)
            offset = offset * 10 + (m_file.at(p) - '0');
        else
            offset = std::numeric_limits<qint64>::max();
        ++p;
    }
    const qsizetype digitEnd = p;
    while (p < size && isSpace(m_file.at(p)))
        ++p;
    if (spaceStart == digitStart || digitStart == digitEnd || digitEnd == p
        || m_file.mid(p, kEndOfFile.size()) != kEndOfFile)
        return std::nullopt;
    p += kEndOfFile.size();
    while (p < size && (m_file.at(p) == '\r' || m_file.at(p) == '\n'))
        ++p;
    return RevisionMarker{qint64(at), qint64(p), offset};
}

} // namespace velk
