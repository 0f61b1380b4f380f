#include "NoteListing.h"

#include "DocumentViewLimits.h"
#include "PdfWorkerRunner.h"
#include "RunnerMessages.h"

#include <QJsonArray>
#include <QJsonValue>

namespace velk {

namespace {

using DocumentViewLimits::kMaxNoteLength;
using DocumentViewLimits::kMaxNotes;

// Range first: converting an out-of-range double to int is undefined.
bool readPage(const QJsonValue& value, int pageCount, int& page)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (!(number >= 0 && number < pageCount))
        return false;
    page = int(number);
    return double(page) == number;
}

bool readNote(const QJsonValue& value, int pageCount, PdfNote& note)
{
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    const QJsonValue text = object.value(QStringLiteral("text"));
    if (!text.isString() || text.toString().size() > kMaxNoteLength)
        return false;
    note.text = text.toString();
    return readPage(object.value(QStringLiteral("page")), pageCount, note.page);
}

} // namespace

WorkerReply listNotes(PdfDocumentPtr document, CancelFlag cancel)
{
    if (!document)
        return WorkerReply{QJsonObject(), QStringLiteral("Belge açık değil.")};
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("notes")},
                              {QStringLiteral("path"), document->workingPath},
                              {QStringLiteral("password"), document->password}};
    return runPdfWorker(request, cancel, DocumentViewLimits::kNotesTimeLimitMs);
}

QString readNotes(const QJsonObject& reply, int pageCount, QList<PdfNote>& notes)
{
    notes.clear();
    const QJsonValue value = reply.value(QStringLiteral("notes"));
    if (value.isUndefined())
        return QString();
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() > kMaxNotes)
        return RunnerMessages::replyInvalid();
    QList<PdfNote> read;
    read.reserve(array.size());
    for (const QJsonValue& element : array) {
        PdfNote note;
        if (!readNote(element, pageCount, note))
            return RunnerMessages::replyInvalid();
        read.append(note);
    }
    notes = std::move(read);
    return QString();
}

QString notesDialogText(const QList<PdfNote>& notes)
{
    const QString separator = QStringLiteral("\n\n") + QString(20, QChar(0x2500)) + QStringLiteral("\n\n");
    QStringList entries;
    entries.reserve(notes.size());
    for (const PdfNote& note : notes)
        entries.append(QStringLiteral("Sayfa %1\n%2").arg(QString::number(note.page + 1), note.text));
    return entries.join(separator);
}

} // namespace velk
