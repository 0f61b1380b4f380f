// Dosya › "Yazdır…" in the main window, with Qt's PDF printer standing in
// for the system's: progress "Yazdırılıyor: sayfa %1 / %2" in the status
// bar, the window busy meanwhile, the cancel button stopping the run after
// the current page, and Ctrl+P as the shortcut. Runs from the application
// directory, where the worker is.

#include "app/MainWindow.h"
#include "app/MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"

#include <QAction>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

class PrintCommandWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_settings;

    QString at(const QString& name) const { return m_dir.filePath(name); }

    // The print dialog's stand-in: the printer writes a PDF file.
    static MainWindowPrompts printingTo(test::ScriptedWindowPrompts& scripted, const QString& output, int* asked)
    {
        MainWindowPrompts prompts = scripted.prompts();
        prompts.printSetup = [output, asked](QWidget*, QPrinter& printer, int pageCount) {
            ++*asked;
            if (pageCount != 3 || printer.resolution() != 300)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(output);
            printer.setResolution(72);
            return true;
        };
        return prompts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QVERIFY(test::writePdf(at("rapor.pdf"), test::PdfFixtureSpec::withPages(3)));
    }

    void printsWithProgress()
    {
        test::ScriptedWindowPrompts scripted;
        int asked = 0;
        MainWindow window(printingTo(scripted, at("yazdirilan.pdf"), &asked));
        QVERIFY(!window.actions().print->isEnabled());
        QCOMPARE(window.actions().print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        window.openDocument(at("rapor.pdf"), false);
        QVERIFY(test::waitUntilOpen(test::tabForFile(window, at("rapor.pdf"))));
        QVERIFY(window.actions().print->isEnabled());
        QStringList messages;
        connect(window.statusBar(), &QStatusBar::messageChanged, this,
                [&messages](const QString& message) { messages.append(message); });
        window.actions().print->trigger();
        QCOMPARE(asked, 1);
        QVERIFY(window.isBusy());
        QVERIFY(!window.actions().print->isEnabled());
        QVERIFY(window.cancelButton()->isVisibleTo(&window));
        // The printer is in use: the window stays until the run ends.
        QVERIFY(!window.close());
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Yazdırılıyor. İşlem tamamlandıktan sonra kapatın."));
        QVERIFY(test::waitUntilIdle(window));
        QVERIFY(messages.contains(QStringLiteral("Yazdırılıyor: sayfa 1 / 3")));
        QVERIFY(messages.contains(QStringLiteral("Yazdırılıyor: sayfa 3 / 3")));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Yazdırma tamamlandı."));
        QVERIFY(scripted.warnings.isEmpty());
        QVERIFY(QFile::exists(at("yazdirilan.pdf")));
        QVERIFY(!window.cancelButton()->isVisibleTo(&window));
    }

    void cancelButtonStopsThePrint()
    {
        test::ScriptedWindowPrompts scripted;
        int asked = 0;
        MainWindow window(printingTo(scripted, at("iptal.pdf"), &asked));
        window.openDocument(at("rapor.pdf"), false);
        QVERIFY(test::waitUntilOpen(test::tabForFile(window, at("rapor.pdf"))));
        QStringList messages;
        connect(window.statusBar(), &QStatusBar::messageChanged, this, [&](const QString& message) {
            messages.append(message);
            if (message == QStringLiteral("Yazdırılıyor: sayfa 1 / 3"))
                window.cancelButton()->click();
        });
        window.actions().print->trigger();
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Yazdırma iptal edildi."));
        QVERIFY(!messages.contains(QStringLiteral("Yazdırılıyor: sayfa 3 / 3")));
        QVERIFY(scripted.warnings.isEmpty());
    }

    void cancelledDialogPrintsNothing()
    {
        test::ScriptedWindowPrompts scripted;
        MainWindowPrompts prompts = scripted.prompts();
        prompts.printSetup = [](QWidget*, QPrinter&, int) { return false; };
        MainWindow window(prompts);
        window.openDocument(at("rapor.pdf"), false);
        QVERIFY(test::waitUntilOpen(test::tabForFile(window, at("rapor.pdf"))));
        window.actions().print->trigger();
        QVERIFY(!window.isBusy());
    }
};

QTEST_MAIN(PrintCommandWindowTest)
#include "PrintCommandWindowTest.moc"
