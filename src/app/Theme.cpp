#include "app/Theme.h"

#include "app/ThemePalette.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QStyle>
#include <QWidget>

namespace velk {

namespace {

QFont applicationFont(int fontId)
{
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
    QFont font(families.isEmpty() ? QString() : families.first());
    font.setPointSize(kApplicationFontPointSize);
    font.setWeight(QFont::Bold);
    font.setItalic(false);
    return font;
}

} // namespace

bool applyTheme(const ThemeResources& resources)
{
    // The style sheet is opened first: it changes nothing, so a failure
    // leaves no registered font behind.
    QFile styleSheet(resources.styleSheetPath);
    if (!styleSheet.open(QIODevice::ReadOnly))
        return false;
    const int fontId = QFontDatabase::addApplicationFont(resources.fontPath);
    if (fontId < 0)
        return false;

    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(applicationFont(fontId));
    QApplication::setPalette(themePalette());
    qApp->setStyleSheet(QString::fromUtf8(styleSheet.readAll()));
    return true;
}

} // namespace velk
