#include "document/view/ZoomSteps.h"

#include <QRegularExpression>

#include <array>
#include <cmath>

namespace velk {

namespace {

constexpr std::array<double, 12> kSteps{0.5, 0.67, 0.75, 0.9, 1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 3.0, 4.0};
// A factor within this of a step counts as that step, so the percentage a
// fit mode happens to give does not stop a step short.
constexpr double kSameStep = 0.005;

} // namespace

double ZoomSteps::larger(double factor)
{
    for (double step : kSteps) {
        if (step > factor + kSameStep)
            return step;
    }
    return kSteps.back();
}

double ZoomSteps::smaller(double factor)
{
    for (auto step = kSteps.rbegin(); step != kSteps.rend(); ++step) {
        if (*step < factor - kSameStep)
            return *step;
    }
    return kSteps.front();
}

QString ZoomSteps::text(double factor)
{
    return QStringLiteral("%%1").arg(std::lround(factor * 100.0));
}

std::optional<double> ZoomSteps::parse(const QString& text)
{
    static const QRegularExpression kPercent(
        QStringLiteral("^\\s*(?:%\\s*)?(\\d{1,4}(?:[.,]\\d{1,2})?)\\s*(?:%\\s*)?$"));
    const QRegularExpressionMatch match = kPercent.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    // One percent sign at most, on either side.
    if (text.count(QLatin1Char('%')) > 1)
        return std::nullopt;
    QString number = match.captured(1);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double factor = number.toDouble(&ok) / 100.0;
    if (!ok || !std::isfinite(factor) || factor < kMinFactor || factor > kMaxFactor)
        return std::nullopt;
    return factor;
}

} // namespace velk
