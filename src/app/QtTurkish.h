#pragma once

// Qt's own texts in Turkish: the buttons of every standard dialog ("Tamam",
// "İptal", "Kapat"), the file dialog and its dates, and Turkish number and
// date formats. Debian ships Qt's translations in qt6-translations-l10n;
// they are found where Qt says its translations live. Called by main on the
// GUI thread once the application object exists.

#include <QString>

class QCoreApplication;

namespace velk {

class QtTurkish {
public:
    // Installs Qt's Turkish translation and the Turkish default locale.
    // False when the translation file is missing or unreadable: Qt's
    // dialogs then stay in English, everything else still works.
    static bool install(QCoreApplication& application);
    // Where the translation is looked for.
    static QString translationDirectory();

    static constexpr char kTranslationName[] = "qtbase_tr";
};

} // namespace velk
