#pragma once

// Reads a TrueType font's character map for TrueTypeFont: the preferred
// Unicode subtable (Windows UCS-4 format 12, Unicode-platform format 12,
// Windows BMP format 4, Unicode-platform format 4, in that order), each
// read bounded by the cmap table.

#include "forms/appearance/FontByteReader.h"

#include <QHash>

#include <optional>

namespace velk {

// Code point to glyph, glyphs below glyphCount only (others are the missing
// glyph and get no entry); empty when there is no Unicode subtable or the
// one chosen is damaged.
std::optional<QHash<char32_t, quint16>> readUnicodeCmap(const FontByteReader& cmap, int glyphCount);

} // namespace velk
