#pragma once

// Plain values read from form dictionaries through qpdf: numbers, names,
// text and short number arrays, each empty when the object is of another
// kind. Used by the appearance rewrite on the worker's single thread.

#include "qpdf/Qpdf.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace velk::FormObjectValues {

// A finite number (integer or real).
std::optional<double> number(Qpdf& qpdf, qpdf_oh handle);
// An integer that fits an int.
std::optional<int> integer(Qpdf& qpdf, qpdf_oh handle);
// A name with its slash and its escapes decoded ("/Widget"); empty for
// anything else.
QByteArray name(Qpdf& qpdf, qpdf_oh handle);
// An array of at most maxCount finite numbers; empty for anything else
// (also for an array holding a non-number).
std::optional<QList<double>> numbers(Qpdf& qpdf, qpdf_oh handle, int maxCount);
// A text string as Unicode; empty for anything else.
std::optional<QString> text(Qpdf& qpdf, qpdf_oh handle);

} // namespace velk::FormObjectValues
