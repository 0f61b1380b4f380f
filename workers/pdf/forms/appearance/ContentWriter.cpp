#include "forms/appearance/ContentWriter.h"

#include <algorithm>
#include <cmath>

namespace velk {

QByteArray ContentWriter::number(double value)
{
    if (!std::isfinite(value))
        return "0";
    QByteArray text = QByteArray::number(value, 'f', 4);
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    // Rounding can leave "-0", which is still zero.
    if (text == "-0")
        return "0";
    return text;
}

bool ContentWriter::isColour(const QList<double>& colour)
{
    const qsizetype count = colour.size();
    if (count != 1 && count != 3 && count != 4)
        return false;
    return std::all_of(colour.begin(), colour.end(), [](double component) { return std::isfinite(component); });
}

void ContentWriter::operation(std::initializer_list<double> operands, const char* name)
{
    operation(QList<double>(operands), name);
}

void ContentWriter::operation(const QList<double>& operands, const char* name)
{
    for (const double operand : operands) {
        m_content += number(operand);
        m_content += ' ';
    }
    m_content += name;
    m_content += '\n';
}

void ContentWriter::fillColour(const QList<double>& colour)
{
    this->colour(colour, "g", "rg", "k");
}

void ContentWriter::strokeColour(const QList<double>& colour)
{
    this->colour(colour, "G", "RG", "K");
}

void ContentWriter::colour(const QList<double>& colour, const char* gray, const char* rgb, const char* cmyk)
{
    if (!isColour(colour))
        return;
    QList<double> clamped;
    clamped.reserve(colour.size());
    for (const double component : colour)
        clamped.append(std::clamp(component, 0.0, 1.0));
    const char* name = colour.size() == 1 ? gray : colour.size() == 3 ? rgb : cmyk;
    operation(clamped, name);
}

void ContentWriter::showGlyphs(const QList<quint16>& glyphs)
{
    m_content += '<';
    for (const quint16 glyph : glyphs)
        m_content += QByteArray::number(glyph, 16).rightJustified(4, '0').toUpper();
    m_content += "> Tj\n";
}

void ContentWriter::raw(const QByteArray& text)
{
    m_content += text;
}

} // namespace velk
