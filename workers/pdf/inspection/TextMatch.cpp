#include "inspection/TextMatch.h"

#include <algorithm>

namespace velk {

namespace {

enum class CaseRules { Default, Turkish };

char32_t foldCodePoint(char32_t c, CaseRules rules)
{
    // The two Turkish entries of Unicode's CaseFolding.txt (status T). In
    // the default folding İ has only a full folding (i + U+0307) and stays
    // itself in the simple one, and ı folds to nothing else.
    if (rules == CaseRules::Turkish) {
        if (c == U'I')
            return U'ı';
        if (c == U'İ')
            return U'i';
    }
    return QChar::toCaseFolded(c);
}

// Simple case folding maps a code point to one code point of the same
// plane, so every character keeps its UTF-16 length; a mapping that would
// not is ignored rather than allowed to shift the positions.
QString fold(const QString& text, CaseRules rules)
{
    QString folded(text.size(), Qt::Uninitialized);
    QChar* out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const QChar low = text.at(i + 1);
            const char32_t mapped = foldCodePoint(QChar::surrogateToUcs4(unit, low), rules);
            const bool keepsLength = QChar::requiresSurrogates(mapped);
            out[i] = keepsLength ? QChar(QChar::highSurrogate(mapped)) : unit;
            out[i + 1] = keepsLength ? QChar(QChar::lowSurrogate(mapped)) : low;
            ++i;
            continue;
        }
        // A lone surrogate folds to itself.
        const char32_t mapped = foldCodePoint(unit.unicode(), rules);
        out[i] = QChar::requiresSurrogates(mapped) ? unit : QChar(char16_t(mapped));
    }
    return folded;
}

qsizetype earliest(qsizetype a, qsizetype b)
{
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    return std::min(a, b);
}

} // namespace

TextMatch::TextMatch(const QString& query)
    : m_default(foldDefault(query))
    , m_turkish(foldTurkish(query))
{
}

qsizetype TextMatch::indexIn(const QString& text) const
{
    if (m_default.isEmpty())
        return -1;
    return earliest(foldDefault(text).indexOf(m_default), foldTurkish(text).indexOf(m_turkish));
}

QList<qsizetype> TextMatch::positionsIn(const QString& text, qsizetype limit) const
{
    QList<qsizetype> positions;
    if (m_default.isEmpty())
        return positions;
    const QString byDefault = foldDefault(text);
    const QString byTurkish = foldTurkish(text);
    qsizetype from = 0;
    while (positions.size() < limit) {
        const qsizetype position =
            earliest(byDefault.indexOf(m_default, from), byTurkish.indexOf(m_turkish, from));
        if (position < 0)
            break;
        positions.append(position);
        from = position + m_default.size();
    }
    return positions;
}

QString TextMatch::foldDefault(const QString& text)
{
    return fold(text, CaseRules::Default);
}

QString TextMatch::foldTurkish(const QString& text)
{
    return fold(text, CaseRules::Turkish);
}

} // namespace velk
