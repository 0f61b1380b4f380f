#pragma once

// The one dark theme of velk-pdf: font, widget style, palette and the
// application style sheet. Applied once by start-up on the GUI thread.

#include <QString>

namespace velk {

inline constexpr char kFontResource[] = ":/fonts/Roboto-Bold.ttf";
inline constexpr char kStyleSheetResource[] = ":/styles/dark.qss";
inline constexpr int kApplicationFontPointSize = 10;

// Where the theme reads its font and style sheet; the defaults are the
// compiled-in resources.
struct ThemeResources {
    QString fontPath = QString::fromUtf8(kFontResource);
    QString styleSheetPath = QString::fromUtf8(kStyleSheetResource);
};

// Installs the theme on the application. Fails, changing nothing, when the
// font cannot be registered or the style sheet cannot be opened.
bool applyTheme(const ThemeResources& resources = {});

} // namespace velk
