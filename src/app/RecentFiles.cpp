#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace velk {

namespace {

const QString kPathsKey = QStringLiteral("recent/paths");
const QString kTimesKey = QStringLiteral("recent/opened");

// A list as written by add; a lone string reads back as a one-item list,
// anything else as nothing.
QStringList readList(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() == QMetaType::QString)
        return {value.toString()};
    return {};
}

bool isUsablePath(const QString& path)
{
    return !path.isEmpty() && path.size() <= RecentFiles::kMaxPathLength && !path.contains(QChar(0)) &&
           QFileInfo(path).isAbsolute();
}

void write(QSettings& settings, const QList<RecentFile>& entries)
{
    QStringList paths;
    QStringList times;
    for (const RecentFile& entry : entries) {
        paths.append(entry.path);
        times.append(entry.openedAt.toUTC().toString(Qt::ISODate));
    }
    settings.setValue(kPathsKey, paths);
    settings.setValue(kTimesKey, times);
}

} // namespace

QList<RecentFile> RecentFiles::entries(const QSettings& settings)
{
    const QStringList paths = readList(settings, kPathsKey);
    const QStringList times = readList(settings, kTimesKey);
    QList<RecentFile> entries;
    // Bounded by what is shown, however long the stored list is.
    for (qsizetype i = 0; i < paths.size() && entries.size() < kMaxEntries; ++i) {
        const QString& path = paths.at(i);
        if (!isUsablePath(path))
            continue;
        bool duplicate = false;
        for (const RecentFile& entry : entries)
            duplicate = duplicate || entry.path == path;
        if (duplicate)
            continue;
        const QDateTime opened = i < times.size() ? QDateTime::fromString(times.at(i), Qt::ISODate) : QDateTime();
        entries.append({path, opened});
    }
    return entries;
}

void RecentFiles::add(QSettings& settings, const QString& path, const QDateTime& openedAt)
{
    if (!isUsablePath(path))
        return;
    QList<RecentFile> entries = RecentFiles::entries(settings);
    entries.removeIf([&path](const RecentFile& entry) { return entry.path == path; });
    entries.prepend({path, openedAt});
    while (entries.size() > kMaxEntries)
        entries.removeLast();
    write(settings, entries);
}

void RecentFiles::clear(QSettings& settings)
{
    settings.remove(QStringLiteral("recent"));
}

} // namespace velk
