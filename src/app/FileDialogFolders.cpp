#include "app/FileDialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace velk {

namespace {

QString keyOf(DialogFolderKind kind)
{
    return kind == DialogFolderKind::Open ? QStringLiteral("dialogs/openFolder")
                                          : QStringLiteral("dialogs/saveFolder");
}

// A remembered folder as the settings hold it, or empty when it is not a
// usable folder any more (damaged entry, removed folder).
QString usableFolder(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return QString();
    const QString folder = value.toString();
    if (folder.isEmpty() || folder.size() > FileDialogFolders::kMaxPathLength || folder.contains(QChar(0)))
        return QString();
    const QFileInfo info(folder);
    return info.isAbsolute() && info.isDir() ? info.absoluteFilePath() : QString();
}

} // namespace

QString FileDialogFolders::defaultFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString FileDialogFolders::startFolder(const QSettings& settings, DialogFolderKind kind)
{
    const QString remembered = usableFolder(settings.value(keyOf(kind)));
    return remembered.isEmpty() ? defaultFolder() : remembered;
}

void FileDialogFolders::remember(QSettings& settings, DialogFolderKind kind, const QString& chosenFile)
{
    if (chosenFile.isEmpty() || chosenFile.size() > kMaxPathLength)
        return;
    const QFileInfo chosen(chosenFile);
    if (chosen.isAbsolute())
        settings.setValue(keyOf(kind), chosen.absolutePath());
}

QString FileDialogFolders::saveStartPath(const QSettings& settings, const QString& proposedName)
{
    if (QFileInfo(proposedName).isAbsolute())
        return proposedName;
    return QDir(startFolder(settings, DialogFolderKind::Save)).filePath(proposedName);
}

} // namespace velk
