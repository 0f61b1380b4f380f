#pragma once

// A form may ask readers to regenerate every appearance (/NeedAppearances
// true) because some fields hold values their stored appearances do not
// show. The rewrite turns that request off, so those fields get drawn
// appearances here: every widget on a page of every text and choice field
// of the form, with the value the field stores. Read-only fields, hidden
// widgets, buttons and signatures are left alone, as are widgets that no
// page lists and fields whose widgets cannot be read. The field tree is
// walked bounded and cycle-safe; a form beyond the limits throws
// QpdfFailure.

#include "qpdf/Qpdf.h"
#include "forms/appearance/WidgetLook.h"

#include <QList>
#include <QSet>

namespace velk {

struct StoredWidget {
    qpdf_oh widget = 0;
    WidgetLook look;
};

// acroForm: the catalog's /AcroForm (a null object when absent).
bool asksForAppearances(Qpdf& qpdf, qpdf_oh acroForm);

// Widgets whose object numbers are in `drawn` already have a new
// appearance and are left out.
QList<StoredWidget> storedValueWidgets(Qpdf& qpdf, qpdf_oh acroForm, const QSet<int>& drawn);

} // namespace velk
