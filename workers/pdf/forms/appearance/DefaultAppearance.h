#pragma once

// The parts of a default appearance string (/DA, e.g. "/Helv 12 Tf 0 0 1
// rg") that a generated appearance keeps: the font size and the text
// colour. The font itself is replaced by the embedded Unicode font.

#include <QByteArray>
#include <QList>

namespace velk {

struct DefaultAppearance {
    // 0: fit the box (also when absent, negative or not finite).
    double fontSize = 0;
    // 1 gray, 3 RGB or 4 CMYK components, each clamped to 0..1; black
    // when the string sets no colour.
    QList<double> textColour{0};

    // The last Tf and the last g/rg/k win, as when the string is run.
    // Bounded: a string over 4,096 bytes reads as the defaults.
    static DefaultAppearance parse(const QByteArray& text);
};

} // namespace velk
