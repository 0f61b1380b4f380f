#include "forms/appearance/TrueTypeFont.h"

#include "forms/appearance/FontByteReader.h"
#include "forms/appearance/TrueTypeCmap.h"

#include <map>

namespace velk {

namespace {

// The embedded font reader accepts nothing larger either.
constexpr qint64 kMaxFontBytes = 16 * 1024 * 1024;
constexpr quint16 kMaxTables = 256;
constexpr int kMaxGlyphs = 65535;
constexpr quint16 kMinUnitsPerEm = 16;
constexpr quint16 kMaxUnitsPerEm = 16384;
constexpr quint32 kHeadMagic = 0x5F0F3CF5;
constexpr int kMaxPostScriptName = 63;
constexpr quint16 kPostScriptNameId = 6;
// Without sCapHeight (OS/2 before version 2), a usual share of the ascent.
constexpr double kCapHeightShareOfAscent = 0.7;
const char kFallbackName[] = "VelkUnicodeFont";

constexpr quint32 tag(const char (&name)[5])
{
    return quint32(quint8(name[0])) << 24 | quint32(quint8(name[1])) << 16 | quint32(quint8(name[2])) << 8
           | quint32(quint8(name[3]));
}

// The tables by tag, each a window already checked against the file.
using Tables = std::map<quint32, FontByteReader>;

std::optional<Tables> readTableDirectory(const FontByteReader& file)
{
    FontByteReader header = file;
    const quint32 version = header.u32();
    const quint16 count = header.u16();
    header.skip(6); // searchRange, entrySelector, rangeShift
    if (!header.ok() || (version != 0x00010000 && version != tag("true")) || count == 0 || count > kMaxTables)
        return std::nullopt;
    Tables tables;
    for (int i = 0; i < count; ++i) {
        const quint32 name = header.u32();
        header.skip(4); // checksum
        const quint32 offset = header.u32();
        const quint32 length = header.u32();
        const FontByteReader table = file.slice(offset, length);
        if (!header.ok() || !table.ok())
            return std::nullopt;
        tables.emplace(name, table); // a repeated tag keeps its first entry
    }
    return tables;
}

std::optional<FontByteReader> table(const Tables& tables, quint32 name)
{
    const auto found = tables.find(name);
    if (found == tables.end())
        return std::nullopt;
    return found->second;
}

// Advances in font units; glyphs past the last full metric repeat its advance.
std::optional<QList<quint16>> readAdvances(FontByteReader hmtx, int metricCount, int glyphCount)
{
    if (metricCount == 0 || metricCount > glyphCount)
        return std::nullopt;
    QList<quint16> advances;
    advances.reserve(glyphCount);
    for (int i = 0; i < metricCount; ++i) {
        advances << hmtx.u16();
        hmtx.skip(2); // left side bearing
    }
    if (!hmtx.ok())
        return std::nullopt;
    while (advances.size() < glyphCount)
        advances << advances.constLast();
    return advances;
}

// Only characters a PDF name carries without escapes.
void appendNameCharacter(QByteArray& name, char32_t c)
{
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
                         || c == '_';
    if (allowed && name.size() < kMaxPostScriptName)
        name += char(c);
}

QByteArray nameString(FontByteReader text, quint16 platform)
{
    // Windows names are UTF-16BE; Macintosh ones one byte a character.
    QByteArray name;
    const bool wide = platform == 3;
    const qint64 characters = wide ? text.size() / 2 : text.size();
    for (qint64 i = 0; i < characters; ++i)
        appendNameCharacter(name, wide ? char32_t(text.u16()) : char32_t(text.u8()));
    return name;
}

// The PostScript name, Windows record first; empty when there is none.
std::optional<QByteArray> readPostScriptName(const FontByteReader& nameTable)
{
    FontByteReader records = nameTable;
    records.skip(2); // format
    const quint16 count = records.u16();
    const quint16 storage = records.u16();
    QByteArray mac;
    for (int i = 0; i < count; ++i) {
        const quint16 platform = records.u16();
        records.skip(4); // encoding, language
        const quint16 id = records.u16();
        const quint16 length = records.u16();
        const quint16 offset = records.u16();
        const FontByteReader text = nameTable.slice(qint64(storage) + offset, length);
        if (!records.ok() || !text.ok())
            return std::nullopt;
        if (id != kPostScriptNameId || (platform != 3 && platform != 1))
            continue;
        const QByteArray name = nameString(text, platform);
        if (platform == 3 && !name.isEmpty())
            return name;
        if (mac.isEmpty())
            mac = name;
    }
    return records.ok() ? std::optional<QByteArray>(mac) : std::nullopt;
}

struct HeadValues {
    quint16 unitsPerEm = 0;
    std::array<qint16, 4> box{};
};

std::optional<HeadValues> readHead(FontByteReader head)
{
    head.skip(12); // version, fontRevision, checkSumAdjustment
    const quint32 magic = head.u32();
    head.skip(2); // flags
    HeadValues values;
    values.unitsPerEm = head.u16();
    head.skip(16); // created, modified
    for (qint16& edge : values.box)
        edge = head.i16();
    if (!head.ok() || magic != kHeadMagic || values.unitsPerEm < kMinUnitsPerEm || values.unitsPerEm > kMaxUnitsPerEm)
        return std::nullopt;
    return values;
}

// Everything the font keeps, in font units until scaled.
struct FontValues {
    HeadValues head;
    qint16 ascender = 0;
    qint16 descender = 0;
    std::optional<qint16> capHeight;
    qint32 italicAngle = 0;
    QList<quint16> advances;
    QHash<char32_t, quint16> glyphs;
    QByteArray postScriptName;
};

bool readHorizontal(const Tables& tables, FontValues& values)
{
    const auto head = table(tables, tag("head"));
    auto hhea = table(tables, tag("hhea"));
    auto maxp = table(tables, tag("maxp"));
    const auto hmtx = table(tables, tag("hmtx"));
    const auto headValues = head ? readHead(*head) : std::nullopt;
    if (!headValues || !hhea || !maxp || !hmtx)
        return false;
    values.head = *headValues;
    hhea->skip(4); // version
    values.ascender = hhea->i16();
    values.descender = hhea->i16();
    hhea->seek(34);
    const quint16 metricCount = hhea->u16();
    maxp->skip(4); // version
    const quint16 glyphCount = maxp->u16();
    if (!hhea->ok() || !maxp->ok() || glyphCount == 0 || glyphCount > kMaxGlyphs)
        return false;
    auto advances = readAdvances(*hmtx, metricCount, glyphCount);
    if (!advances)
        return false;
    values.advances = std::move(*advances);
    return true;
}

bool readCharacters(const Tables& tables, FontValues& values)
{
    const auto cmap = table(tables, tag("cmap"));
    auto glyphs = cmap ? readUnicodeCmap(*cmap, int(values.advances.size())) : std::nullopt;
    if (!glyphs)
        return false;
    values.glyphs = std::move(*glyphs);
    return true;
}

// The optional tables: present ones must still be whole.
bool readDescription(const Tables& tables, FontValues& values)
{
    if (auto os2 = table(tables, tag("OS/2"))) {
        const quint16 version = os2->u16();
        if (version >= 2) {
            os2->seek(88);
            values.capHeight = os2->i16();
        }
        if (!os2->ok())
            return false;
    }
    if (auto post = table(tables, tag("post"))) {
        post->skip(4); // version
        values.italicAngle = post->i32();
        if (!post->ok())
            return false;
    }
    if (const auto name = table(tables, tag("name"))) {
        auto postScriptName = readPostScriptName(*name);
        if (!postScriptName)
            return false;
        values.postScriptName = std::move(*postScriptName);
    }
    return true;
}

std::optional<FontValues> readFont(const QByteArray& data)
{
    if (data.isEmpty() || data.size() > kMaxFontBytes)
        return std::nullopt;
    const std::optional<Tables> tables = readTableDirectory(FontByteReader(data.constData(), data.size()));
    FontValues values;
    if (!tables || !readHorizontal(*tables, values) || !readCharacters(*tables, values)
        || !readDescription(*tables, values))
        return std::nullopt;
    return values;
}

} // namespace

std::optional<TrueTypeFont> TrueTypeFont::parse(const QByteArray& data)
{
    const std::optional<FontValues> values = readFont(data);
    if (!values)
        return std::nullopt;
    const double scale = 1000.0 / values->head.unitsPerEm;
    TrueTypeFont font;
    font.m_data = data;
    font.m_glyphs = values->glyphs;
    font.m_glyphCount = int(values->advances.size());
    font.m_advances.reserve(font.m_glyphCount);
    for (const quint16 advance : values->advances)
        font.m_advances << advance * scale;
    font.m_ascent = values->ascender * scale;
    font.m_descent = values->descender * scale;
    font.m_capHeight = values->capHeight ? *values->capHeight * scale : font.m_ascent * kCapHeightShareOfAscent;
    font.m_italicAngle = values->italicAngle / 65536.0;
    for (int i = 0; i < 4; ++i)
        font.m_box[i] = values->head.box[i] * scale;
    font.m_postScriptName = values->postScriptName.isEmpty() ? QByteArray(kFallbackName) : values->postScriptName;
    return font;
}

quint16 TrueTypeFont::glyphFor(char32_t codePoint) const
{
    return m_glyphs.value(codePoint, 0);
}

double TrueTypeFont::advance(quint16 glyph) const
{
    return glyph < m_advances.size() ? m_advances.at(glyph) : 0;
}

double TrueTypeFont::ascent() const
{
    return m_ascent;
}

double TrueTypeFont::descent() const
{
    return m_descent;
}

double TrueTypeFont::capHeight() const
{
    return m_capHeight;
}

double TrueTypeFont::italicAngle() const
{
    return m_italicAngle;
}

std::array<double, 4> TrueTypeFont::boundingBox() const
{
    return m_box;
}

int TrueTypeFont::glyphCount() const
{
    return m_glyphCount;
}

QByteArray TrueTypeFont::postScriptName() const
{
    return m_postScriptName;
}

} // namespace velk
