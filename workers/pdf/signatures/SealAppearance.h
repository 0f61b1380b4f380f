#pragma once

// The visible seal of a new signature field: a 260 × 64 pt form XObject
// with the signer's name on the left and, on the right, a red rosette with
// "e-imzalıdır", the signer, the date and the local time with its UTC
// offset. Drawn with Roboto Bold embedded as a Type0 (Identity-H) font with
// a ToUnicode map, so that every Turkish letter shows in every viewer and
// the text can be extracted. Objects are created for the incremental
// writer (plain dictionaries whose bodies live in newStreamData).

#include "qpdf/Qpdf.h"
#include "forms/appearance/GlyphMetrics.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace velk {

class TrueTypeFont;

class SealAppearance {
public:
    // The characters a seal line keeps: the first 60 UTF-16 code units,
    // printable ASCII and the Turkish letters Ç Ö Ü ç ö ü Ğ ğ İ ı Ş ş as
    // they are, anything else as "?".
    static QString sealText(const QString& text);

    // The body of a PDF literal string drawing sealText(text) in the
    // embedded font: two bytes of glyph number per character, each byte
    // an octal escape. Records the glyphs used.
    static QByteArray encodeAppearanceText(const QString& text, const TrueTypeFont& font, GlyphUse& used);

    // "yyyy.MM.dd HH:mm:ss +hh'mm'" of a local time.
    static QString dateText(const QDateTime& local);

    // Name and detail sizes, written with one decimal.
    static double nameSize(const QString& firstWord, const QString& otherWords);
    static double detailSize(const QString& signer);

    // The content stream of the seal.
    static QByteArray content(const QString& signer, const QString& date, const TrueTypeFont& font,
                              GlyphUse& used);

    // Creates the seal (with its font) and answers the reference of the
    // form XObject; throws QpdfFailure ("seal font" when the font resource
    // cannot be read).
    static qpdf_oh create(Qpdf& qpdf, const QString& signer, const QDateTime& local);
};

} // namespace velk
