#include "forms/appearance/TextRuns.h"

#include "forms/appearance/AppearanceLimits.h"

#include <QStringView>

#include <algorithm>
#include <cmath>

namespace velk::TextRuns {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The greedy line breaker: words are appended while they fit, a word that
// fits no line alone is cut between characters.
class LineBreaker {
public:
    LineBreaker(double maxWidth, int maxLines)
        : m_maxWidth(maxWidth)
        , m_maxLines(maxLines)
    {
    }

    bool isFull() const { return m_lines.size() >= m_maxLines; }

    void addParagraph(const TextRun& paragraph)
    {
        qsizetype start = 0;
        bool first = true;
        while (start <= paragraph.size() && !isFull()) {
            qsizetype end = start;
            while (end < paragraph.size() && paragraph[end].codePoint != U' ')
                ++end;
            addWord(paragraph.mid(start, end - start), first ? nullptr : &paragraph[start - 1]);
            first = false;
            start = end + 1;
        }
        finishLine();
    }

    QList<TextRun> lines() const { return m_lines; }

private:
    // A word after the first of a paragraph follows a space on the open
    // line when both fit; otherwise it starts the next line.
    void addWord(const TextRun& word, const ShapedChar* space)
    {
        const double wordWidth = width(word);
        if (m_open && space) {
            if (m_lineWidth + space->advance + wordWidth <= m_maxWidth) {
                append(*space);
                appendAll(word);
                return;
            }
            finishLine();
        }
        m_open = true;
        if (wordWidth <= m_maxWidth) {
            appendAll(word);
            return;
        }
        for (const ShapedChar& c : word) {
            if (!m_line.isEmpty() && m_lineWidth + c.advance > m_maxWidth) {
                finishLine();
                m_open = true;
            }
            if (isFull())
                return;
            append(c);
        }
    }

    void append(const ShapedChar& c)
    {
        m_line.append(c);
        m_lineWidth += c.advance;
    }

    void appendAll(const TextRun& word)
    {
        for (const ShapedChar& c : word)
            append(c);
    }

    void finishLine()
    {
        if (!isFull())
            m_lines.append(m_line);
        m_line.clear();
        m_lineWidth = 0;
        m_open = false;
    }

    double m_maxWidth;
    int m_maxLines;
    QList<TextRun> m_lines;
    TextRun m_line;
    double m_lineWidth = 0;
    bool m_open = false;
};

} // namespace

QList<char32_t> codePoints(const QString& text)
{
    const QStringView units = QStringView(text).left(AppearanceLimits::kMaxDrawnUnits);
    QList<char32_t> points;
    points.reserve(units.size());
    for (qsizetype at = 0; at < units.size(); ++at) {
        const QChar unit = units[at];
        if (unit.isHighSurrogate() && at + 1 < units.size() && units[at + 1].isLowSurrogate()) {
            points.append(QChar::surrogateToUcs4(unit, units[at + 1]));
            ++at;
        } else if (unit.isSurrogate()) {
            points.append(kReplacement);
        } else {
            points.append(unit.unicode());
        }
    }
    return points;
}

QList<char32_t> asOneLine(const QList<char32_t>& text)
{
    QList<char32_t> line;
    line.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char32_t c = text[at];
        if (c == U'\r' && at + 1 < text.size() && text[at + 1] == U'\n')
            continue;
        line.append(c == U'\r' || c == U'\n' || c == U'\t' ? U' ' : c);
    }
    return line;
}

QList<QList<char32_t>> paragraphs(const QList<char32_t>& text)
{
    QList<QList<char32_t>> result(1);
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char32_t c = text[at];
        if (c == U'\r' && at + 1 < text.size() && text[at + 1] == U'\n')
            continue;
        if (c == U'\r' || c == U'\n')
            result.append(QList<char32_t>());
        else
            result.last().append(c == U'\t' ? U' ' : c);
    }
    return result;
}

TextRun shape(const QList<char32_t>& text, const GlyphMetrics& font)
{
    TextRun run;
    run.reserve(text.size());
    for (const char32_t c : text) {
        const quint16 glyph = font.glyphFor(c);
        const double advance = font.advance(glyph);
        // A font that reports nonsense advances must not move text
        // backwards or to infinity.
        run.append({c, glyph, std::isfinite(advance) && advance > 0 ? advance : 0});
    }
    return run;
}

double width(const TextRun& run)
{
    double total = 0;
    for (const ShapedChar& c : run)
        total += c.advance;
    return total;
}

double widestAdvance(const TextRun& run)
{
    double widest = 0;
    for (const ShapedChar& c : run)
        widest = std::max(widest, c.advance);
    return widest;
}

QList<TextRun> wrap(const QList<TextRun>& paragraphs, double maxWidth, int maxLines)
{
    LineBreaker breaker(maxWidth, maxLines);
    for (const TextRun& paragraph : paragraphs) {
        if (breaker.isFull())
            break;
        breaker.addParagraph(paragraph);
    }
    return breaker.lines();
}

} // namespace velk::TextRuns
