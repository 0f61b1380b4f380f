// Recent documents in the main window: documents that opened are listed on
// the start page and in Dosya › "Son açılanlar", newest first, with name,
// folder and date; a document whose file is gone is greyed and opening it
// says "Dosya bulunamadı: %1"; "Listeyi temizle" empties both; the list
// survives a restart. Runs from the application directory, where the
// worker is; settings live in a temporary location.

#include "app/MainWindow.h"
#include "app/RecentDocumentsList.h"
#include "app/StartPage.h"
#include "MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

class RecentDocumentsWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_settings;

    QString file(const QString& name) const { return QFileInfo(m_dir.filePath(name)).absoluteFilePath(); }

    static QStringList lines(const QListWidget* list, int line)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text().section(QLatin1Char('\n'), line, line);
        return texts;
    }

    static QStringList menuTexts(MainWindow& window)
    {
        auto* menu = window.findChild<QMenu*>(QStringLiteral("recentMenu"));
        Q_EMIT menu->aboutToShow();
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (kapalı)"));
        }
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QVERIFY(test::writePdf(m_dir.filePath("rapor.pdf"), test::PdfFixtureSpec::withPages(1)));
        QVERIFY(test::writePdf(m_dir.filePath("sozlesme.pdf"), test::PdfFixtureSpec::withPages(1)));
        QVERIFY(test::writePdf(m_dir.filePath("gidecek.pdf"), test::PdfFixtureSpec::withPages(1)));
    }

    void openedDocumentsAreListedNewestFirst()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        const QListWidget* list = window.startPage()->recentList()->list();
        QVERIFY(window.startPage()->recentList()->isHidden());
        for (const char* name : {"gidecek.pdf", "rapor.pdf", "sozlesme.pdf"}) {
            window.openDocument(file(QString::fromLatin1(name)), false);
            QVERIFY(test::waitUntilOpen(test::tabForFile(window, file(QString::fromLatin1(name)))));
        }
        QCOMPARE(lines(list, 0), QStringList({"sozlesme.pdf", "rapor.pdf", "gidecek.pdf"}));
        const QString folder = QFileInfo(file("rapor.pdf")).canonicalPath();
        QVERIFY2(list->item(0)->text().section('\n', 1).startsWith(folder + QStringLiteral(" · ")),
                 qPrintable(list->item(0)->text()));
        QVERIFY(!window.startPage()->recentList()->isHidden());
        QCOMPARE(menuTexts(window).first(), QStringLiteral("sozlesme.pdf — ") + folder);
    }

    void listSurvivesARestartAndMissingFilesAreGreyed()
    {
        QVERIFY(QFile::remove(file("gidecek.pdf")));
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        const QListWidget* list = window.startPage()->recentList()->list();
        QCOMPARE(lines(list, 0), QStringList({"sozlesme.pdf", "rapor.pdf", "gidecek.pdf"}));
        QCOMPARE(list->item(2)->foreground().color(), QColor(RecentDocumentsList::kMissingColour));
        QVERIFY(list->item(0)->foreground().color() != QColor(RecentDocumentsList::kMissingColour));

        // The vanished file opens nothing and says so.
        const QString missing = QFileInfo(file("rapor.pdf")).canonicalPath() + "/gidecek.pdf";
        Q_EMIT window.startPage()->recentList()->documentChosen(missing);
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(prompts.warnings.at(0).text, QStringLiteral("Dosya bulunamadı: %1").arg(missing));
        QCOMPARE(window.tabs()->count(), 1);

        // A present one opens in a tab.
        Q_EMIT window.startPage()->recentList()->documentChosen(list->item(1)->data(Qt::UserRole).toString());
        QCOMPARE(window.tabs()->count(), 2);
    }

    void doubleClickOrEnterChoosesOnce_data()
    {
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("double click") << false;
        QTest::newRow("Enter") << true;
    }
    void doubleClickOrEnterChoosesOnce()
    {
        QFETCH(bool, keyboard);
        RecentDocumentsList recent;
        recent.setEntries({{file("rapor.pdf"), QDateTime::currentDateTimeUtc()}});
        recent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&recent));
        QSignalSpy chosen(&recent, &RecentDocumentsList::documentChosen);
        QListWidget* list = recent.list();
        if (keyboard) {
            list->setCurrentRow(0);
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            // As the window system delivers it: a click, then the second
            // press as a double click.
            const QPoint row = list->visualItemRect(list->item(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, row);
        }
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), file("rapor.pdf"));
    }

    void clearingEmptiesListAndMenu()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QVERIFY(window.actions().clearRecent->isEnabled());
        window.actions().clearRecent->trigger();
        QCOMPARE(window.startPage()->recentList()->list()->count(), 0);
        QVERIFY(window.startPage()->recentList()->isHidden());
        QCOMPARE(menuTexts(window), QStringList({"Liste boş (kapalı)", "Listeyi temizle (kapalı)"}));
        const QSettings settings;
        QVERIFY(!settings.contains(QStringLiteral("recent/paths")));
    }
};

QTEST_MAIN(RecentDocumentsWindowTest)
#include "RecentDocumentsWindowTest.moc"
