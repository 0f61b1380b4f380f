#pragma once

// The text objects of one page as the worker's "textObjects" reply lists
// them, read for the replace-or-delete dialog. Widget-free; any thread.

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace velk {

struct TextObjectEntry {
    // The object's whole text.
    QString text;
    // The worker's handle of the object, passed back unchanged.
    QJsonValue object;
};

class TextObjectEntries {
public:
    // The reply's "objects", in order, at most the worker's own listing
    // limit; entries the listing contract does not accept are skipped.
    static QList<TextObjectEntry> read(const QJsonObject& reply);

    // A list row: white space simplified, cut to its first 180 UTF-16 code
    // units without splitting a surrogate pair.
    static QString rowText(const QString& text);
};

} // namespace velk
