#pragma once

// Reads what form appearances need from a TrueType font file: the Unicode
// character map, the glyph advances and the vertical metrics, scaled to
// thousandths of an em. Every table offset, length and count is checked
// against the bytes present; a file that fails any check is refused whole.
// Used on the worker's single thread; the object owns a copy of the bytes.

#include "forms/appearance/GlyphMetrics.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <array>
#include <optional>

namespace velk {

class TrueTypeFont final : public GlyphMetrics {
public:
    // Empty when the data is not a TrueType font this reader understands
    // (a Unicode cmap of format 4 or 12 is required).
    static std::optional<TrueTypeFont> parse(const QByteArray& data);

    quint16 glyphFor(char32_t codePoint) const override;
    double advance(quint16 glyph) const override;
    double ascent() const override;
    double descent() const override;

    double capHeight() const;
    double italicAngle() const;
    // xMin, yMin, xMax, yMax of the head table.
    std::array<double, 4> boundingBox() const;
    int glyphCount() const;
    // The name table's PostScript name (ID 6), restricted to characters a
    // PDF name may carry without escapes; a fixed fallback when absent.
    QByteArray postScriptName() const;
    const QByteArray& data() const { return m_data; }

private:
    TrueTypeFont() = default;

    QByteArray m_data;
    QHash<char32_t, quint16> m_glyphs;
    QList<double> m_advances;
    double m_ascent = 0;
    double m_descent = 0;
    double m_capHeight = 0;
    double m_italicAngle = 0;
    std::array<double, 4> m_box{};
    int m_glyphCount = 0;
    QByteArray m_postScriptName;
};

} // namespace velk
