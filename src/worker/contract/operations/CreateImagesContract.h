#pragma once

// "createImages": one page per image, in order, written as a new PDF that
// answers {"ok": true}.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace velk {

struct CreateImagesRequest {
    // The image files; a source that is not an object with a string path
    // reads as an empty path, which no image has.
    QStringList sources;
    QString output;

    // The output is left out while empty: the task that runs the request
    // names it.
    QJsonObject toJson() const;
    // Refuses sources that are absent, not a list, empty or more than the
    // image limit.
    static std::optional<CreateImagesRequest> fromJson(const QJsonObject& json);
};

} // namespace velk
