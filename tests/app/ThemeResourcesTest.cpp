// The compiled-in resources: Roboto Bold, the 512 x 512 icon, the three
// two-colour pixmaps and a style sheet that Qt reads without complaint and
// that carries a rule for every kind of widget and object name the windows
// use.

#include "app/Theme.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSizeGrip>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace velk;

namespace {

QString styleSheetText()
{
    QFile file(QStringLiteral(":/styles/dark.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The set of colours a pixmap uses, transparent pixels as one entry.
QSet<QRgb> coloursOf(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            colours.insert(qAlpha(pixel) == 0 ? 0u : pixel);
        }
    }
    return colours;
}

// One widget of every kind the style sheet addresses, inside a main window.
void fillWithEveryKind(QMainWindow& window)
{
    window.menuBar()->addMenu(QStringLiteral("&Dosya"))->addAction(QStringLiteral("Çı&kış"));
    window.addToolBar(QStringLiteral("Dosya araçları"))->addWidget(new QLabel(QStringLiteral("PDF")));
    window.statusBar()->addPermanentWidget(new QPushButton(QStringLiteral("İptal")));
    window.addDockWidget(Qt::LeftDockWidgetArea, new QDockWidget(QStringLiteral("Tüm araçlar")));

    auto* tabs = new QTabWidget;
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("bir"), QStringLiteral("iki")});
    auto* readOnly = new QLineEdit(QStringLiteral("salt okunur"));
    readOnly->setReadOnly(true);
    auto* group = new QGroupBox(QStringLiteral("Grup"));
    auto* list = new QListWidget;
    list->addItems({QStringLiteral("a"), QStringLiteral("b")});
    for (QWidget* widget : std::initializer_list<QWidget*>{
             new QPushButton(QStringLiteral("Tamam")), new QToolButton, combo, new QSpinBox, new QDoubleSpinBox,
             new QLineEdit, readOnly, new QCheckBox(QStringLiteral("Onay")), new QRadioButton(QStringLiteral("Seç")),
             new QPlainTextEdit, new QTextEdit, list, new QTreeWidget, new QTableWidget(2, 2), new QScrollArea,
             group, new QDialogButtonBox(QDialogButtonBox::Ok), new QSizeGrip(page)})
        layout->addWidget(widget);
    tabs->addTab(page, QStringLiteral("Başlangıç"));
    window.setCentralWidget(tabs);
}

} // namespace

class ThemeResourcesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fontResourceIsRobotoBold()
    {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Roboto-Bold.ttf"));
        QVERIFY(id >= 0);
        QCOMPARE(QFontDatabase::applicationFontFamilies(id).value(0), QStringLiteral("Roboto"));
        QVERIFY(QFontDatabase::removeApplicationFont(id));
    }

    void iconIsSquareWithTransparency()
    {
        const QImage icon(QStringLiteral(":/icons/velk-pdf.png"));
        QCOMPARE(icon.size(), QSize(512, 512));
        QVERIFY(icon.hasAlphaChannel());
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(256, 256)), 255);
    }

    void pixmapsHaveTwoColours_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("ink");

        QTest::newRow("chevron down") << ":/icons/chevron-down.xpm" << QSize(10, 8) << QColor(0xBF, 0xCE, 0xE0);
        QTest::newRow("chevron up") << ":/icons/chevron-up.xpm" << QSize(10, 8) << QColor(0xBF, 0xCE, 0xE0);
        QTest::newRow("chevron left") << ":/icons/chevron-left.xpm" << QSize(8, 10) << QColor(0xBF, 0xCE, 0xE0);
        QTest::newRow("chevron right") << ":/icons/chevron-right.xpm" << QSize(8, 10) << QColor(0xBF, 0xCE, 0xE0);
        QTest::newRow("check") << ":/icons/check.xpm" << QSize(12, 12) << QColor(Qt::white);
    }

    void pixmapsHaveTwoColours()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(QColor, ink);
        const QImage image(path);
        QCOMPARE(image.size(), size);
        QCOMPARE(coloursOf(image), (QSet<QRgb>{0u, ink.rgba()}));
    }

    void chevronsAreAVAndItsMirror()
    {
        const QImage down(QStringLiteral(":/icons/chevron-down.xpm"));
        const QImage up(QStringLiteral(":/icons/chevron-up.xpm"));
        QCOMPARE(up.convertToFormat(QImage::Format_ARGB32),
                 down.mirrored(false, true).convertToFormat(QImage::Format_ARGB32));
        // Pointing down: the arms are wide at the top and meet at the bottom.
        int topRow = -1;
        int bottomRow = -1;
        for (int y = 0; y < down.height(); ++y) {
            for (int x = 0; x < down.width(); ++x) {
                if (qAlpha(down.pixel(x, y)) != 0) {
                    bottomRow = y;
                    if (topRow < 0)
                        topRow = y;
                }
            }
        }
        QVERIFY(topRow >= 0 && bottomRow > topRow);
        QVERIFY(qAlpha(down.pixel(0, topRow)) != 0 && qAlpha(down.pixel(9, topRow)) != 0);
        QVERIFY(qAlpha(down.pixel(4, bottomRow)) != 0 && qAlpha(down.pixel(5, bottomRow)) != 0);
        QCOMPARE(qAlpha(down.pixel(0, bottomRow)), 0);
        // Strokes two pixels wide on every row they cross.
        for (int y = topRow; y <= bottomRow; ++y) {
            int ink = 0;
            for (int x = 0; x < down.width(); ++x)
                ink += qAlpha(down.pixel(x, y)) != 0;
            QVERIFY2(ink == 2 || ink == 4, qPrintable(QStringLiteral("row %1").arg(y)));
        }
    }

    void styleSheetAddressesEveryKind_data()
    {
        QTest::addColumn<QString>("selector");

        const char* selectors[] = {
            "*", "QMainWindow", "QMenuBar", "QMenuBar::item", "QMenuBar::item:selected", "QMenu::item:selected",
            "QMenu", "QMenu::item", "QMenu::separator", "QToolBar", "QToolBar::separator", "QToolBar#mainToolbar",
            "QToolBar#documentToolbar", "QToolBar#searchToolbar", "QToolButton", "QPushButton", "QComboBox",
            "QAbstractSpinBox", "QLineEdit", "QToolButton:hover", "QPushButton:hover", "QComboBox:hover",
            "QToolButton:pressed", "QPushButton:pressed", "QToolButton:checked", "QLineEdit:focus",
            "QAbstractSpinBox:focus", "QComboBox:disabled", "QLineEdit:disabled", "QPushButton[primary=\"true\"]",
            "QToolButton[primary=\"true\"]", "QPushButton[primary=\"true\"]:hover", "QPushButton[primary=\"true\"]:pressed",
            "QPushButton[primary=\"true\"]:focus", "QPushButton[primary=\"true\"]:disabled", "QLineEdit:read-only",
            "*[readOnlyField=\"true\"]", "QComboBox::drop-down", "QComboBox::down-arrow", "QAbstractSpinBox::up-button",
            "QAbstractSpinBox::down-button", "QAbstractSpinBox::up-arrow", "QAbstractSpinBox::down-arrow",
            "QComboBox QAbstractItemView", "QCheckBox", "QRadioButton", "QCheckBox::indicator", "QRadioButton::indicator",
            "QCheckBox::indicator:checked", "QRadioButton::indicator:checked", "QCheckBox:disabled",
            "QLabel#brandBadge", "QLabel#brandName", "QTabWidget::pane", "QTabBar", "QTabBar::tab",
            "QTabBar::tab:selected", "QTabBar::tab:hover", "QScrollArea#startPage", "QWidget#startContent",
            "QLabel#workspaceTitle", "QLabel#eyebrow", "QLabel#secondaryText", "QLabel#privacyNote",
            "QLabel#availabilityNotice", "QToolButton#actionCard", "QToolButton#actionCard:hover",
            "QToolButton#actionCard:disabled", "QDockWidget", "QDockWidget::title", "QScrollArea#toolScroll",
            "QToolButton#sideTool", "QToolButton#sideTool:hover", "QToolButton#sideTool:disabled",
            "QToolButton#sideTool[primary=\"true\"]", "QToolButton#sideTool[primary=\"true\"]:hover",
            "QLabel#panelSection", "QLabel#panelFooter", "QLabel#selectionTitle", "QFrame[frameShape=",
            "QStatusBar", "QStatusBar::item", "QStatusBar QPushButton", "QToolTip", "QScrollBar", "QScrollBar::handle",
            "QScrollBar::handle:hover", "QScrollBar::add-line", "QScrollBar::add-page", "QDialog", "QLabel#dialogTitle",
            "QLabel#dialogSubtitle", "QLabel#sectionTitle", "#statusPanel", "QLabel#statusPanel", "#statusPanel QLabel",
            "QLabel#documentMessage", "QPlainTextEdit", "QTextEdit", "QListWidget", "QTreeWidget", "QTableWidget",
            "QTextEdit:read-only", "QListWidget::item", "QListWidget::item:selected", "QListWidget::item:hover",
            "QScrollArea", "QGroupBox", "QGroupBox::title", "QDialogButtonBox", "QSizeGrip",
        };
        for (const char* selector : selectors)
            QTest::newRow(selector) << QString::fromLatin1(selector);
    }

    void styleSheetAddressesEveryKind()
    {
        QFETCH(QString, selector);
        // A selector starts a line of its own, ahead of "{" or ",".
        const QRegularExpression rule(QStringLiteral("(^|\\n)") + QRegularExpression::escape(selector)
                                      + QStringLiteral("[^\\n]*( \\{|,)\\n"));
        QVERIFY2(styleSheetText().contains(rule), qPrintable(selector));
    }

    void styleSheetParsesWithoutWarnings()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QVERIFY(applyTheme());
        QMainWindow window;
        fillWithEveryKind(window);
        window.resize(900, 1400);
        // Painting polishes every widget, which parses the sheet and loads
        // its images; it needs no shown window.
        window.grab();
        // A rule near the end of the sheet took effect, so all of it was read.
        QLabel title(QStringLiteral("Başlık"));
        title.setObjectName(QStringLiteral("dialogTitle"));
        title.ensurePolished();
        QCOMPARE(title.font().pixelSize(), 21);
    }
};

QTEST_MAIN(ThemeResourcesTest)
#include "ThemeResourcesTest.moc"
