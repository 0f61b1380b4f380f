#include "signatures/SealAppearance.h"

#include "edit/EmbeddedFont.h"
#include "signatures/SignatureLimits.h"
#include "forms/appearance/TrueTypeFont.h"
#include "forms/appearance/UnicodeFontParts.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace velk {

namespace {

const QString kTurkishLetters = QStringLiteral("ÇÖÜçöüĞğİıŞş");

QByteArray decimal(double value)
{
    return QByteArray::number(value, 'f', 1);
}

QByteArray octal(quint8 byte)
{
    return '\\' + QByteArray::number(byte, 8).rightJustified(3, '0');
}

struct SignerWords {
    QString first;
    QString others;
};

SignerWords splitSigner(const QString& signer)
{
    QStringList words = signer.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {signer, {}};
    const QString first = words.takeFirst();
    return {first, words.join(QLatin1Char(' '))};
}

// Rosette and its ribbons in the seal's red, between the two text blocks.
const char kRosette[] =
    "ET 0.75 0.09 0.15 RG 0.75 0.09 0.15 rg 1.7 w 137 54 m 137 56.2 135.2 58 133 58 c 130.8 58 129 56.2 129 54 c "
    "129 51.8 130.8 50 133 50 c 135.2 50 137 51.8 137 54 c S 133 54 m 133.9 54 134.6 54.7 134.6 55.6 c 134.6 53.5 l "
    "134.6 52.4 133.9 52 133 52 c 132.1 52 131.4 52.4 131.4 53.5 c f 130.6 50.6 m 132.6 49.6 l 131 45 l 129.8 47 l "
    "127.6 46.6 l f 135.4 50.6 m 133.4 49.6 l 135 45 l 136.2 47 l 138.4 46.6 l f BT /F2 11 Tf 141 49.5 Td (";

qpdf_oh sealFont(Qpdf& qpdf, const TrueTypeFont& font, const GlyphUse& used)
{
    const qpdf_oh file = qpdf.addStreamObject(
        qpdf.parse("<< /Length1 " + QByteArray::number(font.data().size()) + " >>"), font.data());
    const qpdf_oh descriptor = qpdf.parse(UnicodeFontParts::fontDescriptor(font));
    qpdf.setKey(descriptor, "/FontFile2", file);
    const qpdf_oh cidFont = qpdf.parse("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + font.postScriptName()
                                       + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                         " /CIDToGIDMap /Identity /W "
                                       + UnicodeFontParts::widths(font, used) + " >>");
    qpdf.setKey(cidFont, "/FontDescriptor", qpdf.makeIndirect(descriptor));
    const qpdf_oh descendants = qpdf.parse("[]");
    qpdf.appendItem(descendants, qpdf.makeIndirect(cidFont));
    const qpdf_oh type0 =
        qpdf.parse("<< /Type /Font /Subtype /Type0 /BaseFont /" + font.postScriptName() + " /Encoding /Identity-H >>");
    qpdf.setKey(type0, "/DescendantFonts", descendants);
    qpdf.setKey(type0, "/ToUnicode", qpdf.addStreamObject(qpdf.parse("<< >>"), UnicodeFontParts::toUnicodeCMap(used)));
    return qpdf.makeIndirect(type0);
}

} // namespace

QString SealAppearance::sealText(const QString& text)
{
    QString result;
    for (const QChar c : text.left(SignatureLimits::kMaxSealCharacters)) {
        const bool ascii = c.unicode() >= 32 && c.unicode() <= 126;
        result += ascii || kTurkishLetters.contains(c) ? c : QLatin1Char('?');
    }
    return result;
}

QByteArray SealAppearance::encodeAppearanceText(const QString& text, const TrueTypeFont& font, GlyphUse& used)
{
    QByteArray result;
    for (const QChar c : sealText(text)) {
        const quint16 glyph = font.glyphFor(c.unicode());
        used.emplace(glyph, c.unicode());
        result += octal(quint8(glyph >> 8)) + octal(quint8(glyph & 0xff));
    }
    return result;
}

QString SealAppearance::dateText(const QDateTime& local)
{
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"))
           + QStringLiteral(" %1%2'%3'")
                 .arg(offset >= 0 ? QLatin1Char('+') : QLatin1Char('-'))
                 .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                 .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

double SealAppearance::nameSize(const QString& firstWord, const QString& otherWords)
{
    const int longest = std::max<qsizetype>(1, std::max(firstWord.size(), otherWords.size()));
    return std::max(9.0, std::min(22.0, 112.0 / (longest * 0.66)));
}

double SealAppearance::detailSize(const QString& signer)
{
    return std::max(6.0, std::min(9.0, 126.0 / (std::max<qsizetype>(22, signer.size()) * 0.52)));
}

QByteArray SealAppearance::content(const QString& signer, const QString& date, const TrueTypeFont& font,
                                   GlyphUse& used)
{
    const SignerWords words = splitSigner(signer);
    const double name = nameSize(words.first, words.others);
    const auto enc = [&](const QString& text) { return encodeAppearanceText(text, font, used); };
    QByteArray text = "q 0 0 260 64 re W n 0 0 0 rg BT /F1 " + decimal(name) + " Tf 4 "
                      + (words.others.isEmpty() ? "26.0" : "36.0") + " Td (" + enc(words.first) + ") Tj ";
    if (!words.others.isEmpty())
        text += "0 -" + decimal(name + 4) + " Td (" + enc(words.others) + ") Tj ";
    text += kRosette + enc(QStringLiteral("e-imzalıdır")) + ") Tj ET 0 0 0 rg BT /F1 " + decimal(detailSize(signer))
            + " Tf 126 33 Td (" + enc(signer) + ") Tj 0 -12 Td (" + enc(QStringLiteral("Tarih: ") + date.left(10))
            + ") Tj 0 -12 Td (" + enc(date.mid(11)) + ") Tj ET Q";
    return text;
}

qpdf_oh SealAppearance::create(Qpdf& qpdf, const QString& signer, const QDateTime& local)
{
    const std::optional<TrueTypeFont> font = TrueTypeFont::parse(EmbeddedFont::read());
    if (!font)
        throw QpdfFailure("seal font");
    GlyphUse used;
    const QByteArray body = content(signer, dateText(local), *font, used);
    const qpdf_oh type0 = sealFont(qpdf, *font, used);
    const qpdf_oh fonts = qpdf.parse("<< >>");
    qpdf.setKey(fonts, "/F1", type0);
    qpdf.setKey(fonts, "/F2", type0);
    const qpdf_oh resources = qpdf.parse("<< >>");
    qpdf.setKey(resources, "/Font", fonts);
    const qpdf_oh form = qpdf.parse("<< /Type /XObject /Subtype /Form /BBox [0 0 260 64] >>");
    qpdf.setKey(form, "/Resources", resources);
    return qpdf.addStreamObject(form, body);
}

} // namespace velk
