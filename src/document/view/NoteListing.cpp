#include "document/view/NoteListing.h"

#include "document/view/DocumentViewLimits.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "worker/runner/RunnerMessages.h"

#include "worker/contract/operations/NotesContract.h"

#include <QStringList>

namespace velk {

WorkerReply listNotes(PdfDocumentPtr document, CancelFlag cancel)
{
    if (!document)
        return WorkerReply{QJsonObject(), QStringLiteral("Belge açık değil.")};
    return runPdfWorker(NotesRequest{document->workingPath}.toJson(), document->password, cancel,
                        DocumentViewLimits::kNotesTimeLimitMs);
}

QString readNotes(const QJsonObject& reply, int pageCount, QList<PdfNote>& notes)
{
    notes.clear();
    const std::optional<NotesReply> read = NotesReply::fromJson(reply, pageCount);
    if (!read)
        return RunnerMessages::replyInvalid();
    notes.reserve(read->notes.size());
    for (const NoteEntry& entry : read->notes)
        notes.append(PdfNote{entry.page, entry.text});
    return QString();
}

QString notesDialogText(const QList<PdfNote>& notes)
{
    const QString separator = QStringLiteral("\n\n") + QString(20, QChar(0x2500)) + QStringLiteral("\n\n");
    QStringList entries;
    entries.reserve(notes.size());
    // An empty note says so rather than leaving a bare page line.
    for (const PdfNote& note : notes)
        entries.append(noteEntryText(note));
    return entries.join(separator);
}

QString noteEntryText(const PdfNote& note)
{
    return QStringLiteral("Sayfa %1\n%2")
        .arg(QString::number(note.page + 1), note.text.isEmpty() ? QStringLiteral("(boş not)") : note.text);
}

} // namespace velk
