#pragma once

// Gives every widget of each filled text, combo and list field a new normal
// appearance drawn with the embedded Unicode font, so that every reader
// shows the letters the value holds. Runs after the form-fill layer has
// filled, verified and saved the document: reads those bytes with qpdf,
// replaces the widgets' /AP, turns off the form's request that readers
// regenerate appearances (drawing the other text and choice fields of such
// a form with their stored values first), and writes the whole document
// again. Called by
// "fillFields" on the worker's single thread; nothing is written to disk.

#include "forms/appearance/FilledWidget.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace velk {

struct RewrittenPdf {
    QByteArray bytes;
    // Empty on success; else the one sentence of every failure.
    QString error;
};

RewrittenPdf rewriteAppearances(const QByteArray& saved, const QList<FilledWidget>& widgets);

} // namespace velk
