#include "AppearanceProbe.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <utility>

namespace velk::test {

namespace {

constexpr std::array<std::pair<char32_t, quint16>, 11> kGlyphs{{
    {U'A', 1},
    {U'B', 2},
    {U'C', 3},
    {U' ', 4},
    {U'*', 5},
    {U'ğ', 6},
    {U'ı', 7},
    {U'İ', 8},
    {U'ş', 9},
    {0x1F600, 10},
    {U'W', 11},
}};

bool isOperand(const QByteArray& token)
{
    const char first = token.front();
    return (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.' || first == '/'
        || first == '<' || first == '[';
}

} // namespace

quint16 HandMetrics::glyphFor(char32_t codePoint) const
{
    for (const auto& [c, glyph] : kGlyphs) {
        if (c == codePoint)
            return glyph;
    }
    return 0;
}

double HandMetrics::advance(quint16 glyph) const
{
    return glyph == 4 ? 250 : glyph == 11 ? 1000 : 500;
}

QString HandMetrics::textOf(const QList<quint16>& glyphs)
{
    QString text;
    for (const quint16 glyph : glyphs) {
        char32_t shown = U'?';
        for (const auto& [c, g] : kGlyphs) {
            if (g == glyph)
                shown = c;
        }
        text += QString::fromUcs4(&shown, 1);
    }
    return text;
}

QList<double> ContentOp::numbers() const
{
    QList<double> values;
    for (const QByteArray& operand : operands)
        values.append(operand.toDouble());
    return values;
}

QList<ContentOp> contentOps(const QByteArray& content)
{
    QList<ContentOp> ops;
    QList<QByteArray> operands;
    const QList<QByteArray> tokens = content.simplified().split(' ');
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        QByteArray token = tokens.at(i);
        if (token.isEmpty())
            continue;
        // Arrays ("[2 1 ]") are one operand.
        while (token.startsWith('[') && !token.endsWith(']') && i + 1 < tokens.size())
            token += ' ' + tokens.at(++i);
        if (isOperand(token)) {
            operands.append(token);
        } else {
            ops.append({token, operands});
            operands.clear();
        }
    }
    return ops;
}

QList<ContentOp> opsNamed(const QList<ContentOp>& ops, const QByteArray& name)
{
    QList<ContentOp> named;
    for (const ContentOp& op : ops) {
        if (op.name == name)
            named.append(op);
    }
    return named;
}

QList<quint16> hexGlyphs(const QByteArray& operand)
{
    if (!operand.startsWith('<') || !operand.endsWith('>') || (operand.size() - 2) % 4 != 0)
        return {};
    QList<quint16> glyphs;
    for (qsizetype at = 1; at + 4 < operand.size(); at += 4) {
        bool ok = false;
        glyphs.append(quint16(operand.mid(at, 4).toUInt(&ok, 16)));
        if (!ok)
            return {};
    }
    return glyphs;
}

QStringList shownTexts(const QList<ContentOp>& ops)
{
    QStringList texts;
    for (const ContentOp& op : opsNamed(ops, "Tj"))
        texts.append(HandMetrics::textOf(hexGlyphs(op.operands.value(0))));
    return texts;
}

WidgetLook textLook(const QString& text, double width, double height, double fontSize)
{
    WidgetLook look;
    look.width = width;
    look.height = height;
    look.fontSize = fontSize;
    look.text = text;
    return look;
}

WidgetLook listLook(const QStringList& options, const QList<int>& selected, int topIndex, double height)
{
    WidgetLook look = textLook({}, 100, height);
    look.kind = WidgetKind::List;
    look.options = options;
    look.selected = selected;
    look.topIndex = topIndex;
    return look;
}

AppearanceForm built(const WidgetLook& look, GlyphUse* used)
{
    GlyphUse ignored;
    return buildAppearance(look, HandMetrics(), used ? *used : ignored);
}

QList<ContentOp> opsOf(const WidgetLook& look)
{
    return contentOps(built(look).content);
}

double fontSizeOf(const QList<ContentOp>& ops)
{
    const QList<ContentOp> tf = opsNamed(ops, "Tf");
    return tf.size() == 1 ? tf[0].numbers().value(1, -1) : -1;
}

QList<double> startsOf(const QList<ContentOp>& ops, int operand)
{
    QList<double> starts;
    for (const ContentOp& op : opsNamed(ops, "Tm"))
        starts.append(op.numbers().value(operand));
    return starts;
}

QList<double> baselinesOf(const QList<ContentOp>& ops)
{
    return startsOf(ops, 5);
}

QList<QList<double>> rectanglesBetween(const QList<ContentOp>& ops, const QByteArray& from, const QByteArray& to)
{
    QList<QList<double>> rectangles;
    bool inside = false;
    for (const ContentOp& op : ops) {
        if (op.name == from)
            inside = true;
        else if (op.name == to)
            break;
        else if (inside && op.name == "re")
            rectangles.append(op.numbers());
    }
    return rectangles;
}

bool nearly(const QList<double>& actual, const QList<double>& expected)
{
    if (actual.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (std::abs(actual[i] - expected[i]) > 0.0001)
            return false;
    }
    return true;
}

QByteArray listed(const QList<double>& values)
{
    QByteArray text;
    for (const double value : values)
        text += QByteArray::number(value) + ' ';
    return text;
}

} // namespace velk::test
