// "PDF formunu doldur…" inside the real main window: the field dialog is
// answered as a user would, the destination asked with its own title and
// name, and the filled form runs as the window's one background task whose
// output opens in its own tab; the filled value reads back through the
// field listing of the new tab's document. A form whose only signature
// field is empty is not signed and fills the same way. Runs from the
// application directory, beside the real worker.

#include "operations/FillForm.h"
#include "operations/FormFillDialog.h"
#include "app/MainWindow.h"
#include "document/ui/NativeDocumentTab.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "app/Theme.h"

#include <QFileInfo>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kWaitMs = 60000;

struct Question {
    QString title;
    QString name;
    QString filter;
};

// Types text into the first field of the form dialog once it shows.
void answerFormDialog(QWidget& window, QTimer& timer, const QString& text)
{
    QObject::connect(&timer, &QTimer::timeout, &window, [&window, &timer, text] {
        auto* dialog = window.findChild<FormFillDialog*>();
        if (!dialog || !dialog->isVisible())
            return;
        timer.stop();
        qobject_cast<QLineEdit*>(dialog->fieldWidget(0))->setText(text);
        dialog->applyButton()->click();
    });
    timer.start(10);
}

} // namespace

class MainWindowFormCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_temp;
    QList<Question> m_saveQuestions;
    QStringList m_warnings;
    QString m_output;

    MainWindowPrompts prompts()
    {
        MainWindowPrompts prompts;
        prompts.saveFileName = [this](QWidget*, const QString& title, const QString& name, const QString& filter) {
            m_saveQuestions.append({title, name, filter});
            return m_output;
        };
        prompts.warning = [this](QWidget*, const QString&, const QString& text) { m_warnings.append(text); };
        return prompts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        QVERIFY(applyTheme());
    }

    void filledFormIsSavedAndOpened_data()
    {
        QTest::addColumn<bool>("emptySignatureField");
        QTest::newRow("text field") << false;
        QTest::newRow("with an empty signature field") << true;
    }

    void filledFormIsSavedAndOpened()
    {
        QFETCH(bool, emptySignatureField);
        PdfFormField name;
        name.type = "/Tx";
        name.name = "ad";
        name.entries = "/V (Ali) /DA (/Helv 12 Tf 0 g)";
        PdfFormSpec spec;
        spec.fields = {name};
        if (emptySignatureField) {
            PdfFormField signature;
            signature.type = "/Sig";
            signature.name = "imza";
            spec.fields.append(signature);
        }
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
        const QString source = m_dir.filePath(tag + QStringLiteral("-form.pdf"));
        QVERIFY(writeFormPdf(source, spec));
        m_saveQuestions.clear();
        m_warnings.clear();
        m_output = m_dir.filePath(tag + QStringLiteral("-dolu.pdf"));
        MainWindow window(prompts());
        window.openDocument(source, false);
        QVERIFY(QTest::qWaitFor([&window] {
            return window.currentDocumentTab() && window.currentDocumentTab()->document();
        }, kWaitMs));
        const PdfDocumentPtr opened = window.currentDocumentTab()->document();
        QCOMPARE(opened->protection.signedDocument, false);
        QCOMPARE(opened->protection.hasForm, true);
        QTimer timer;
        const QString value = QString::fromUtf8("Ayşe Yılmaz");
        answerFormDialog(window, timer, value);
        window.actions().fillForm->trigger();
        QCOMPARE(m_saveQuestions.size(), 1);
        QCOMPARE(m_saveQuestions.at(0).title, QStringLiteral("Doldurulan formu kaydet"));
        // Proposed beside the form, named after it.
        QCOMPARE(m_saveQuestions.at(0).name,
                 QFileInfo(source).canonicalPath() + QLatin1Char('/') + tag + QStringLiteral("-form-doldurulmus.pdf"));
        QCOMPARE(m_saveQuestions.at(0).filter, QStringLiteral("PDF belgeleri (*.pdf)"));
        QVERIFY(QTest::qWaitFor([&window] { return !window.isBusy(); }, kWaitMs));
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.value(0)));
        NativeDocumentTab* tab = window.currentDocumentTab();
        QVERIFY(tab);
        QCOMPARE(tab->sourcePath(), QFileInfo(m_output).canonicalFilePath());
        QVERIFY(QTest::qWaitFor([tab] { return tab->document() != nullptr; }, kWaitMs));
        QString shown;
        fillFormDialog(&window, tab->document(), {}, [&shown](FormFillDialog& dialog) {
            shown = qobject_cast<QLineEdit*>(dialog.fieldWidget(0))->text();
            return int(QDialog::Rejected);
        });
        QCOMPARE(shown, value);
    }
};

QTEST_MAIN(MainWindowFormCommandTest)
#include "MainWindowFormCommandTest.moc"
