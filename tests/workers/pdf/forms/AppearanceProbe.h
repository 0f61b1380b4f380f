#pragma once

// What the appearance tests read out of a generated content stream: its
// operators with their operands, the glyphs each Tj shows decoded back to
// text, and the small font the layout tests measure with (fixed advances,
// a handful of letters), so that every expected position can be worked
// out by hand; and the looks and readings the appearance tests share.

#include "forms/appearance/AppearanceStream.h"
#include "forms/appearance/GlyphMetrics.h"
#include "forms/appearance/WidgetLook.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velk::test {

// Ascent 800, descent -200 (a line is exactly one size high); the space
// 250 wide, W 1000, every other glyph (the missing one too) 500.
class HandMetrics final : public GlyphMetrics {
public:
    quint16 glyphFor(char32_t codePoint) const override;
    double advance(quint16 glyph) const override;
    double ascent() const override { return 800; }
    double descent() const override { return -200; }

    // The text a list of glyph ids stands for; '?' for glyphs not in the
    // table.
    static QString textOf(const QList<quint16>& glyphs);
};

struct ContentOp {
    QByteArray name;
    QList<QByteArray> operands;
    // Operands read as numbers (0 for names, strings and arrays).
    QList<double> numbers() const;
};

QList<ContentOp> contentOps(const QByteArray& content);
// Operators of one name, in stream order.
QList<ContentOp> opsNamed(const QList<ContentOp>& ops, const QByteArray& name);
// The glyph ids of a hex string operand "<0001000A>"; empty when malformed.
QList<quint16> hexGlyphs(const QByteArray& operand);
// The text of every Tj, decoded through HandMetrics, in stream order.
QStringList shownTexts(const QList<ContentOp>& ops);

// A text field of the size with the text, measured at fontSize.
WidgetLook textLook(const QString& text, double width = 100, double height = 20, double fontSize = 10);
// A list box 100 wide at 10 points.
WidgetLook listLook(const QStringList& options, const QList<int>& selected, int topIndex, double height);
// The appearance measured with HandMetrics; glyphs recorded into used.
AppearanceForm built(const WidgetLook& look, GlyphUse* used = nullptr);
QList<ContentOp> opsOf(const WidgetLook& look);

// The size of the only Tf; -1 when there is not exactly one.
double fontSizeOf(const QList<ContentOp>& ops);
// x (or with operand 5 the baseline) of each Tm, in stream order.
QList<double> startsOf(const QList<ContentOp>& ops, int operand = 4);
QList<double> baselinesOf(const QList<ContentOp>& ops);
// Operands of every re after the operator from and before the operator to.
QList<QList<double>> rectanglesBetween(const QList<ContentOp>& ops, const QByteArray& from, const QByteArray& to);
// Same length, each within 0.0001 (four decimals written).
bool nearly(const QList<double>& actual, const QList<double>& expected);
QByteArray listed(const QList<double>& values);

} // namespace velk::test
