#pragma once

// The options of a choice field and what it holds now, read through qpdf
// along its field chain: the text a combo box shows for its /V, and the
// options a list box has selected by /I or /V. Used when a field no
// request filled gets a new appearance; nothing here throws for a field
// that merely holds odd values.

#include "forms/appearance/FieldChain.h"

#include <QList>
#include <QString>

#include <optional>

namespace velk::ChoiceValues {

struct ChoiceOption {
    // What /V holds when the option is chosen; the label for a plain entry.
    QString exportValue;
    QString label;
};

// Every option of the field (/Opt, inherited): a text string, or an
// [export label] pair whose label is a text string. Nothing when /Opt is
// absent, longer than the options a form may hold, or has another entry.
std::optional<QList<ChoiceOption>> options(Qpdf& qpdf, const FieldChain& chain);

// The label of the first option whose export value equals /V, else of the
// first whose label does, else /V itself (an editable combo's own text);
// empty when /V is no text string.
QString shownComboText(Qpdf& qpdf, const FieldChain& chain, const QList<ChoiceOption>& options);

// /I when it is a non-empty array of option indices, else every option
// whose export value equals /V (one text string or an array of them).
// Ascending, each index once.
QList<int> storedListSelection(Qpdf& qpdf, const FieldChain& chain, const QList<ChoiceOption>& options);

} // namespace velk::ChoiceValues
