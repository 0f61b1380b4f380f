#pragma once

// Where the file dialogs start. The first dialog of a kind opens in the
// user's documents folder (else the home folder); afterwards in the folder
// last used for that kind (opening, saving), remembered in the settings
// across runs. A save dialog whose proposal is an absolute path (an output
// derived from an open document) starts there instead. The process's
// current directory is never consulted nor changed. GUI thread.

#include <QString>

class QSettings;

namespace velk {

enum class DialogFolderKind { Open, Save };

class FileDialogFolders {
public:
    // The remembered folder when it still exists, else defaultFolder().
    static QString startFolder(const QSettings& settings, DialogFolderKind kind);
    // The folder of chosenFile becomes the start of the next dialog of kind;
    // an empty choice (cancelled) changes nothing.
    static void remember(QSettings& settings, DialogFolderKind kind, const QString& chosenFile);
    // The start of a save dialog: an absolute proposal as it is, a bare
    // file name inside startFolder(Save).
    static QString saveStartPath(const QSettings& settings, const QString& proposedName);
    // Documents, else home.
    static QString defaultFolder();

    // Longer remembered paths are damage, not folders.
    static constexpr int kMaxPathLength = 4096;
};

} // namespace velk
