#pragma once

// The sticky notes of an open document: the worker lists them, this reads
// the list back with every value bounded, and formats it for the notes
// dialog. listNotes runs on a pool thread (started by NativeDocumentTab),
// takes copies only and touches no QObject; the rest is pure.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"
#include "worker/runner/WorkerReply.h"

#include <QJsonObject>
#include <QList>
#include <QString>

namespace velk {

struct PdfNote {
    int page = 0;
    QString text;
};

WorkerReply listNotes(PdfDocumentPtr document, CancelFlag cancel);

// Empty on success (notes filled in, in reply order; none when "notes" is
// missing or empty), else the sentence for the user.
QString readNotes(const QJsonObject& reply, int pageCount, QList<PdfNote>& notes);

// "Sayfa n\n<text>", or "(boş not)" for an empty note's text.
QString noteEntryText(const PdfNote& note);

// "Sayfa n\n<text>" per note ("(boş not)" for an empty one), separated by a
// rule between blank lines.
QString notesDialogText(const QList<PdfNote>& notes);

} // namespace velk
