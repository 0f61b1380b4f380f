#pragma once

// "outline": the document's outline (bookmarks) as a list in reading order,
// each entry with its nesting depth, title and destination page.

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace velk {

struct OutlineRequest {
    QString path;

    QJsonObject toJson() const;
};

struct OutlineEntry {
    QString title;
    // A page of the document, or -1 when the entry goes nowhere in it.
    int page = -1;
    // 0 at the top level; an entry is at most one deeper than the one before.
    int depth = 0;

    bool operator==(const OutlineEntry&) const = default;
};

struct OutlineReply {
    QList<OutlineEntry> entries;
    // Entries were left out: more than the entry limit, deeper than the
    // depth limit, or a loop in the outline.
    bool truncated = false;

    QJsonObject toJson() const;
    // For a document of pageCount pages: refuses more entries than the
    // limit, a title longer than the title limit, a page outside the
    // document, a depth beyond the limit or one that skips a level. An
    // absent list reads as no outline.
    static std::optional<OutlineReply> fromJson(const QJsonObject& json, int pageCount);
};

} // namespace velk
