#include "app/ThemePalette.h"

#include <QColor>

#include <utility>

namespace velk {

namespace {

void setAllGroups(QPalette& palette)
{
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, QColor(0x1C, 0x24, 0x30)},
        {QPalette::WindowText, QColor(0xE7, 0xED, 0xF5)},
        {QPalette::Base, QColor(0x15, 0x1E, 0x29)},
        {QPalette::AlternateBase, QColor(0x1C, 0x27, 0x35)},
        {QPalette::Text, QColor(0xE7, 0xED, 0xF5)},
        {QPalette::Button, QColor(0x26, 0x32, 0x41)},
        {QPalette::ButtonText, QColor(0xE7, 0xED, 0xF5)},
        {QPalette::BrightText, QColor(Qt::white)},
        {QPalette::Highlight, QColor(0x31, 0x5D, 0x8B)},
        {QPalette::HighlightedText, QColor(Qt::white)},
        {QPalette::Link, QColor(0x9D, 0xBF, 0xE2)},
        {QPalette::ToolTipBase, QColor(0x2B, 0x39, 0x4A)},
        {QPalette::ToolTipText, QColor(0xE7, 0xED, 0xF5)},
        {QPalette::Light, QColor(0x3B, 0x4A, 0x5D)},
        {QPalette::Mid, QColor(0x2C, 0x37, 0x45)},
        {QPalette::Dark, QColor(0x10, 0x16, 0x1F)},
    };
    for (const auto& [role, colour] : roles)
        palette.setColor(QPalette::All, role, colour);
}

void setDisabledGroup(QPalette& palette)
{
    const QColor dimmedText(0x98, 0xA6, 0xB8);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, dimmedText);
    palette.setColor(QPalette::Disabled, QPalette::Text, dimmedText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, dimmedText);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x2A, 0x3D, 0x53));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, QColor(0xB8, 0xC5, 0xD5));
}

} // namespace

QPalette themePalette()
{
    QPalette palette;
    setAllGroups(palette);
    setDisabledGroup(palette);
    return palette;
}

} // namespace velk
