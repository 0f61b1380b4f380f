#pragma once

// "ocr": one page recognised and written as a one-page PDF of invisible
// text, which answers {"ok": true}.

#include <QJsonObject>
#include <QString>

namespace velk {

struct OcrRequest {
    QString path;
    // -1 when the request's page is not a whole number in 0..pages-1 of the
    // largest document.
    qint64 page = -1;
    QString output;

    // The output is left out while empty: the task that runs the request
    // names it.
    QJsonObject toJson() const;
    static OcrRequest fromJson(const QJsonObject& json);
};

} // namespace velk
