#include "forms/appearance/WidgetLookReader.h"

#include "forms/appearance/AppearanceRewriteLimits.h"
#include "forms/appearance/ChoiceValues.h"
#include "forms/appearance/DefaultAppearance.h"
#include "forms/appearance/FormObjectValues.h"

#include "worker/contract/PdfiumCodes.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

using namespace AppearanceRewriteLimits;
using namespace FormObjectValues;

constexpr int kMultilineFlag = FormFieldFlags::kMultiline;
constexpr int kPasswordFlag = FormFieldFlags::kPassword;
constexpr int kCombFlag = FormFieldFlags::kComb;

[[noreturn]] void unreadable()
{
    throw QpdfFailure("unreadable widget");
}

// Colours have 0, 1, 3 or 4 components; anything else is no colour.
QList<double> colour(Qpdf& qpdf, qpdf_oh handle)
{
    const std::optional<QList<double>> values = numbers(qpdf, handle, kMaxSmallArray);
    if (!values || values->size() == 2 || values->size() > 4)
        return {};
    QList<double> clamped;
    for (const double value : *values)
        clamped << std::clamp(value, 0.0, 1.0);
    return clamped;
}

int rotationOf(Qpdf& qpdf, qpdf_oh mk)
{
    const std::optional<int> value = integer(qpdf, qpdf.key(mk, "/R"));
    if (!value)
        return 0;
    const int turned = ((*value % 360) + 360) % 360;
    return turned % 90 == 0 ? turned : 0;
}

BorderStyle borderStyleOf(const QByteArray& name)
{
    if (name == "/D")
        return BorderStyle::Dashed;
    if (name == "/B")
        return BorderStyle::Beveled;
    if (name == "/I")
        return BorderStyle::Inset;
    if (name == "/U")
        return BorderStyle::Underline;
    return BorderStyle::Solid;
}

void readBox(Qpdf& qpdf, qpdf_oh widget, WidgetLook& look)
{
    const std::optional<QList<double>> rect = numbers(qpdf, qpdf.key(widget, "/Rect"), kMaxSmallArray);
    if (!rect || rect->size() != 4)
        unreadable();
    look.width = std::abs(rect->at(2) - rect->at(0));
    look.height = std::abs(rect->at(3) - rect->at(1));
    const qpdf_oh mk = qpdf.key(widget, "/MK");
    if (qpdf.isDictionary(mk)) {
        look.rotation = rotationOf(qpdf, mk);
        look.background = colour(qpdf, qpdf.key(mk, "/BG"));
        look.borderColour = colour(qpdf, qpdf.key(mk, "/BC"));
    }
}

void readBorder(Qpdf& qpdf, qpdf_oh widget, WidgetLook& look)
{
    const qpdf_oh bs = qpdf.key(widget, "/BS");
    if (qpdf.isDictionary(bs)) {
        if (const std::optional<double> width = number(qpdf, qpdf.key(bs, "/W")); width && *width >= 0)
            look.borderWidth = *width;
        look.borderStyle = borderStyleOf(name(qpdf, qpdf.key(bs, "/S")));
        if (const std::optional<QList<double>> dash = numbers(qpdf, qpdf.key(bs, "/D"), kMaxSmallArray);
            dash && !dash->isEmpty())
            look.dash = *dash;
        return;
    }
    const qpdf_oh border = qpdf.key(widget, "/Border");
    if (!qpdf.isArray(border) || qpdf.arraySize(border) < 3 || qpdf.arraySize(border) > 4)
        return;
    if (const std::optional<double> width = number(qpdf, qpdf.arrayItem(border, 2)); width && *width >= 0)
        look.borderWidth = *width;
    if (qpdf.arraySize(border) == 4) {
        if (const std::optional<QList<double>> dash = numbers(qpdf, qpdf.arrayItem(border, 3), kMaxSmallArray);
            dash && !dash->isEmpty()) {
            look.dash = *dash;
            look.borderStyle = BorderStyle::Dashed;
        }
    }
}

// The entry from the field chain, else from the form; 0 when neither has it.
qpdf_oh inheritedOrForm(Qpdf& qpdf, const FieldChain& chain, qpdf_oh acroForm, const char* key)
{
    const qpdf_oh owner = chain.inherited(qpdf, key);
    if (owner)
        return qpdf.key(owner, key);
    if (qpdf.isDictionary(acroForm) && qpdf.hasKey(acroForm, key))
        return qpdf.key(acroForm, key);
    return 0;
}

void readTextStyle(Qpdf& qpdf, const FieldChain& chain, qpdf_oh acroForm, WidgetLook& look)
{
    const qpdf_oh da = inheritedOrForm(qpdf, chain, acroForm, "/DA");
    const DefaultAppearance appearance =
        DefaultAppearance::parse(da ? text(qpdf, da).value_or(QString()).toUtf8() : QByteArray());
    look.fontSize = appearance.fontSize;
    look.textColour = appearance.textColour;
    const qpdf_oh q = inheritedOrForm(qpdf, chain, acroForm, "/Q");
    const int quadding = q ? integer(qpdf, q).value_or(0) : 0;
    look.quadding = quadding >= 0 && quadding <= 2 ? quadding : 0;
}

