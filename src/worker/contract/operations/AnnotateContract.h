#pragma once

// "annotate": a highlight, rectangle or ellipse over an area dragged on one
// page. Writes a new PDF and answers {"ok": true}.

#include <QJsonObject>
#include <QString>

namespace velk {

struct AnnotateRequest {
    QString path;
    // -1 when the request's page is not a whole number in 0..pages-1 of the
    // largest document.
    qint64 page = -1;
    // "highlight", "rectangle" or "ellipse", exactly.
    QString kind;
    // The dragged area, normalised on the displayed page, y downwards; -1
    // where the request has no number.
    double left = -1;
    double top = -1;
    double right = -1;
    double bottom = -1;
    QString output;

    // The path and output are left out while empty: the task that runs the
    // request sets them.
    QJsonObject toJson() const;
    // Reads every field; one that is absent or of another JSON type takes
    // its default, which the checks below refuse. The worker checks the
    // page against the document before the shape.
    static AnnotateRequest fromJson(const QJsonObject& json);

    static bool isKnownKind(const QString& kind);
    // A known kind over an area inside the page, at least the smallest
    // shape extent wide and high.
    bool hasUsableShape() const;
};

} // namespace velk
