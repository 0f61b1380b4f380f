#include "pages/PageJobPlan.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/PagesContract.h"

namespace velk {

namespace {

constexpr qint64 kMaxAngle = 270;

QString joinedNumbers(const QList<int>& numbers)
{
    QStringList parts;
    parts.reserve(numbers.size());
    for (const int number : numbers)
        parts.append(QString::number(number));
    return parts.join(QLatin1Char(','));
}

} // namespace

std::optional<QString> PageJobPlan::rangeText(const QJsonArray& pages, int pageCount, int& selected)
{
    return rangeText(PagesRequest::indices(pages, SharedLimits::kMaxPageIndex), pageCount, selected);
}

std::optional<QString> PageJobPlan::rangeText(const QList<qint64>& pages, int pageCount, int& selected)
{
    if (pages.isEmpty()) {
        selected = pageCount;
        return QStringLiteral("1-z");
    }
    QList<int> numbers;
    numbers.reserve(pages.size());
    for (const qint64 index : pages) {
        if (index < 0 || index >= pageCount)
            return std::nullopt;
        numbers.append(int(index) + 1);
    }
    selected = int(numbers.size());
    return joinedNumbers(numbers);
}

std::optional<RotationGroups> PageJobPlan::rotationGroups(const QJsonArray& rotations)
{
    return rotationGroups(PagesRequest::indices(rotations, kMaxAngle));
}

std::optional<RotationGroups> PageJobPlan::rotationGroups(const QList<qint64>& rotations)
{
    RotationGroups groups;
    int outputPage = 0;
    for (const qint64 angle : rotations) {
        ++outputPage;
        if (angle != 0 && angle != 90 && angle != 180 && angle != 270)
            return std::nullopt;
        if (angle != 0)
            groups[int(angle)].append(outputPage);
    }
    return groups;
}

QStringList PageJobPlan::qpdfArguments(PageJobMode mode, const QList<PageSource>& sources, const QString& output,
                                       const RotationGroups& rotations)
{
    QStringList arguments{QStringLiteral("qpdf")};
    if (mode == PageJobMode::Overlay && sources.size() == 2) {
        arguments << sources[0].path << output << QStringLiteral("--overlay") << sources[1].path
                  << QStringLiteral("--");
    } else if (sources.size() == 1) {
        arguments << sources[0].path << output << QStringLiteral("--pages") << QStringLiteral(".")
                  << sources[0].rangeText << QStringLiteral("--");
    } else {
        arguments << QStringLiteral("--empty") << output << QStringLiteral("--pages");
        for (const PageSource& source : sources)
            arguments << source.path << source.rangeText;
        arguments << QStringLiteral("--");
    }
    // QMap iterates its keys in ascending order: 90, 180, 270.
    for (auto group = rotations.cbegin(); group != rotations.cend(); ++group) {
        arguments << QStringLiteral("--rotate=+%1:%2").arg(group.key()).arg(joinedNumbers(group.value()));
    }
    return arguments;
}

} // namespace velk
