#pragma once

// The zoom factors the page view steps through with Ctrl+wheel and
// Ctrl+plus/minus, and the way a factor is written and read back in the zoom
// box: the Turkish way, the percent sign first ("%150"). Pure arithmetic for
// the GUI thread; a factor of 1.0 is 100 % (one PDF point is 96/72 logical
// pixels).

#include <QString>

#include <optional>

namespace velk {

class ZoomSteps {
public:
    // Bounds of any factor the view accepts, typed or stepped.
    static constexpr double kMinFactor = 0.25;
    static constexpr double kMaxFactor = 4.0;

    // The first step above / below the factor (a factor between two steps
    // goes to the nearer one in that direction); the last / first step when
    // there is none.
    static double larger(double factor);
    static double smaller(double factor);

    // "%150" for 1.5; whole percentages.
    static QString text(double factor);
    // Reads "%150", "% 150", "150%", "150" and "150,5"; nothing for text that
    // is not a percentage or lies outside the factor bounds.
    static std::optional<double> parse(const QString& text);
};

} // namespace velk
