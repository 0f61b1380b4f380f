#pragma once

// Everything that decides how one filled text, combo or list widget looks,
// read from the widget, its field (with inheritance) and the form's
// defaults. Plain values: the reader fills it from the document, the
// appearance builder turns it into a content stream.

#include <QList>
#include <QString>
#include <QStringList>

namespace velk {

// Resource name under which appearance streams reach the embedded font.
inline constexpr char kAppearanceFontResource[] = "VelkUnicode";

enum class WidgetKind { Text, Combo, List };

enum class BorderStyle { Solid, Dashed, Beveled, Inset, Underline };

struct WidgetLook {
    WidgetKind kind = WidgetKind::Text;

    // The annotation rectangle's size in points, as on the page (before
    // the widget's own rotation).
    double width = 0;
    double height = 0;
    // /MK /R: 0, 90, 180 or 270 (anything else reads as 0).
    int rotation = 0;

    // Colours as PDF gives them: 0 components none, 1 gray, 3 RGB, 4 CMYK.
    QList<double> background;   // /MK /BG
    QList<double> borderColour; // /MK /BC
    double borderWidth = 1;     // /BS /W, else /Border's third entry; 0 draws no border
    BorderStyle borderStyle = BorderStyle::Solid;
    QList<double> dash{3};      // /BS /D

    // From the default appearance string: 0 means "fit the box".
    double fontSize = 0;
    QList<double> textColour{0};
    // /Q: 0 left, 1 centred, 2 right.
    int quadding = 0;

    // Text fields.
    bool multiline = false;
    bool password = false;
    bool comb = false;
    int maxLength = 0;
    // Text: the field's value; Combo: the label of the chosen option.
    QString text;

    // List boxes: every option label, the chosen indices (ascending) and
    // the first option shown (/TI).
    QStringList options;
    QList<int> selected;
    int topIndex = 0;
};

} // namespace velk
