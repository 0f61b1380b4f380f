#pragma once

// "pages": pages of one or more PDFs, chosen, reordered and rotated into a
// new PDF; "overlay": every page of a second PDF laid over the same page of
// the first. Both answer the output's page count.

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace velk {

struct PageSourceEntry {
    QString path;
    // 0-based page indices in output order; empty takes every page. An
    // entry that is not a whole number in 0..pages-1 of the largest
    // document, and a selection that is not a list, read as -1, which no
    // page has.
    QList<qint64> pages;

    bool operator==(const PageSourceEntry&) const = default;
};

struct PagesRequest {
    // "overlay" when true, else "pages".
    bool overlay = false;
    QList<PageSourceEntry> sources;
    // The clockwise angle added to each output page, in output order; empty
    // adds none. Nothing when the request's rotations are not a list. An
    // entry that is not a whole number reads as -1, which is no angle.
    std::optional<QList<qint64>> rotations = QList<qint64>();
    QString output;

    QJsonObject toJson() const;
    // Refuses sources that are absent, not a list, empty or more than the
    // source limit. A source that is not an object has no path. The lists
    // of pages are bounded by the request's own size.
    static std::optional<PagesRequest> fromJson(const QJsonObject& json);

    // One selection or rotation list as the request holds it.
    static QList<qint64> indices(const QJsonArray& list, qint64 maximum);
};

struct PagesReply {
    int pages = 0;

    QJsonObject toJson() const;
    // Refuses a count that is not a whole number of output pages.
    static std::optional<PagesReply> fromJson(const QJsonObject& json);
};

} // namespace velk
