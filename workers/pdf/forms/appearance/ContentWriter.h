#pragma once

// Writes the operators of one content stream: numbers in plain decimal,
// colours by their component count, glyph strings as two-byte hex codes.
// A value; the appearance builder owns one per stream.

#include <QByteArray>
#include <QList>

#include <initializer_list>

namespace velk {

class ContentWriter {
public:
    // Plain decimal without exponent, at most four decimals, trailing zeros
    // dropped; 0 for a value that is not finite.
    static QByteArray number(double value);
    // 1 (gray), 3 (RGB) or 4 (CMYK) finite components.
    static bool isColour(const QList<double>& colour);

    // "o1 o2 … operator\n".
    void operation(std::initializer_list<double> operands, const char* name);
    void operation(const QList<double>& operands, const char* name);
    // g, rg or k (fill) / G, RG or K (stroke), components clamped to 0..1;
    // nothing for a list that is not a colour.
    void fillColour(const QList<double>& colour);
    void strokeColour(const QList<double>& colour);
    // "<0041…> Tj\n" for the glyph ids.
    void showGlyphs(const QList<quint16>& glyphs);
    // Operators written as they are (names, marked content, clipping).
    void raw(const QByteArray& text);

    const QByteArray& content() const { return m_content; }

private:
    void colour(const QList<double>& colour, const char* gray, const char* rgb, const char* cmyk);

    QByteArray m_content;
};

} // namespace velk
