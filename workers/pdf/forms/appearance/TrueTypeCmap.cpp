#include "forms/appearance/TrueTypeCmap.h"

namespace velk {

namespace {

constexpr quint32 kMaxCmapSegments = 65535;
// Overlapping or repeated ranges could otherwise make the map walk far
// more than every Unicode code point.
constexpr qint64 kMaxMappedCharacters = 0x110000;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// Collects code point to glyph pairs; refuses to walk too many.
class CharacterMap {
public:
    explicit CharacterMap(int glyphCount)
        : m_glyphCount(glyphCount)
    {
    }

    bool add(char32_t codePoint, quint64 glyph)
    {
        if (++m_walked > kMaxMappedCharacters)
            return false;
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        // A glyph outside the font is the missing glyph, which needs no entry.
        if (!surrogate && glyph != 0 && glyph < quint64(m_glyphCount) && !m_glyphs.contains(codePoint))
            m_glyphs.insert(codePoint, quint16(glyph));
        return true;
    }

    QHash<char32_t, quint16> take() { return std::move(m_glyphs); }

private:
    int m_glyphCount;
    qint64 m_walked = 0;
    QHash<char32_t, quint16> m_glyphs;
};

bool readFormat12(FontByteReader subtable, CharacterMap& map)
{
    subtable.skip(12); // format, reserved, length, language
    const quint32 groups = subtable.u32();
    if (!subtable.ok() || groups > kMaxCmapSegments)
        return false;
    for (quint32 i = 0; i < groups; ++i) {
        const quint32 first = subtable.u32();
        const quint32 last = subtable.u32();
        const quint32 firstGlyph = subtable.u32();
        if (!subtable.ok() || first > last || last > kLastCodePoint)
            return false;
        for (quint32 c = first; c <= last; ++c) {
            if (!map.add(c, quint64(firstGlyph) + (c - first)))
                return false;
        }
    }
    return true;
}

// The glyph of c in segment i of a format 4 table; nullopt when it lies
// outside the table.
std::optional<quint16> format4Glyph(FontByteReader subtable, quint16 segmentCount, int i, quint32 c, quint16 first)
{
    const qint64 deltas = 16 + 4 * qint64(segmentCount);
    const qint64 rangeOffsets = deltas + 2 * qint64(segmentCount);
    subtable.seek(deltas + 2 * i);
    const quint16 delta = subtable.u16();
    subtable.seek(rangeOffsets + 2 * i);
    const quint16 rangeOffset = subtable.u16();
    if (rangeOffset == 0)
        return subtable.ok() ? std::optional<quint16>(quint16(c + delta)) : std::nullopt;
    subtable.seek(rangeOffsets + 2 * i + rangeOffset + 2 * qint64(c - first));
    const quint16 glyph = subtable.u16();
    if (!subtable.ok())
        return std::nullopt;
    return glyph == 0 ? 0 : quint16(glyph + delta);
}

bool readFormat4(FontByteReader subtable, CharacterMap& map)
{
    subtable.skip(6); // format, length, language
    const quint16 doubledCount = subtable.u16();
    const quint16 segmentCount = doubledCount / 2;
    // The four parallel arrays must all lie within the table.
    subtable.seek(16 + 8 * qint64(segmentCount));
    if (!subtable.ok() || segmentCount == 0 || doubledCount % 2 != 0 || segmentCount > kMaxCmapSegments)
        return false;
    for (int i = 0; i < segmentCount; ++i) {
        subtable.seek(14 + 2 * i);
        const quint16 last = subtable.u16();
        subtable.seek(16 + 2 * qint64(segmentCount) + 2 * i);
        const quint16 first = subtable.u16();
        if (!subtable.ok() || first > last)
            return false;
        for (quint32 c = first; c <= last && c != 0xFFFF; ++c) {
            const std::optional<quint16> glyph = format4Glyph(subtable, segmentCount, i, c, first);
            if (!glyph || !map.add(c, *glyph))
                return false;
        }
    }
    return true;
}

// The Unicode subtable this reader prefers, as its window and format.
std::optional<std::pair<FontByteReader, quint16>> unicodeSubtable(const FontByteReader& cmap)
{
    FontByteReader records = cmap;
    const quint16 version = records.u16();
    const quint16 count = records.u16();
    if (!records.ok() || version != 0)
        return std::nullopt;
    int bestRank = 0;
    std::pair<FontByteReader, quint16> best;
    for (int i = 0; i < count; ++i) {
        const quint16 platform = records.u16();
        const quint16 encoding = records.u16();
        const quint32 offset = records.u32();
        // Bounded by the cmap table, not the subtable's own length field.
        FontByteReader subtable = cmap.slice(offset, cmap.size() - qint64(offset));
        const quint16 format = FontByteReader(subtable).u16();
        if (!records.ok() || !subtable.ok())
            return std::nullopt;
        const bool windows = platform == 3;
        const bool unicode = platform == 0;
        const int rank = (windows && encoding == 10 && format == 12) ? 4
                         : (unicode && format == 12)                  ? 3
                         : (windows && encoding == 1 && format == 4)  ? 2
                         : (unicode && format == 4)                   ? 1
                                                                      : 0;
        if (rank > bestRank) {
            bestRank = rank;
            best = {subtable, format};
        }
    }
    if (bestRank == 0)
        return std::nullopt;
    return best;
}

} // namespace

std::optional<QHash<char32_t, quint16>> readUnicodeCmap(const FontByteReader& cmap, int glyphCount)
{
    const auto subtable = unicodeSubtable(cmap);
    if (!subtable)
        return std::nullopt;
    CharacterMap map(glyphCount);
    const bool read =
        subtable->second == 12 ? readFormat12(subtable->first, map) : readFormat4(subtable->first, map);
    if (!read)
        return std::nullopt;
    return map.take();
}

} // namespace velk
