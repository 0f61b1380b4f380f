// The main window's creation and OCR commands with their dialogs offscreen
// and the real worker: a blank document end to end, the image limit
// warning, and OCR showing its page progress and stopped by the window's
// cancel button without creating the destination.

#include "workers/pdf/images/ImageFiles.h"
#include "app/MainWindow.h"
#include "app/MainWindowHarness.h"
#include "workers/pdf/pages/PageReadBack.h"
#include "workers/pdf/ocr/ScannedPdf.h"

#include <QFileInfo>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velk;
using namespace velk::test;

namespace {

// Answers the next input dialog with the given integer or text.
void answerInputDialog(const QVariant& value)
{
    QTimer::singleShot(0, [value] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (value.typeId() == QMetaType::Int)
            dialog->setIntValue(value.toInt());
        else
            dialog->setTextValue(value.toString());
        dialog->accept();
    });
}

} // namespace

class CreateCommandsWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    PageReadBack m_readBack;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void blankDocumentIsCreatedFromTheDialogs()
    {
        ScriptedWindowPrompts prompts;
        prompts.saveAnswers.append(path("boş.pdf"));
        MainWindow window(prompts.prompts());
        answerInputDialog(3);
        window.actions().blankPdf->trigger();
        QCOMPARE(prompts.saveQuestions.size(), 1);
        QCOMPARE(prompts.saveQuestions.at(0).title, QStringLiteral("PDF kaydet"));
        QCOMPARE(prompts.saveQuestions.at(0).text, QStringLiteral("belge.pdf"));
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(m_readBack.pageCount(path("boş.pdf")), 3);
    }

    void imagesToPdfRefusesMoreThanOneHundred_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("warned");
        QTest::newRow("100 asks for a destination") << 100 << false;
        QTest::newRow("101 warns") << 101 << true;
    }
    void imagesToPdfRefusesMoreThanOneHundred()
    {
        QFETCH(int, count);
        QFETCH(bool, warned);
        ScriptedWindowPrompts prompts;
        prompts.openFilesAnswers.append(QStringList(count, path("a.png")));
        MainWindow window(prompts.prompts());
        window.actions().imagesToPdf->trigger();
        QCOMPARE(prompts.warnings.size(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(prompts.warnings.at(0).title, QStringLiteral("Görsel sınırı"));
            QCOMPARE(prompts.warnings.at(0).text, QStringLiteral("En fazla 100 görsel seçin."));
        }
        QCOMPARE(prompts.saveQuestions.size(), warned ? 0 : 1);
        QVERIFY(!window.isBusy());
    }

    void imagesBecomeAPdfFromTheDialogs()
    {
        QVERIFY(writeImage(path("a.png"), 40, 30, "PNG"));
        ScriptedWindowPrompts prompts;
        prompts.openFilesAnswers.append(QStringList{path("a.png"), path("a.png")});
        prompts.saveAnswers.append(path("görseller.pdf"));
        MainWindow window(prompts.prompts());
        window.actions().imagesToPdf->trigger();
        // Named after the first image, beside it.
        QCOMPARE(prompts.saveQuestions.value(0).text, path("a.pdf"));
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(m_readBack.pageCount(path("görseller.pdf")), 2);
    }

    void ocrShowsPageProgressAndIsCancelledByTheButton()
    {
        QVERIFY(writeScannedPdf(path("tarama.pdf"), {QStringLiteral("Kırmızı elma"), QStringLiteral("Mavi deniz")}));
        ScriptedWindowPrompts prompts;
        prompts.saveAnswers.append(path("aranabilir.pdf"));
        MainWindow window(prompts.prompts());
        window.openDocument(path("tarama.pdf"), false);
        QVERIFY(waitUntilOpen(tabForFile(window, path("tarama.pdf"))));
        QStringList messages;
        connect(window.statusBar(), &QStatusBar::messageChanged, this, [&](const QString& message) {
            messages.append(message);
            if (message == QStringLiteral("OCR: sayfa 1 / 2"))
                window.cancelButton()->click();
        });
        answerInputDialog(QStringLiteral("1-2"));
        window.actions().ocr->trigger();
        QCOMPARE(prompts.saveQuestions.value(0).title, QStringLiteral("Aranabilir PDF'yi kaydet"));
        QCOMPARE(prompts.saveQuestions.value(0).text,
                 QFileInfo(path("tarama.pdf")).canonicalPath() + "/tarama-aranabilir.pdf");
        QVERIFY(waitUntilIdle(window));
        QVERIFY(messages.contains(QStringLiteral("OCR: sayfa 1 / 2")));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("İşlem iptal edildi."));
        QVERIFY(!QFile::exists(path("aranabilir.pdf")));
    }

    void ocrOutsideTheRangeWarns()
    {
        QVERIFY(writeScannedPdf(path("iki.pdf"), {QStringLiteral("bir"), QStringLiteral("iki")}));
        ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(path("iki.pdf"), false);
        QVERIFY(waitUntilOpen(tabForFile(window, path("iki.pdf"))));
        answerInputDialog(QStringLiteral("1-3"));
        window.actions().ocr->trigger();
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(prompts.warnings.at(0).title, QStringLiteral("OCR sayfa seçimi"));
        QVERIFY(prompts.saveQuestions.isEmpty());
    }
};

QTEST_MAIN(CreateCommandsWindowTest)
#include "CreateCommandsWindowTest.moc"
