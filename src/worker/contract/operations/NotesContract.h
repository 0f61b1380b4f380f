#pragma once

// "notes": the text of every sticky note, page by page.

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace velk {

struct NotesRequest {
    QString path;

    QJsonObject toJson() const;
};

struct NoteEntry {
    int page = 0;
    QString text;

    bool operator==(const NoteEntry&) const = default;
};

struct NotesReply {
    QList<NoteEntry> notes;

    QJsonObject toJson() const;
    // For a document of pageCount pages: refuses more notes than the limit,
    // a note that is not an object, a page outside the document and a text
    // longer than the note limit. An absent list reads as no notes.
    static std::optional<NotesReply> fromJson(const QJsonObject& json, int pageCount);
};

} // namespace velk
