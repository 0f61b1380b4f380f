#pragma once

// The qpdf job of a page operation, as plain data: what each source
// contributes and the exact argument list handed to qpdf's job interface.
// Pure functions, so the argument lists can be checked without running qpdf.

#include <QJsonArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace velk {

enum class PageJobMode { Pages, Overlay };

struct PageSource {
    QString path; // absolute
    int pageCount = 0;
    QString rangeText; // qpdf's page-range syntax, 1-based
    int selectedPages = 0;
};

// Output page numbers (1-based, in output order) per added clockwise angle;
// 0 never appears as a key.
using RotationGroups = QMap<int, QList<int>>;

class PageJobPlan {
public:
    // "1-z" for an empty selection, else the 1-based numbers joined by ",".
    // Every entry must be a JSON number with a whole value in 0..pageCount-1;
    // otherwise no result. selected receives the number of chosen pages.
    static std::optional<QString> rangeText(const QJsonArray& pages, int pageCount, int& selected);
    // The same over indices as the request contract reads them (-1 for an
    // entry that is no index).
    static std::optional<QString> rangeText(const QList<qint64>& pages, int pageCount, int& selected);

    // Angles 0, 90, 180, 270 only; no result for any other entry.
    static std::optional<RotationGroups> rotationGroups(const QJsonArray& rotations);
    static std::optional<RotationGroups> rotationGroups(const QList<qint64>& rotations);

    // Argument 0 is "qpdf"; rotations follow in ascending order of angle.
    static QStringList qpdfArguments(PageJobMode mode, const QList<PageSource>& sources, const QString& output,
                                     const RotationGroups& rotations);
};

} // namespace velk
