// "Farklı kaydet…" writes the open document's working copy to a new file
// in the background and opens the copy in a new tab; it never writes over
// the source. A task that writes a file already open in a tab replaces that
// tab with the new file. Runs from the application directory, where the
// worker is.

#include "app/MainWindow.h"
#include "MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"
#include "app/Theme.h"

#include <QFileInfo>
#include <QAction>
#include <QFile>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SaveDocumentCopyTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_source;

    QString file(const QString& name) const { return m_dir.filePath(name); }

    // A window showing the source document, open and ready.
    bool openSource(MainWindow& window)
    {
        window.openDocument(m_source, false);
        return test::waitUntilOpen(window.currentDocumentTab());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(applyTheme());
        m_source = file("rapor.pdf");
        QVERIFY(test::writePdf(m_source, test::PdfFixtureSpec::withPages(2)));
    }

    void copyIsWrittenAndOpened()
    {
        const QString copy = file("rapor kopyası.pdf");
        test::ScriptedWindowPrompts prompts;
        prompts.saveAnswers = {copy};
        MainWindow window(prompts.prompts());
        QVERIFY(openSource(window));
        NativeDocumentTab* sourceTab = window.currentDocumentTab();

        window.actions().saveCopy->trigger();
        QCOMPARE(prompts.saveQuestions.size(), 1);
        QCOMPARE(prompts.saveQuestions.at(0).title, QStringLiteral("PDF'yi farklı kaydet"));
        // Proposed beside the document, named after it.
        QCOMPARE(prompts.saveQuestions.at(0).text, QFileInfo(m_source).canonicalPath() + "/rapor-kopya.pdf");
        QCOMPARE(prompts.saveQuestions.at(0).filter, QStringLiteral("PDF belgeleri (*.pdf)"));
        QVERIFY(test::waitUntilIdle(window));

        QVERIFY(prompts.warnings.isEmpty());
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("PDF kaydedildi: rapor kopyası.pdf"));
        QCOMPARE(contentsOf(copy), contentsOf(m_source));
        QCOMPARE(window.tabs()->count(), 3);
        NativeDocumentTab* copyTab = test::tabForFile(window, copy);
        QVERIFY(copyTab && copyTab != sourceTab);
        QCOMPARE(window.currentDocumentTab(), copyTab);
        QCOMPARE(window.tabs()->tabText(2), QStringLiteral("rapor kopyası.pdf"));
        QVERIFY(test::waitUntilOpen(copyTab));
        QCOMPARE(copyTab->document()->pageCount(), 2);
    }

    void cancelledDialogStartsNothing()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QVERIFY(openSource(window));
        const QString status = window.statusBar()->currentMessage();
        window.actions().saveCopy->trigger();
        QCOMPARE(prompts.saveQuestions.size(), 1);
        QVERIFY(!window.isBusy());
        QCOMPARE(window.statusBar()->currentMessage(), status);
        QCOMPARE(window.tabs()->count(), 2);
    }

    void sourceIsNeverOverwritten_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("the source itself") << file("rapor.pdf");
        QTest::newRow("spelled differently") << m_dir.path() + "/./rapor.pdf";
    }

    void sourceIsNeverOverwritten()
    {
        QFETCH(QString, output);
        const QByteArray before = contentsOf(m_source);
        test::ScriptedWindowPrompts prompts;
        prompts.saveAnswers = {output};
        MainWindow window(prompts.prompts());
        QVERIFY(openSource(window));
        window.actions().saveCopy->trigger();
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(prompts.warnings.at(0).title, QStringLiteral("PDF oluşturulamadı"));
        QCOMPARE(prompts.warnings.at(0).text, QStringLiteral("Kaynak korunur. Farklı bir çıktı adı seçin."));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("İşlem tamamlanamadı."));
        QCOMPARE(contentsOf(m_source), before);
        QCOMPARE(window.tabs()->count(), 2);
    }

    void copyNeedsAnOpenDocumentAndNoTask_data()
    {
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<bool>("busy");
        QTest::newRow("start tab") << false << false;
        QTest::newRow("document, busy") << true << true;
    }

    void copyNeedsAnOpenDocumentAndNoTask()
    {
        QFETCH(bool, withDocument);
        QFETCH(bool, busy);
        test::ScriptedWindowPrompts prompts;
        prompts.saveAnswers = {file("hiç.pdf")};
        MainWindow window(prompts.prompts());
        if (withDocument)
            QVERIFY(openSource(window));
        test::TaskGate gate;
        if (busy)
            QVERIFY(window.startExport(file("başka.pdf"), gate.task({false, QStringLiteral("Bitti.")}), nullptr));
        // Called directly: the disabled command could not be triggered.
        window.saveDocumentCopy();
        QVERIFY(prompts.saveQuestions.isEmpty());
        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QVERIFY(!QFile::exists(file("hiç.pdf")));
    }

    void newFileOverAnOpenOneReplacesItsTab()
    {
        const QString target = file("yeniden.pdf");
        QVERIFY(test::writePdf(target, test::PdfFixtureSpec::withPages(2)));
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocuments({target, m_source});
        QPointer<NativeDocumentTab> old = test::tabForFile(window, target);
        QVERIFY(test::waitUntilOpen(old));
        QCOMPARE(old->document()->pageCount(), 2);

        test::TaskGate gate;
        const auto work = [target] { test::writePdf(target, test::PdfFixtureSpec::withPages(4)); };
        QVERIFY(window.startExport(target, gate.task({true, QString()}, work), nullptr));
        gate.open();
        QVERIFY(test::waitUntilIdle(window));

        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("PDF kaydedildi: yeniden.pdf"));
        QCOMPARE(window.tabs()->count(), 3);
        NativeDocumentTab* fresh = test::tabForFile(window, target);
        QVERIFY(fresh && fresh != old);
        QCOMPARE(window.currentDocumentTab(), fresh);
        QTRY_VERIFY(old.isNull());
        QVERIFY(test::waitUntilOpen(fresh));
        QCOMPARE(fresh->document()->pageCount(), 4);
        QVERIFY(prompts.warnings.isEmpty());
    }
};

QTEST_MAIN(SaveDocumentCopyTest)
#include "SaveDocumentCopyTest.moc"
