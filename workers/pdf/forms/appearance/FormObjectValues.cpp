#include "forms/appearance/FormObjectValues.h"

#include <cmath>
#include <limits>

namespace velk::FormObjectValues {

std::optional<double> number(Qpdf& qpdf, qpdf_oh handle)
{
    const std::optional<double> value = qpdf.numberValue(handle);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<int> integer(Qpdf& qpdf, qpdf_oh handle)
{
    const std::optional<double> value = number(qpdf, handle);
    if (!value || *value != std::floor(*value) || *value < std::numeric_limits<int>::min()
        || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*value);
}

QByteArray name(Qpdf& qpdf, qpdf_oh handle)
{
    return qpdf.nameValue(handle);
}

std::optional<QList<double>> numbers(Qpdf& qpdf, qpdf_oh handle, int maxCount)
{
    if (!qpdf.isArray(handle))
        return std::nullopt;
    const int count = qpdf.arraySize(handle);
    if (count > maxCount)
        return std::nullopt;
    QList<double> values;
    for (int index = 0; index < count; ++index) {
        const std::optional<double> value = number(qpdf, qpdf.arrayItem(handle, index));
        if (!value)
            return std::nullopt;
        values << *value;
    }
    return values;
}

std::optional<QString> text(Qpdf& qpdf, qpdf_oh handle)
{
    if (!qpdf.isString(handle))
        return std::nullopt;
    return qpdf.utf8Value(handle);
}

} // namespace velk::FormObjectValues
