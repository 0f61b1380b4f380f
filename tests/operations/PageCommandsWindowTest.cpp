// The main window's "Sayfaları düzenle ve ayır…" and "PDF birleştir…"
// actions reach the page commands: the window's own questions are asked,
// and a single chosen file or a missing document ends the flow quietly.

#include "app/MainWindow.h"
#include "app/MainWindowHarness.h"

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

using namespace velk;

class PageCommandsWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mergingAsksForFilesAndStopsAtOne_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::newRow("cancelled") << QStringList();
        QTest::newRow("one file") << QStringList{"/yok/tek.pdf"};
    }

    void mergingAsksForFilesAndStopsAtOne()
    {
        QFETCH(QStringList, chosen);
        test::ScriptedWindowPrompts prompts;
        prompts.openFilesAnswers.append(chosen);
        MainWindow window(prompts.prompts());
        window.actions().merge->trigger();
        QCOMPARE(prompts.openFilesQuestions.size(), 1);
        QCOMPARE(prompts.openFilesQuestions.at(0).title, QString("Birleştirilecek PDF'ler"));
        QCOMPARE(prompts.openFilesQuestions.at(0).filter, QString("PDF belgeleri (*.pdf)"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(prompts.saveQuestions.isEmpty() && prompts.warnings.isEmpty());
        QVERIFY(!window.isBusy());
        QCOMPARE(window.tabs()->count(), 1);
    }

    void organisingWithoutADocumentDoesNothing()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.organizePages();
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(prompts.saveQuestions.isEmpty() && prompts.openFilesQuestions.isEmpty());
        QVERIFY(!window.isBusy());
    }
};

QTEST_MAIN(PageCommandsWindowTest)
#include "PageCommandsWindowTest.moc"
