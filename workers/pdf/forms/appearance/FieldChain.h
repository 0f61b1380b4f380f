#pragma once

// A widget's way up the field tree: the widget itself, then each /Parent
// up to the root field, with the field (the first dictionary carrying /T)
// marked. Inherited entries are looked up along it. Also the widgets of a
// field. Bounded and cycle-safe; an unreadable tree throws QpdfFailure
// ("unreadable widget").

#include "qpdf/Qpdf.h"

#include <QList>

namespace velk {

struct FieldChain {
    // Widget first, the root field last.
    QList<qpdf_oh> dictionaries;
    // Index of the field in dictionaries.
    int field = 0;

    qpdf_oh fieldDictionary() const { return dictionaries.at(field); }
    // The nearest dictionary from the widget upwards that has the key; 0
    // when none has.
    qpdf_oh inherited(Qpdf& qpdf, const char* key) const;
};

FieldChain fieldChainOf(Qpdf& qpdf, qpdf_oh widget);

// The field itself when it is also its widget, else its kids that are
// widgets without a name of their own; never empty.
QList<qpdf_oh> widgetsOf(Qpdf& qpdf, qpdf_oh field);

} // namespace velk
