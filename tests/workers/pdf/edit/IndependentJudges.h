#pragma once

// What tools other than PDFium read from an edited file: poppler's
// pdftotext for the text and where its words sit on the displayed page,
// and qpdf's JSON for the annotation dictionaries. Tests only.

#include "support/PopplerText.h"

#include <QJsonObject>
#include <QList>
#include <QRectF>
#include <QString>

namespace velk::test {

// The annotation dictionaries of one page (0-based) as qpdf's JSON (v2)
// writes them, references resolved one level; empty when qpdf failed.
QList<QJsonObject> qpdfAnnotations(const QString& path, int page);

// A qpdf JSON number array as doubles.
QList<double> numbers(const QJsonValue& array);

// Same length and every pair within tolerance: PDF numbers pass through
// single precision on their way into the file.
bool nearlyEqual(const QList<double>& actual, const QList<double>& expected, double tolerance = 0.01);
// The numbers as text, for failure messages.
QString listed(const QList<double>& values);

} // namespace velk::test
