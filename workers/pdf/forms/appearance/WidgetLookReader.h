#pragma once

// Reads everything that decides how one filled widget looks from the
// document through qpdf: the widget's rectangle, /MK and border, the
// default appearance, quadding, flags and maximum length inherited along
// the field chain (the form's /DA and /Q last), the value and the options.
// An unreadable widget or options that do not fit the selection throw
// QpdfFailure. Widgets of fields no request filled are read with the value
// the document stores.

#include "forms/appearance/FieldChain.h"
#include "forms/appearance/FilledWidget.h"
#include "forms/appearance/WidgetLook.h"

namespace velk {

// acroForm: the catalog's /AcroForm (a null object when absent).
WidgetLook readWidgetLook(Qpdf& qpdf, qpdf_oh widget, const FieldChain& chain, qpdf_oh acroForm,
                          const FilledWidget& filled);

// The text of a text field, the shown text of a combo box or the selected
// options of a list box as /V and /I hold them.
WidgetLook readStoredWidgetLook(Qpdf& qpdf, qpdf_oh widget, const FieldChain& chain, qpdf_oh acroForm,
                                WidgetKind kind);

} // namespace velk
