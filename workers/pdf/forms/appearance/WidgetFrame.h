#pragma once

// The background and border of a widget box, drawn as common viewers draw
// them: a filled background, then a solid, dashed, underlined, beveled or
// inset border in the border colour.

#include "forms/appearance/ContentWriter.h"
#include "forms/appearance/WidgetLook.h"

namespace velk::WidgetFrame {

// The border width actually drawn: 0 without a border colour, for a
// width that is not finite and positive, and never more than half the
// box's smaller side.
double drawnBorderWidth(const WidgetLook& look, double width, double height);

// Writes the background and border of a width × height box.
void draw(ContentWriter& out, const WidgetLook& look, double width, double height);

} // namespace velk::WidgetFrame
