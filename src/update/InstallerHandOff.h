#pragma once

// Handing a verified package to the desktop's installer. The program never
// installs anything itself: after every check passed again and the user
// said yes, the package's file URL goes to the desktop (xdg-open), whose
// installer opens it as on a double-click (GNOME Software or KDE Discover
// through PackageKit, with the system's own authorisation prompt).
//
// The warnings, the question and the opener are replaceable functions:
// the program answers them with message boxes and QDesktopServices, tests
// answer them directly. GUI thread.

#include <QString>
#include <QUrl>

#include <functional>

class QLabel;
class QWidget;

namespace velk {

class UpdateService;

struct UpdatePrompts {
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
    // True only when the user chose to open the installer.
    std::function<bool(QWidget* parent, const QString& title, const QString& text)> question;
    // True when the desktop accepted the request.
    std::function<bool(const QUrl& url)> openUrl;

    // Message boxes and the desktop's handler.
    static UpdatePrompts dialogs();
};

// "Doğrulanmış yükleyiciyi aç…": re-verifies, asks, opens; on success the
// status label says the request went out. The service's state stays.
void openVerifiedInstaller(UpdateService& service, QWidget* parent, QLabel* status, const UpdatePrompts& prompts);

} // namespace velk
