#pragma once

// Finds a query in a page's text with case ignored, for Turkish readers too:
// a position counts when the text matches under the default Unicode case
// rules (simple case folding, as QString's case-insensitive search uses) or
// under the Turkish ones, where I folds to ı and İ to i. Both foldings keep
// the UTF-16 length of every character, so a position found in a folded
// text is the position in the page's own text and a snippet can be cut from
// it directly. Built once per search on the worker's single thread.

#include <QList>
#include <QString>

namespace velk {

class TextMatch {
public:
    explicit TextMatch(const QString& query);

    // The first position at which the query matches under either rule, or
    // -1. An empty query matches nowhere.
    qsizetype indexIn(const QString& text) const;
    // Every position of a hit in reading order, a hit starting after the
    // end of the one before; at most limit of them.
    QList<qsizetype> positionsIn(const QString& text, qsizetype limit) const;
    // The hit's length in UTF-16 units, the same in the text as in the query.
    qsizetype length() const { return m_default.size(); }

    // One folded UTF-16 unit per unit of the text.
    static QString foldDefault(const QString& text);
    static QString foldTurkish(const QString& text);

private:
    QString m_default;
    QString m_turkish;
};

} // namespace velk
