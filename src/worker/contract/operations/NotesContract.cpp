#include "worker/contract/operations/NotesContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

namespace velk {

namespace {

const QString kNotes = QStringLiteral("notes");
const QString kPage = QStringLiteral("page");
const QString kText = QStringLiteral("text");

std::optional<NoteEntry> readNote(const QJsonValue& value, int pageCount)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<QString> text = JsonFields::string(object, kText, SharedLimits::kMaxNoteUnits);
    const std::optional<qint64> page = JsonFields::integer(object, kPage, 0, qint64(pageCount) - 1);
    if (!text || !page)
        return std::nullopt;
    return NoteEntry{int(*page), *text};
}

} // namespace

QJsonObject NotesRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("notes")}, {QStringLiteral("path"), path}};
}

QJsonObject NotesReply::toJson() const
{
    QJsonArray list;
    for (const NoteEntry& note : notes)
        list.append(QJsonObject{{kPage, note.page}, {kText, note.text}});
    return QJsonObject{{QStringLiteral("ok"), true}, {kNotes, list}};
}

std::optional<NotesReply> NotesReply::fromJson(const QJsonObject& json, int pageCount)
{
    NotesReply reply;
    if (!json.contains(kNotes))
        return reply;
    const std::optional<QJsonArray> list = JsonFields::array(json, kNotes, SharedLimits::kMaxNotes);
    if (!list)
        return std::nullopt;
    reply.notes.reserve(list->size());
    for (const QJsonValue& value : *list) {
        const std::optional<NoteEntry> note = readNote(value, pageCount);
        if (!note)
            return std::nullopt;
        reply.notes.append(*note);
    }
    return reply;
}

} // namespace velk
