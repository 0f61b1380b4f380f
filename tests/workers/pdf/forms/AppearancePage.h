#pragma once

// A page that shows generated appearances the way a reader meets them:
// each appearance a form XObject drawn at its place on the page, the text
// in one Type0 (Identity-H) font that embeds the real font file, built
// from the same font parts the worker writes. Rendered by poppler, an
// independent judge of what the streams draw.

#include "forms/appearance/AppearanceStream.h"
#include "forms/appearance/GlyphMetrics.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QSizeF>

namespace velk {
class TrueTypeFont;
}

namespace velk::test {

struct PlacedAppearance {
    AppearanceForm form;
    // Where the form's rectangle has its lower left corner on the page.
    QPointF origin;
};

// The whole file: one page of the size showing every placed appearance;
// the font's /W and ToUnicode cover the used glyphs.
QByteArray appearancePdf(const QSizeF& pageSize, const QList<PlacedAppearance>& placed, const GlyphUse& used,
                         const TrueTypeFont& font);

} // namespace velk::test
