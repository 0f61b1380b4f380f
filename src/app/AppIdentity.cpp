#include "app/AppIdentity.h"

#include <QApplication>
#include <QIcon>

namespace velk {

const char kApplicationVersion[] = VELK_VERSION;

void applyApplicationIdentity(QApplication& application)
{
    application.setApplicationName(QString::fromUtf8(kApplicationName));
    application.setApplicationVersion(QString::fromUtf8(kApplicationVersion));
    application.setOrganizationName(QString::fromUtf8(kOrganizationName));
    application.setWindowIcon(QIcon(QString::fromUtf8(kWindowIconResource)));
    // Lets the desktop match our windows to the installed velk-pdf entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("velk-pdf"));
}

} // namespace velk
