#pragma once

// "addText" and "addNote": text placed at a clicked point of one page, as
// lines of an embedded font or as a sticky note. Both write a new PDF and
// answer {"ok": true}.

#include <QJsonObject>
#include <QString>

#include <optional>

namespace velk {

struct InsertionRequest {
    // "addNote" when true, else "addText".
    bool note = false;
    QString path;
    qint64 page = 0;
    QString text;
    // The clicked point, normalised on the displayed page (y downwards).
    double x = 0;
    double y = 0;
    // Font size in points; a note carries it too and ignores it. Read
    // back, it is the size as single precision holds it, inside the bounds.
    double size = 0;
    QString output;

    QJsonObject toJson() const;
    // Refuses a page outside 0..pages-1 of the largest document, a text that
    // is blank, holds a zero character or is longer than the text limit, a
    // point outside 0..1, and a size outside the font-size bounds once held
    // in single precision (an absent size asks for the default; one that
    // is not finite is refused). A field of another JSON type counts as
    // absent. The operation name is the
    // caller's: the same fields serve both.
    static std::optional<InsertionRequest> fromJson(const QJsonObject& json);

    // A text usable for inserting or replacing: not blank, no zero
    // character, at most the text limit.
    static bool isUsableText(const QString& text);
    // The requested size held in single precision, when inside the bounds.
    static std::optional<float> fontSize(double requested);
};

} // namespace velk