int inheritedInteger(Qpdf& qpdf, const FieldChain& chain, const char* key)
{
    const qpdf_oh owner = chain.inherited(qpdf, key);
    return owner ? integer(qpdf, qpdf.key(owner, key)).value_or(0) : 0;
}

void readTextField(Qpdf& qpdf, const FieldChain& chain, WidgetLook& look)
{
    const int flags = inheritedInteger(qpdf, chain, "/Ff");
    look.multiline = (flags & kMultilineFlag) != 0;
    look.password = (flags & kPasswordFlag) != 0;
    look.comb = (flags & kCombFlag) != 0;
    look.maxLength = std::clamp(inheritedInteger(qpdf, chain, "/MaxLen"), 0, kMaxValueUnits);
    const qpdf_oh owner = chain.inherited(qpdf, "/V");
    look.text = owner ? text(qpdf, qpdf.key(owner, "/V")).value_or(QString()) : QString();
    if (look.text.size() > kMaxValueUnits)
        unreadable();
}

using ChoiceValues::ChoiceOption;

QList<ChoiceOption> optionsOf(Qpdf& qpdf, const FieldChain& chain)
{
    const std::optional<QList<ChoiceOption>> options = ChoiceValues::options(qpdf, chain);
    if (!options)
        throw QpdfFailure("options mismatch");
    return *options;
}

// The display label of each option: a string, or the second entry of an
// [export display] pair.
QStringList labelsOf(const QList<ChoiceOption>& options)
{
    QStringList labels;
    for (const ChoiceOption& option : options)
        labels << option.label;
    return labels;
}

void setListLines(Qpdf& qpdf, const FieldChain& chain, const QStringList& labels, const QList<int>& selected,
                  WidgetLook& look)
{
    look.options = labels;
    look.selected = selected;
    const int top = inheritedInteger(qpdf, chain, "/TI");
    look.topIndex = labels.isEmpty() ? 0 : std::clamp(top, 0, int(labels.size()) - 1);
}

void readChoice(Qpdf& qpdf, const FieldChain& chain, const FilledWidget& filled, WidgetLook& look)
{
    const QStringList labels = labelsOf(optionsOf(qpdf, chain));
    QList<int> selected = filled.selection;
    std::sort(selected.begin(), selected.end());
    for (const int index : selected) {
        if (index < 0 || index >= labels.size())
            throw QpdfFailure("options mismatch");
    }
    if (filled.kind == WidgetKind::Combo) {
        if (selected.size() != 1)
            throw QpdfFailure("options mismatch");
        look.text = labels.at(selected.first());
        return;
    }
    setListLines(qpdf, chain, labels, selected, look);
}

// A combo box shows its stored text even without options (an editable
// one); a list box needs its options.
void readStoredChoice(Qpdf& qpdf, const FieldChain& chain, WidgetLook& look)
{
    if (look.kind == WidgetKind::Combo) {
        const std::optional<QList<ChoiceOption>> options = ChoiceValues::options(qpdf, chain);
        look.text = ChoiceValues::shownComboText(qpdf, chain, options.value_or(QList<ChoiceOption>()));
        if (look.text.size() > kMaxValueUnits)
            unreadable();
        return;
    }
    const QList<ChoiceOption> options = optionsOf(qpdf, chain);
    setListLines(qpdf, chain, labelsOf(options), ChoiceValues::storedListSelection(qpdf, chain, options), look);
}

WidgetLook readFrame(Qpdf& qpdf, qpdf_oh widget, const FieldChain& chain, qpdf_oh acroForm, WidgetKind kind)
{
    WidgetLook look;
    look.kind = kind;
    readBox(qpdf, widget, look);
    readBorder(qpdf, widget, look);
    readTextStyle(qpdf, chain, acroForm, look);
    return look;
}

} // namespace

WidgetLook readWidgetLook(Qpdf& qpdf, qpdf_oh widget, const FieldChain& chain, qpdf_oh acroForm,
                          const FilledWidget& filled)
{
    WidgetLook look = readFrame(qpdf, widget, chain, acroForm, filled.kind);
    if (filled.kind == WidgetKind::Text)
        readTextField(qpdf, chain, look);
    else
        readChoice(qpdf, chain, filled, look);
    return look;
}

WidgetLook readStoredWidgetLook(Qpdf& qpdf, qpdf_oh widget, const FieldChain& chain, qpdf_oh acroForm,
                                WidgetKind kind)
{
    WidgetLook look = readFrame(qpdf, widget, chain, acroForm, kind);
    if (kind == WidgetKind::Text)
        readTextField(qpdf, chain, look);
    else
        readStoredChoice(qpdf, chain, look);
    return look;
}

} // namespace velk
