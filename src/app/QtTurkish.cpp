#include "app/QtTurkish.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velk {

QString QtTurkish::translationDirectory()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTurkish::install(QCoreApplication& application)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    // Numbers, dates and the file dialog's columns follow this locale even
    // when the user's environment names another one.
    QLocale::setDefault(turkish);
    auto* translator = new QTranslator(&application);
    if (!translator->load(QString::fromLatin1(kTranslationName), translationDirectory())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace velk
