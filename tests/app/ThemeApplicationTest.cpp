// Applying the theme selects Fusion, Roboto Bold at 10 points, the dark
// palette in every colour group with its own disabled colours, and the
// compiled-in style sheet.

#include "app/PrimaryWidget.h"
#include "app/Theme.h"
#include "app/ThemePalette.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QStyle>
#include <QTest>

using namespace velk;

class ThemeApplicationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setStyle(QStringLiteral("Windows"));
        QVERIFY(applyTheme());
    }

    void styleIsFusion()
    {
        // The style sheet wraps the selected style and becomes its parent.
        const QStyle* selected = QApplication::style()->findChild<QStyle*>();
        QVERIFY(selected);
        QCOMPARE(selected->name().toLower(), QStringLiteral("fusion"));
    }

    void fontIsRobotoBoldTenPoints()
    {
        const QFont font = QApplication::font();
        QCOMPARE(font.family(), QStringLiteral("Roboto"));
        QCOMPARE(font.pointSize(), 10);
        QCOMPARE(font.weight(), QFont::Bold);
        QVERIFY(!font.italic());
        const QFontInfo resolved(font);
        QCOMPARE(resolved.family(), QStringLiteral("Roboto"));
        QVERIFY(resolved.bold());
    }

    void styleSheetIsTheResource()
    {
        QFile file(QStringLiteral(":/styles/dark.qss"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(file.readAll()));
    }

    void paletteHoldsEveryRole_data()
    {
        QTest::addColumn<QPalette::ColorGroup>("group");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::addColumn<QColor>("colour");

        const struct {
            QPalette::ColorRole role;
            const char* name;
            const char* colour;
        } all[] = {
            {QPalette::Window, "Window", "#1C2430"},
            {QPalette::WindowText, "WindowText", "#E7EDF5"},
            {QPalette::Base, "Base", "#151E29"},
            {QPalette::AlternateBase, "AlternateBase", "#1C2735"},
            {QPalette::Text, "Text", "#E7EDF5"},
            {QPalette::Button, "Button", "#263241"},
            {QPalette::ButtonText, "ButtonText", "#E7EDF5"},
            {QPalette::BrightText, "BrightText", "#FFFFFF"},
            {QPalette::Highlight, "Highlight", "#315D8B"},
            {QPalette::HighlightedText, "HighlightedText", "#FFFFFF"},
            {QPalette::Link, "Link", "#9DBFE2"},
            {QPalette::ToolTipBase, "ToolTipBase", "#2B394A"},
            {QPalette::ToolTipText, "ToolTipText", "#E7EDF5"},
            {QPalette::Light, "Light", "#3B4A5D"},
            {QPalette::Mid, "Mid", "#2C3745"},
            {QPalette::Dark, "Dark", "#10161F"},
        };
        const QList<QPalette::ColorRole> disabledOwn = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                                        QPalette::Highlight, QPalette::HighlightedText};
        for (const auto& entry : all) {
            QTest::addRow("active %s", entry.name) << QPalette::Active << entry.role << QColor(entry.colour);
            QTest::addRow("inactive %s", entry.name) << QPalette::Inactive << entry.role << QColor(entry.colour);
            if (!disabledOwn.contains(entry.role))
                QTest::addRow("disabled %s", entry.name) << QPalette::Disabled << entry.role << QColor(entry.colour);
        }
        QTest::newRow("disabled WindowText") << QPalette::Disabled << QPalette::WindowText << QColor("#98A6B8");
        QTest::newRow("disabled Text") << QPalette::Disabled << QPalette::Text << QColor("#98A6B8");
        QTest::newRow("disabled ButtonText") << QPalette::Disabled << QPalette::ButtonText << QColor("#98A6B8");
        QTest::newRow("disabled Highlight") << QPalette::Disabled << QPalette::Highlight << QColor("#2A3D53");
        QTest::newRow("disabled HighlightedText") << QPalette::Disabled << QPalette::HighlightedText << QColor("#B8C5D5");
    }

    void paletteHoldsEveryRole()
    {
        QFETCH(QPalette::ColorGroup, group);
        QFETCH(QPalette::ColorRole, role);
        QFETCH(QColor, colour);
        QCOMPARE(themePalette().color(group, role), colour);
        QCOMPARE(QApplication::palette().color(group, role), colour);
    }

    void setPrimaryMarksTheWidget()
    {
        QWidget widget;
        setPrimary(&widget);
        QCOMPARE(widget.property("primary"), QVariant(true));
        setPrimary(nullptr);
    }
};

QTEST_MAIN(ThemeApplicationTest)
#include "ThemeApplicationTest.moc"
