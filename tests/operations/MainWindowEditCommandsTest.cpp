// The editing commands inside the real main window: a tab's text, note and
// shape requests ask for the destination and run as the window's one
// background task, whose output then opens in its own tab; a request while
// a task runs is ignored; a refused destination ends in the window's
// warning. The two menu commands go through Qt's own dialogs here (the item
// dialog of the shape choice, the text-object dialog), answered as a user
// would. Runs from the application directory, beside the real worker.

#include "app/MainWindow.h"

#include "document/ui/NativeDocumentTab.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "operations/TextObjectEditDialog.h"
#include "app/Theme.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace velk;
using namespace velk::test;

namespace {

// Generous: a worker run waits behind every other run of this user.
constexpr int kWaitMs = 60000;

struct Question {
    QString title;
    QString text;
    QString filter;
};

bool waitForDocument(NativeDocumentTab* tab)
{
    return tab && QTest::qWaitFor([tab] { return tab->document() != nullptr; }, kWaitMs);
}

} // namespace

class MainWindowEditCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_temp;
    QString m_source;
    QStringList m_saveAnswers;
    QList<Question> m_saveQuestions;
    QList<Question> m_warnings;

    QString file(const QString& name) const { return m_dir.filePath(name); }

    MainWindowPrompts prompts()
    {
        MainWindowPrompts prompts;
        prompts.saveFileName = [this](QWidget*, const QString& title, const QString& name, const QString& filter) {
            m_saveQuestions.append({title, name, filter});
            return m_saveAnswers.isEmpty() ? QString() : m_saveAnswers.takeFirst();
        };
        prompts.warning = [this](QWidget*, const QString& title, const QString& text) {
            m_warnings.append({title, text, QString()});
        };
        return prompts;
    }

    // The window's document tab of the source, open and ready.
    NativeDocumentTab* openSource(MainWindow& window)
    {
        window.openDocument(m_source, false);
        NativeDocumentTab* tab = window.currentDocumentTab();
        return waitForDocument(tab) ? tab : nullptr;
    }

    void checkPublishedAndOpened(MainWindow& window, const QString& output)
    {
        QVERIFY(QTest::qWaitFor([&window] { return !window.isBusy(); }, kWaitMs));
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.value(0).text));
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("PDF kaydedildi: %1").arg(QFileInfo(output).fileName()));
        QCOMPARE(window.currentDocumentTab()->sourcePath(), QFileInfo(output).canonicalFilePath());
        QVERIFY(waitForDocument(window.currentDocumentTab()));
        QCOMPARE(window.currentDocumentTab()->document()->pageCount(), 2);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        QVERIFY(applyTheme());
        m_source = file(QStringLiteral("rapor.pdf"));
        QVERIFY(writePdf(m_source, PdfFixtureSpec::withPages(2, PdfPageSpec(595, 842, 0, "Eski metin"))));
    }

    void init()
    {
        m_saveAnswers.clear();
        m_saveQuestions.clear();
        m_warnings.clear();
    }

    void textRequestIsSavedAndOpened()
    {
        const QString output = file(QStringLiteral("eklenen.pdf"));
        m_saveAnswers = {output};
        MainWindow window(prompts());
        NativeDocumentTab* tab = openSource(window);
        QVERIFY(tab);
        const QString added = QStringLiteral("Çağrı İşleği ğüşıöç");
        Q_EMIT tab->editRequested(tab->document(), 0, QPointF(0.1, 0.3), added, false, 14);
        QCOMPARE(m_saveQuestions.size(), 1);
        QCOMPARE(m_saveQuestions.at(0).title, QStringLiteral("Düzenlenmiş PDF'yi kaydet"));
        QCOMPARE(m_saveQuestions.at(0).text, QFileInfo(m_source).canonicalPath() + "/rapor-duzenlenmis.pdf");
        QCOMPARE(m_saveQuestions.at(0).filter, QStringLiteral("PDF belgeleri (*.pdf)"));
        QVERIFY(window.isBusy());
        QVERIFY(!window.cancelButton()->isVisible());
        checkPublishedAndOpened(window, output);
        QVERIFY(popplerText(output).contains(added));
    }

    void shapeRequestIsSavedAndOpened()
    {
        const QString output = file(QStringLiteral("vurgulu.pdf"));
        m_saveAnswers = {output};
        MainWindow window(prompts());
        NativeDocumentTab* tab = openSource(window);
        QVERIFY(tab);
        Q_EMIT tab->annotationRequested(tab->document(), 1, QStringLiteral("highlight"), QRectF(0.1, 0.1, 0.4, 0.2));
        QCOMPARE(m_saveQuestions.size(), 1);
        QCOMPARE(m_saveQuestions.at(0).title, QStringLiteral("Açıklamalı PDF'yi kaydet"));
        QCOMPARE(m_saveQuestions.at(0).text, QFileInfo(m_source).canonicalPath() + "/rapor-aciklamali.pdf");
        checkPublishedAndOpened(window, output);
        QVERIFY(uncompressed(output, m_temp.path()).contains("/Subtype /Highlight"));
    }

    void refusedDestinationIsReportedByTheWindow()
    {
        m_saveAnswers = {m_source};
        MainWindow window(prompts());
        NativeDocumentTab* tab = openSource(window);
        QVERIFY(tab);
        const QByteArray before = readBytes(m_source);
        Q_EMIT tab->editRequested(tab->document(), 0, QPointF(0.1, 0.3), QStringLiteral("x"), true, 14);
        QVERIFY(QTest::qWaitFor([&window] { return !window.isBusy(); }, kWaitMs));
        QCOMPARE(m_warnings.size(), 1);
        QCOMPARE(m_warnings.at(0).title, QStringLiteral("PDF oluşturulamadı"));
        QCOMPARE(m_warnings.at(0).text, QStringLiteral("Kaynak belge korunur. Yeni bir çıktı adı seçin."));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("İşlem tamamlanamadı."));
        QCOMPARE(readBytes(m_source), before);
    }

    void requestsWhileBusyAreIgnored()
    {
        m_saveAnswers = {file(QStringLiteral("asla.pdf"))};
        MainWindow window(prompts());
        NativeDocumentTab* tab = openSource(window);
        QVERIFY(tab);
        auto gate = std::make_shared<QSemaphore>(0);
        QVERIFY(window.startExport(file(QStringLiteral("bekleyen.pdf")), [gate] {
            gate->acquire();
            return ExportResult{false, QStringLiteral("bitti")};
        }, nullptr));
        Q_EMIT tab->editRequested(tab->document(), 0, QPointF(0.1, 0.3), QStringLiteral("x"), false, 14);
        Q_EMIT tab->annotationRequested(tab->document(), 0, QStringLiteral("ellipse"), QRectF(0.1, 0.1, 0.4, 0.2));
        window.actions().editText->trigger();
        window.actions().addShape->trigger();
        QVERIFY(m_saveQuestions.isEmpty());
        QVERIFY(!window.findChild<QDialog*>());
        gate->release();
        QVERIFY(QTest::qWaitFor([&window] { return !window.isBusy(); }, kWaitMs));
        QVERIFY(!QFileInfo::exists(file(QStringLiteral("asla.pdf"))));
    }

    void shapeCommandAsksWithTheItemDialog()
    {
        MainWindow window(prompts());
        NativeDocumentTab* tab = openSource(window);
        QVERIFY(tab);
        QStringList items;
        QString title;
        QString label;
        bool editable = true;
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = window.findChild<QInputDialog*>();
            if (!dialog)
                return;
            title = dialog->windowTitle();
            label = dialog->labelText();
            items = dialog->comboBoxItems();
            editable = dialog->isComboBoxEditable();
            dialog->setTextValue(QStringLiteral("Elips"));
            dialog->accept();
        });
        window.actions().addShape->trigger();
        QCOMPARE(title, QStringLiteral("Vurgulama veya şekil"));
        QCOMPARE(label, QStringLiteral("Araç"));
        QCOMPARE(items, QStringList({QStringLiteral("Alan vurgula"), QStringLiteral("Dikdörtgen"),
                                     QStringLiteral("Elips")}));
        QVERIFY(!editable);
        QCOMPARE(tab->message(),
                 QStringLiteral("Alanı seçmek için önce bir köşeye, sonra karşı köşeye tıklayın. İptal: Esc."));
    }

    void existingTextCommandRunsTheTextObjectDialog()
    {
        const QString output = file(QStringLiteral("yeni metin.pdf"));
        m_saveAnswers = {output};
        MainWindow window(prompts());
        QVERIFY(openSource(window));
        // The dialog comes up after the query; look for it until it does.
        QString shownText;
        QTimer answer;
        connect(&answer, &QTimer::timeout, &window, [&] {
            auto* dialog = window.findChild<TextObjectEditDialog*>();
            if (!dialog || !dialog->isVisible())
                return;
            answer.stop();
            shownText = dialog->editor()->toPlainText();
            dialog->editor()->setPlainText(QStringLiteral("Yeni metin ğüş"));
            dialog->applyButton()->click();
        });
        answer.start(10);
        window.actions().editText->trigger();
        QCOMPARE(shownText, QStringLiteral("Eski metin"));
        QCOMPARE(m_saveQuestions.size(), 1);
        QCOMPARE(m_saveQuestions.at(0).title, QStringLiteral("Düzenlenen PDF'yi farklı kaydet"));
        QCOMPARE(m_saveQuestions.at(0).text, QFileInfo(m_source).canonicalPath() + "/rapor-duzenlenmis.pdf");
        checkPublishedAndOpened(window, output);
        const QString text = popplerText(output);
        QVERIFY(text.contains(QStringLiteral("Yeni metin ğüş")));
        QCOMPARE(text.count(QStringLiteral("Eski metin")), 1);
    }

    void cleanupTestCase()
    {
        // Every task's workspace and every document it re-opened is gone,
        // once the page renders of closed tabs have let go of theirs.
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(entriesOf(m_temp.path()), QStringList());
    }
};

QTEST_MAIN(MainWindowEditCommandsTest)
#include "MainWindowEditCommandsTest.moc"
