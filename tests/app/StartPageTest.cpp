// The start tab: its structure, texts and object names, the cards and the
// emphasised open button bound to the window's actions, and its look once
// themed.

#include "app/DocumentEmblem.h"
#include "app/RecentDocumentsList.h"
#include "app/StartPage.h"
#include "app/Theme.h"
#include "app/ToolsPanel.h"
#include "WidgetPixels.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace velk;
using velk::test::pixelOf;

namespace {

struct Page {
    QAction open{QStringLiteral("PDF &aç…")};
    QAction blank{QStringLiteral("&Boş PDF oluştur…")};
    QAction images{QStringLiteral("&Görsellerden PDF…")};
    StartPage page{&open, &blank, &images};

    QVBoxLayout* layout() const { return qobject_cast<QVBoxLayout*>(page.widget()->layout()); }
};

} // namespace

class StartPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void scrollAreaHoldsTheContent()
    {
        Page start;
        QCOMPARE(start.page.objectName(), QStringLiteral("startPage"));
        QVERIFY(start.page.widgetResizable());
        QCOMPARE(start.page.frameShape(), QFrame::NoFrame);
        QWidget* content = start.page.widget();
        QVERIFY(content);
        QCOMPARE(content->objectName(), QStringLiteral("startContent"));
        QVBoxLayout* layout = start.layout();
        QVERIFY(layout);
        QCOMPARE(layout->contentsMargins(), QMargins(24, 32, 24, 32));
        QCOMPARE(layout->spacing(), 16);
    }

    void itemsComeInOrder_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("objectName");   // empty: a stretch
        QTest::addColumn<QString>("text");

        QTest::newRow("stretch above") << 0 << "" << "";
        QTest::newRow("emblem") << 1 << "emblem" << "";
        QTest::newRow("eyebrow") << 2 << "eyebrow" << "Velk PDF  /  ÇALIŞMA ALANI";
        QTest::newRow("title") << 3 << "workspaceTitle" << "Belgelerinizle çalışmaya başlayın";
        QTest::newRow("text") << 4 << "secondaryText"
                              << "Yeni bir PDF oluşturun veya görsellerinizi tek bir belgede bir araya getirin.";
        QTest::newRow("cards") << 5 << "cards" << "";
        QTest::newRow("open") << 6 << "sideTool" << "Bilgisayardan PDF aç";
        QTest::newRow("recent documents") << 7 << "recentDocuments" << "";
        QTest::newRow("stretch below") << 8 << "" << "";
        QTest::newRow("privacy") << 9 << "privacyNote"
                                 << "Dosyalarınız cihazınızda kalır. Belge içeriği buluta yüklenmez.";
    }

    void itemsComeInOrder()
    {
        QFETCH(int, index);
        QFETCH(QString, objectName);
        QFETCH(QString, text);
        Page start;
        QVBoxLayout* layout = start.layout();
        QCOMPARE(layout->count(), 10);
        QLayoutItem* item = layout->itemAt(index);
        if (objectName.isEmpty()) {
            QVERIFY(item->spacerItem());
            QCOMPARE(layout->stretch(index), 1);
            return;
        }
        QWidget* widget = item->widget();
        QVERIFY(widget);
        if (objectName == QLatin1String("emblem")) {
            QVERIFY(qobject_cast<DocumentEmblem*>(widget));
            QCOMPARE(item->alignment(), Qt::AlignHCenter);
        } else if (objectName == QLatin1String("recentDocuments")) {
            // Filled by the main window; hidden while empty.
            QCOMPARE(widget, static_cast<QWidget*>(start.page.recentList()));
            QCOMPARE(widget->objectName(), objectName);
            QVERIFY(widget->isHidden());
            QCOMPARE(item->alignment(), Qt::AlignHCenter);
        } else if (objectName == QLatin1String("cards")) {
            QCOMPARE(widget->findChildren<QToolButton*>().size(), 2);
            QCOMPARE(item->alignment(), Qt::AlignHCenter);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->objectName(), objectName);
            QCOMPARE(label->text(), text);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(label->wordWrap());
            QCOMPARE(label->alignment(), Qt::AlignCenter);
        } else {
            auto* button = qobject_cast<QToolButton*>(widget);
            QVERIFY(button);
            QCOMPARE(button->objectName(), objectName);
            QCOMPARE(button->text(), text);
            QCOMPARE(item->alignment(), Qt::AlignHCenter);
        }
    }

    void cardsMirrorTheCreateActions()
    {
        Page start;
        QToolButton* blank = start.page.blankPdfCard();
        QToolButton* images = start.page.imagesToPdfCard();
        QCOMPARE(blank->text(), QStringLiteral("Boş PDF oluştur"));
        QCOMPARE(images->text(), QStringLiteral("Görsellerden PDF"));
        QCOMPARE(blank->objectName(), QStringLiteral("actionCard"));
        QCOMPARE(images->objectName(), QStringLiteral("actionCard"));
        QCOMPARE(blank->defaultAction(), &start.blank);
        QCOMPARE(images->defaultAction(), &start.images);

        QWidget* row = blank->parentWidget();
        QCOMPARE(images->parentWidget(), row);
        QCOMPARE(row->maximumWidth(), 580);
        auto* rowLayout = qobject_cast<QHBoxLayout*>(row->layout());
        QVERIFY(rowLayout);
        QCOMPARE(rowLayout->contentsMargins(), QMargins(0, 8, 0, 8));
        QCOMPARE(rowLayout->spacing(), 16);
        QCOMPARE(rowLayout->indexOf(blank), 0);
        QCOMPARE(rowLayout->indexOf(images), 1);
    }

    void openButtonIsThePrimarySideTool()
    {
        Page start;
        QToolButton* open = start.page.openButton();
        QCOMPARE(open->text(), QStringLiteral("Bilgisayardan PDF aç"));
        QCOMPARE(open->objectName(), QStringLiteral("sideTool"));
        QCOMPARE(open->defaultAction(), &start.open);
        QCOMPARE(open->property("primary"), QVariant(true));
        QCOMPARE(open->maximumWidth(), 280);
    }

    void rowAndButtonAreCentredWithinTheirWidth()
    {
        Page start;
        start.page.resize(1100, 800);
        start.page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&start.page));
        QWidget* content = start.page.widget();
        const int centre = content->width() / 2;
        QWidget* row = start.page.blankPdfCard()->parentWidget();
        QVERIFY(row->width() <= 580);
        QVERIFY(qAbs(row->geometry().center().x() - centre) <= 1);
        QToolButton* open = start.page.openButton();
        QVERIFY(open->width() <= 280);
        QVERIFY(qAbs(open->geometry().center().x() - centre) <= 1);
        QVERIFY(open->geometry().top() > row->geometry().bottom());
    }

    void disablingAnActionGreysEveryMirror()
    {
        Page start;
        ToolActions actions;
        actions.open = &start.open;
        actions.blankPdf = &start.blank;
        actions.imagesToPdf = &start.images;
        ToolsPanel panel(actions, false);
        QToolButton* sideBlank = nullptr;
        for (QToolButton* button : panel.findChildren<QToolButton*>()) {
            if (button->defaultAction() == &start.blank)
                sideBlank = button;
        }
        QVERIFY(sideBlank);

        start.blank.setEnabled(false);
        QVERIFY(!start.page.blankPdfCard()->isEnabled());
        QVERIFY(!sideBlank->isEnabled());
        QVERIFY(start.page.imagesToPdfCard()->isEnabled());
        start.blank.setEnabled(true);
        QVERIFY(start.page.blankPdfCard()->isEnabled());
        QVERIFY(sideBlank->isEnabled());
    }

    void themedPageLooksAsDesigned()
    {
        Page start;
        start.page.resize(1100, 800);
        start.page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&start.page));
        QCOMPARE(pixelOf(start.page, QPoint(8, 8)), QColor("#151B24"));
        QToolButton* open = start.page.openButton();
        QCOMPARE(pixelOf(start.page, open->mapTo(&start.page, QPoint(6, open->height() / 2))), QColor("#315D8B"));
        QToolButton* card = start.page.blankPdfCard();
        QCOMPARE(pixelOf(start.page, card->mapTo(&start.page, QPoint(6, card->height() / 2))), QColor("#1E2937"));
        QVERIFY(card->height() >= 106);
        QVERIFY(card->width() >= 180);
    }
};

QTEST_MAIN(StartPageTest)
#include "StartPageTest.moc"
