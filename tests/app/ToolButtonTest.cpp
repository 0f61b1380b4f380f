// Cards and side tools mirror their action: they follow its enabled state
// and trigger it, but always show their own text.

#include "app/ActionIcon.h"
#include "app/ToolButton.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>

using namespace velk;

class ToolButtonTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buttonTakesItsKind_data()
    {
        QTest::addColumn<bool>("card");
        QTest::addColumn<Qt::ToolButtonStyle>("style");
        QTest::addColumn<QSize>("iconSize");
        QTest::addColumn<QString>("objectName");

        QTest::newRow("card") << true << Qt::ToolButtonTextUnderIcon << QSize(36, 36) << "actionCard";
        QTest::newRow("side tool") << false << Qt::ToolButtonTextBesideIcon << QSize(22, 22) << "sideTool";
    }

    void buttonTakesItsKind()
    {
        QFETCH(bool, card);
        QFETCH(Qt::ToolButtonStyle, style);
        QFETCH(QSize, iconSize);
        QFETCH(QString, objectName);

        QWidget parent;
        QAction action(QStringLiteral("&Boş PDF oluştur…"));
        action.setIcon(QIcon(drawActionIcon(ActionIconKind::PageWithPlus)));
        QToolButton* button = makeToolButton(&parent, &action, QStringLiteral("Boş PDF oluştur"), card);

        QCOMPARE(button->parent(), &parent);
        QCOMPARE(button->toolButtonStyle(), style);
        QCOMPARE(button->iconSize(), iconSize);
        QCOMPARE(button->objectName(), objectName);
        QCOMPARE(button->defaultAction(), &action);
        QCOMPARE(button->text(), QStringLiteral("Boş PDF oluştur"));
        QCOMPARE(button->accessibleName(), QStringLiteral("Boş PDF oluştur"));
        QCOMPARE(button->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(button->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
        QVERIFY(!button->icon().isNull());
    }

    void buttonKeepsItsTextWhenTheActionChanges_data()
    {
        QTest::addColumn<bool>("card");
        QTest::newRow("card") << true;
        QTest::newRow("side tool") << false;
    }

    void buttonKeepsItsTextWhenTheActionChanges()
    {
        QFETCH(bool, card);
        QWidget parent;
        QAction action(QStringLiteral("PDF &aç…"));
        QToolButton* button = makeToolButton(&parent, &action, QStringLiteral("PDF aç"), card);

        action.setText(QStringLiteral("Başka bir metin"));
        QCOMPARE(button->text(), QStringLiteral("PDF aç"));
        action.setToolTip(QStringLiteral("Yeni ipucu"));
        QCOMPARE(button->text(), QStringLiteral("PDF aç"));
        QCOMPARE(button->toolTip(), QStringLiteral("Yeni ipucu"));
        action.setEnabled(false);
        QCOMPARE(button->text(), QStringLiteral("PDF aç"));
        QCOMPARE(button->accessibleName(), QStringLiteral("PDF aç"));
    }

    void buttonFollowsAndTriggersTheAction_data()
    {
        QTest::addColumn<bool>("card");
        QTest::newRow("card") << true;
        QTest::newRow("side tool") << false;
    }

    void buttonFollowsAndTriggersTheAction()
    {
        QFETCH(bool, card);
        QWidget parent;
        QAction action(QStringLiteral("PDF birleştir…"));
        QToolButton* button = makeToolButton(&parent, &action, QStringLiteral("PDF birleştir"), card);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy triggered(&action, &QAction::triggered);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);

        action.setEnabled(false);
        QVERIFY(!button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);

        action.setEnabled(true);
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(triggered.count(), 2);
    }

    void buttonWithoutActionIsHarmless()
    {
        QWidget parent;
        QToolButton* button = makeToolButton(&parent, nullptr, QStringLiteral("Metni tanı (OCR)"), false);
        QCOMPARE(button->text(), QStringLiteral("Metni tanı (OCR)"));
        QCOMPARE(button->defaultAction(), nullptr);
    }
};

QTEST_MAIN(ToolButtonTest)
#include "ToolButtonTest.moc"
