#include "forms/appearance/WidgetFrame.h"

#include "forms/appearance/AppearanceLimits.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace velk::WidgetFrame {

namespace {

struct Point {
    double x;
    double y;
};

void fillPolygon(ContentWriter& out, std::initializer_list<Point> points)
{
    const char* verb = "m";
    for (const Point& point : points) {
        out.operation({point.x, point.y}, verb);
        verb = "l";
    }
    out.raw("h f\n");
}

// Dash lengths as written when they make a pattern; the usual 3-on-3-off
// otherwise.
QList<double> dashPattern(const QList<double>& dash)
{
    const bool usable = !dash.isEmpty() && dash.size() <= AppearanceLimits::kMaxDashEntries
        && std::all_of(dash.begin(), dash.end(), [](double d) { return std::isfinite(d) && d >= 0; })
        && std::any_of(dash.begin(), dash.end(), [](double d) { return d > 0; });
    return usable ? dash : QList<double>{3};
}

void drawDashed(ContentWriter& out, const WidgetLook& look, double b, double w, double h)
{
    out.strokeColour(look.borderColour);
    out.operation({b}, "w");
    out.raw("[");
    for (const double d : dashPattern(look.dash))
        out.raw(ContentWriter::number(d) + ' ');
    out.raw("] 0 d\n");
    out.operation({b / 2, b / 2, w - b, h - b}, "re");
    out.raw("S\n");
}

// The lighter strip along the top and left inside the frame, the darker
// one along the bottom and right, each b wide.
void drawBevel(ContentWriter& out, const QList<double>& light, const QList<double>& dark, double b, double w,
               double h)
{
    out.fillColour(light);
    fillPolygon(out, {{b, b}, {b, h - b}, {w - b, h - b}, {w - 2 * b, h - 2 * b}, {2 * b, h - 2 * b}, {2 * b, 2 * b}});
    out.fillColour(dark);
    fillPolygon(out, {{w - b, h - b}, {w - b, b}, {b, b}, {2 * b, 2 * b}, {w - 2 * b, 2 * b}, {w - 2 * b, h - 2 * b}});
}

// The background at three quarters of its brightness; a widget without a
// background reads as white.
QList<double> darkened(const QList<double>& background)
{
    if (!ContentWriter::isColour(background))
        return {0.75};
    QList<double> colour;
    for (const double component : background)
        colour.append(std::clamp(component, 0.0, 1.0));
    if (colour.size() == 4) {
        colour[3] = 1 - 0.75 * (1 - colour[3]);
        return colour;
    }
    for (double& component : colour)
        component *= 0.75;
    return colour;
}

} // namespace

double drawnBorderWidth(const WidgetLook& look, double width, double height)
{
    const double b = look.borderWidth;
    if (!ContentWriter::isColour(look.borderColour) || !std::isfinite(b) || b <= 0)
        return 0;
    return std::min(b, std::min(width, height) / 2);
}

void draw(ContentWriter& out, const WidgetLook& look, double width, double height)
{
    if (ContentWriter::isColour(look.background)) {
        out.fillColour(look.background);
        out.operation({0, 0, width, height}, "re");
        out.raw("f\n");
    }
    const double b = drawnBorderWidth(look, width, height);
    if (b <= 0)
        return;
    switch (look.borderStyle) {
    case BorderStyle::Dashed:
        drawDashed(out, look, b, width, height);
        return;
    case BorderStyle::Underline:
        out.fillColour(look.borderColour);
        out.operation({0, 0, width, b}, "re");
        out.raw("f\n");
        return;
    case BorderStyle::Solid:
    case BorderStyle::Beveled:
    case BorderStyle::Inset:
        break;
    }
    out.fillColour(look.borderColour);
    out.operation({0, 0, width, height}, "re");
    out.operation({b, b, width - 2 * b, height - 2 * b}, "re");
    out.raw("f*\n");
    if (look.borderStyle == BorderStyle::Beveled)
        drawBevel(out, {1}, darkened(look.background), b, width, height);
    else if (look.borderStyle == BorderStyle::Inset)
        drawBevel(out, {0.5}, {0.75}, b, width, height);
}

} // namespace velk::WidgetFrame
