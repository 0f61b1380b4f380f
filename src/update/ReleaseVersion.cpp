#include "update/ReleaseVersion.h"

#include "update/UpdateLimits.h"

#include <QRegularExpression>

namespace velk {

std::optional<ReleaseVersion> parseVersion(const QString& text)
{
    // Anchored on the whole text: '$' alone would also pass a final line feed.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("(0|[1-9][0-9]{0,5})\\.(0|[1-9][0-9]{0,5})\\.(0|[1-9][0-9]{0,5})")));
    if (text.size() > UpdateLimits::kMaxVersionLength)
        return std::nullopt;
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    // Six digits at most, so every component fits an int.
    return ReleaseVersion{match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()};
}

} // namespace velk
