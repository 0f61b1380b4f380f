#include "forms/appearance/ChoiceValues.h"

#include "forms/appearance/AppearanceRewriteLimits.h"
#include "forms/appearance/FormObjectValues.h"

#include <algorithm>
#include <cmath>

namespace velk::ChoiceValues {

namespace {

using namespace AppearanceRewriteLimits;

// The field's entry along the chain; the null object when none has it.
qpdf_oh fieldEntry(Qpdf& qpdf, const FieldChain& chain, const char* key)
{
    const qpdf_oh owner = chain.inherited(qpdf, key);
    return owner ? qpdf.key(owner, key) : qpdf.parse("null");
}

std::optional<ChoiceOption> optionOf(Qpdf& qpdf, qpdf_oh item)
{
    if (qpdf.isArray(item) && qpdf.arraySize(item) == 2) {
        const std::optional<QString> label = FormObjectValues::text(qpdf, qpdf.arrayItem(item, 1));
        if (!label || label->size() > kMaxValueUnits)
            return std::nullopt;
        // An export value of another kind is never what /V holds.
        QString exported = FormObjectValues::text(qpdf, qpdf.arrayItem(item, 0)).value_or(QString());
        if (exported.size() > kMaxValueUnits)
            exported.clear();
        return ChoiceOption{exported, *label};
    }
    const std::optional<QString> label = FormObjectValues::text(qpdf, item);
    if (!label || label->size() > kMaxValueUnits)
        return std::nullopt;
    return ChoiceOption{*label, *label};
}

// /V as the texts it names: one text string or an array of them (other
// entries of the array name nothing).
QStringList storedValues(Qpdf& qpdf, const FieldChain& chain)
{
    const qpdf_oh value = fieldEntry(qpdf, chain, "/V");
    if (!qpdf.isArray(value)) {
        const std::optional<QString> text = FormObjectValues::text(qpdf, value);
        return text ? QStringList{*text} : QStringList{};
    }
    const int count = qpdf.arraySize(value);
    if (count > kMaxOptions)
        return {};
    QStringList values;
    for (int index = 0; index < count; ++index) {
        if (const std::optional<QString> text = FormObjectValues::text(qpdf, qpdf.arrayItem(value, index)))
            values << *text;
    }
    return values;
}

std::optional<QList<int>> indexSelection(Qpdf& qpdf, const FieldChain& chain, int optionCount)
{
    const qpdf_oh indices = fieldEntry(qpdf, chain, "/I");
    const std::optional<QList<double>> values = FormObjectValues::numbers(qpdf, indices, kMaxOptions);
    if (!values || values->isEmpty())
        return std::nullopt;
    QList<int> selection;
    for (const double value : *values) {
        if (value < 0 || value >= optionCount || value != std::floor(value))
            return std::nullopt;
        selection << int(value);
    }
    return selection;
}

} // namespace

std::optional<QList<ChoiceOption>> options(Qpdf& qpdf, const FieldChain& chain)
{
    const qpdf_oh entries = fieldEntry(qpdf, chain, "/Opt");
    if (!qpdf.isArray(entries) || qpdf.arraySize(entries) > kMaxOptions)
        return std::nullopt;
    QList<ChoiceOption> result;
    for (int index = 0; index < qpdf.arraySize(entries); ++index) {
        const std::optional<ChoiceOption> option = optionOf(qpdf, qpdf.arrayItem(entries, index));
        if (!option)
            return std::nullopt;
        result << *option;
    }
    return result;
}

QString shownComboText(Qpdf& qpdf, const FieldChain& chain, const QList<ChoiceOption>& options)
{
    const std::optional<QString> stored = FormObjectValues::text(qpdf, fieldEntry(qpdf, chain, "/V"));
    if (!stored)
        return {};
    for (const ChoiceOption& option : options) {
        if (option.exportValue == *stored)
            return option.label;
    }
    for (const ChoiceOption& option : options) {
        if (option.label == *stored)
            return option.label;
    }
    return *stored;
}

QList<int> storedListSelection(Qpdf& qpdf, const FieldChain& chain, const QList<ChoiceOption>& options)
{
    QList<int> selection;
    if (const std::optional<QList<int>> indices = indexSelection(qpdf, chain, int(options.size()))) {
        selection = *indices;
    } else {
        const QStringList values = storedValues(qpdf, chain);
        for (int index = 0; index < options.size(); ++index) {
            if (values.contains(options.at(index).exportValue))
                selection << index;
        }
    }
    std::sort(selection.begin(), selection.end());
    selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    return selection;
}

} // namespace velk::ChoiceValues
