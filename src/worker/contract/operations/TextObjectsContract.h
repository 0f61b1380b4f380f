#pragma once

// "textObjects": the text objects of one page, listed for the replace or
// delete dialog; "replaceText" and "deleteText": one of them replaced by
// new lines or removed, written as a new PDF that answers {"ok": true}.

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace velk {

struct TextObjectsRequest {
    QString path;
    // -1 when the request's page is not a whole number in 0..pages-1 of the
    // largest document.
    qint64 page = -1;

    QJsonObject toJson() const;
    static TextObjectsRequest fromJson(const QJsonObject& json);
};

struct ListedTextObject {
    // The object's index among the page's objects.
    qint64 object = 0;
    QString text;
    double size = 0;

    bool operator==(const ListedTextObject&) const = default;
};

struct TextObjectsReply {
    QList<ListedTextObject> objects;
    // Form objects on the page, whose text is not listed.
    qint64 nestedForms = 0;

    QJsonObject toJson() const;
    // Reads at most the listing limit of entries, in order; an entry that
    // is not an object with an index below the page-object limit, a string
    // text within the text limit and a finite size is skipped. An absent
    // list reads as none.
    static TextObjectsReply fromJson(const QJsonObject& json);
};

struct TextObjectEditRequest {
    // "deleteText" when true, else "replaceText".
    bool deleting = false;
    // Set by the task that runs the request; left out of the JSON while
    // empty.
    QString path;
    qint64 page = -1;
    // The handle the listing gave, passed back unchanged.
    QJsonValue object;
    // The replacement; a deletion carries the editor's text and ignores it.
    QString text;
    // Set by the task that runs the request; left out while empty.
    QString output;

    QJsonObject toJson() const;
    // Reads every field; a page or text of another JSON type takes its
    // default (-1, empty), which the worker refuses.
    static TextObjectEditRequest fromJson(const QJsonObject& json);

    // The handle as an index below the page-object limit, else -1.
    qint64 objectIndex() const;
};

} // namespace velk
