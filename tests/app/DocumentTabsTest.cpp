// Documents in the main window's tabs: the files named at start-up open in
// argument order, one tab per file however its path is spelled; a file that
// cannot be opened is refused with a warning, a file that fails to load
// keeps its tab and says why; the start tab stays first and cannot be
// closed, document tabs close and are deleted afterwards, and the details
// panel follows the current tab. Runs from the application directory,
// where the worker is.

#include "app/DetailsPanel.h"
#include "document/core/DocumentOpen.h"
#include "app/MainWindow.h"
#include "MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"
#include "app/StartPage.h"
#include "app/Startup.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

class DocumentTabsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_broken;

    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString canonical(const QString& name) const { return QFileInfo(file(name)).canonicalFilePath(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkdir("alt"));
        QVERIFY(test::writePdf(file("rapor.pdf"), test::PdfFixtureSpec::withPages(2)));
        QVERIFY(test::writePdf(file("Sözleşme.pdf"), test::PdfFixtureSpec::withPages(3)));
        QVERIFY(QFile::link(file("rapor.pdf"), file("bağlantı.pdf")));
        m_broken = file("bozuk.pdf");
        QFile broken(m_broken);
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("%PDF-1.7 nothing else") > 0);
        broken.close();
        // Start-up makes the application directory current; so do the tests.
        QVERIFY(prepareStartup({{}, QDir::currentPath(), QCoreApplication::applicationDirPath(), {}}).succeeded());
    }

    void startupDocumentsOpenInOrder_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");

        const QString rapor = file("rapor.pdf");
        const QString contract = file("Sözleşme.pdf");
        QTest::newRow("two documents") << QStringList{rapor, contract} << QStringList{"rapor.pdf", "Sözleşme.pdf"};
        QTest::newRow("reverse order") << QStringList{contract, rapor} << QStringList{"Sözleşme.pdf", "rapor.pdf"};
        QTest::newRow("same path twice") << QStringList{rapor, rapor} << QStringList{"rapor.pdf"};
        QTest::newRow("spelled differently")
            << QStringList{rapor, m_dir.path() + "/./alt/../rapor.pdf"} << QStringList{"rapor.pdf"};
        QTest::newRow("through a link") << QStringList{file("bağlantı.pdf"), rapor} << QStringList{"rapor.pdf"};
        QTest::newRow("relative path") << QStringList{"rapor.pdf"} << QStringList{"rapor.pdf"};
        QTest::newRow("relative and absolute")
            << QStringList{"alt/../Sözleşme.pdf", rapor} << QStringList{"Sözleşme.pdf", "rapor.pdf"};
    }

    void startupDocumentsOpenInOrder()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        // Started from the documents' directory; the application directory
        // becomes current before anything opens.
        StartupPlan plan{arguments, m_dir.path(), QCoreApplication::applicationDirPath(), {}};
        const StartupOutcome outcome = prepareStartup(plan);
        QVERIFY(outcome.succeeded());
        QCOMPARE(QDir::currentPath(), QDir(QCoreApplication::applicationDirPath()).canonicalPath());

        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocuments(outcome.documentPaths);
        QVERIFY(prompts.warnings.isEmpty());
        QCOMPARE(window.tabs()->count(), 1 + files.size());
        QCOMPARE(window.tabs()->widget(0), window.startPage());
        const QList<NativeDocumentTab*> tabs = test::documentTabs(window);
        for (int i = 0; i < files.size(); ++i) {
            QCOMPARE(tabs.at(i)->sourcePath(), canonical(files.at(i)));
            QCOMPARE(window.tabs()->tabText(i + 1), files.at(i));
            QCOMPARE(window.tabs()->tabToolTip(i + 1), canonical(files.at(i)));
        }
        for (NativeDocumentTab* tab : tabs)
            QVERIFY(test::waitUntilOpen(tab));
        QCOMPARE(prompts.passwordQuestions, 0);
    }

    void openFileBringsItsTabForward()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocuments({file("rapor.pdf"), file("Sözleşme.pdf")});
        QCOMPARE(window.tabs()->currentIndex(), 2);
        NativeDocumentTab* rapor = test::tabForFile(window, file("rapor.pdf"));
        window.openDocument(file("bağlantı.pdf"), false);
        QCOMPARE(window.tabs()->count(), 3);
        QCOMPARE(window.currentDocumentTab(), rapor);
    }

    void replaceReopensTheFile()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocuments({file("rapor.pdf"), file("Sözleşme.pdf")});
        QPointer<NativeDocumentTab> old = test::tabForFile(window, file("rapor.pdf"));
        QVERIFY(test::waitUntilOpen(old));
        window.openDocument(file("rapor.pdf"), true);
        QCOMPARE(window.tabs()->count(), 3);
        NativeDocumentTab* fresh = test::tabForFile(window, file("rapor.pdf"));
        QVERIFY(fresh && fresh != old);
        QCOMPARE(window.tabs()->indexOf(fresh), 2);
        QCOMPARE(window.currentDocumentTab(), fresh);
        QTRY_VERIFY(old.isNull());
        QVERIFY(test::waitUntilOpen(fresh));
    }

    void openCommandOpensTheChosenFile()
    {
        test::ScriptedWindowPrompts prompts;
        prompts.openAnswers = {file("Sözleşme.pdf")};
        MainWindow window(prompts.prompts());
        window.actions().open->trigger();
        QCOMPARE(prompts.openQuestions.size(), 1);
        NativeDocumentTab* tab = window.currentDocumentTab();
        QVERIFY(tab);
        QCOMPARE(tab->sourcePath(), canonical("Sözleşme.pdf"));
        QVERIFY(test::waitUntilOpen(tab));
        QCOMPARE(tab->document()->pageCount(), 3);
    }

    void unreadableFileIsRefusedWithAWarning_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << file("yok.pdf");
        QTest::newRow("directory") << m_dir.path();
        QTest::newRow("empty") << QString();
        QTest::newRow("zero character") << file("rapor.pdf") + QChar(0) + "x";
    }

    void unreadableFileIsRefusedWithAWarning()
    {
        QFETCH(QString, path);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(path, false);
        QCOMPARE(window.tabs()->count(), 1);
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(prompts.warnings.at(0).title, QStringLiteral("Belge açılamadı"));
        QCOMPARE(prompts.warnings.at(0).text, QStringLiteral("PDF dosyası okunamıyor."));
        QCOMPARE(window.findChildren<NativeDocumentTab*>().size(), 0);
    }

    void failedLoadingKeepsTheTabWithItsSentence()
    {
        const QString expected = openPdfDocument(m_broken, QString(), nullptr).error;
        QVERIFY(!expected.isEmpty());
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(m_broken, false);
        NativeDocumentTab* tab = window.currentDocumentTab();
        QVERIFY(tab);
        QVERIFY(test::waitUntilSettled(tab));
        QVERIFY(!tab->document());
        QCOMPARE(tab->message(), expected);
        QCOMPARE(window.tabs()->count(), 2);
        QCOMPARE(window.tabs()->tabText(1), QStringLiteral("bozuk.pdf"));
        QVERIFY(prompts.warnings.isEmpty());
        QVERIFY(!window.actions().saveCopy->isEnabled());
    }

    void startTabStaysFirst_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("start tab moved last") << 0 << 2 << QStringList{"Başlangıç", "rapor.pdf", "Sözleşme.pdf"};
        QTest::newRow("document moved first") << 2 << 0 << QStringList{"Başlangıç", "Sözleşme.pdf", "rapor.pdf"};
        QTest::newRow("documents swapped") << 1 << 2 << QStringList{"Başlangıç", "Sözleşme.pdf", "rapor.pdf"};
    }

    void startTabStaysFirst()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, order);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocuments({file("rapor.pdf"), file("Sözleşme.pdf")});
        window.tabs()->tabBar()->moveTab(from, to);
        QTRY_COMPARE(window.tabs()->indexOf(window.startPage()), 0);
        QStringList titles;
        for (int i = 0; i < window.tabs()->count(); ++i)
            titles << window.tabs()->tabText(i);
        QCOMPARE(titles, order);
        QCOMPARE(window.tabs()->tabBar()->tabButton(0, QTabBar::RightSide), nullptr);
        QCOMPARE(window.tabs()->tabBar()->tabButton(0, QTabBar::LeftSide), nullptr);
    }

    void closingTabs()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocuments({file("rapor.pdf"), file("Sözleşme.pdf")});
        Q_EMIT window.tabs()->tabCloseRequested(0);
        QCOMPARE(window.tabs()->count(), 3);
        QCOMPARE(window.tabs()->widget(0), window.startPage());

        QPointer<NativeDocumentTab> rapor = test::tabForFile(window, file("rapor.pdf"));
        Q_EMIT window.tabs()->tabCloseRequested(window.tabs()->indexOf(rapor));
        QCOMPARE(window.tabs()->count(), 2);
        // Deleted once control returns to the event loop, not at once.
        QVERIFY(!rapor.isNull());
        QTRY_VERIFY(rapor.isNull());
        QCOMPARE(test::documentTabs(window).at(0)->sourcePath(), canonical("Sözleşme.pdf"));
    }

    void detailsPanelFollowsTheCurrentTab()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(file("Sözleşme.pdf"), false);
        QCOMPARE(window.detailsPanel()->title(), QStringLiteral("Sözleşme.pdf"));
        QCOMPARE(window.detailsPanel()->text(),
                 QStringLiteral("Görüntüleme araçlarını belgenin üst çubuğundan kullanabilirsiniz."));
        window.tabs()->setCurrentIndex(0);
        QCOMPARE(window.detailsPanel()->title(), QStringLiteral("Belge açık değil"));
        QCOMPARE(window.detailsPanel()->text(),
                 QStringLiteral("Başlamak için bir belge oluşturun veya görsellerinizi dönüştürün."));
    }
};

QTEST_MAIN(DocumentTabsTest)
#include "DocumentTabsTest.moc"
