// The editing commands as the main window runs them: each asks for its
// destination with its own title and proposed name, hands a task without
// a cancellation flag to the window's runner, and does nothing while a task
// runs, without an open document or when a question is cancelled. The shape
// command asks which shape and starts the tab's area pick. The tasks handed
// over are run here against the real worker in the real sandbox.

#include "operations/DocumentEditCommands.h"
#include "operations/ShapeChoice.h"

#include "document/core/DocumentOpen.h"
#include "document/ui/NativeDocumentTab.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "support/TestPaths.h"
#include "operations/TextObjectEditDialog.h"

#include <QFileInfo>
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

struct SaveQuestion {
    QWidget* parent = nullptr;
    QString title;
    QString proposedName;
    QString filter;
};

struct StartedTask {
    QString outputPath;
    std::function<ExportResult()> task;
    CancelFlag cancel;
};

const QString kFilter = QStringLiteral("PDF belgeleri (*.pdf)");
const QString kAreaPickMessage =
    QStringLiteral("Alanı seçmek için önce bir köşeye, sonra karşı köşeye tıklayın. İptal: Esc.");

} // namespace

class DocumentEditCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_out;
    QTemporaryDir m_temp;
    PdfDocumentPtr m_document;

    // Per test.
    std::unique_ptr<QWidget> m_window;
    NativeDocumentTab* m_tab = nullptr;
    DocumentEditCommands* m_commands = nullptr;
    bool m_busy = false;
    bool m_hasTab = true;
    QString m_destination;
    std::optional<int> m_shapeAnswer;
    QList<SaveQuestion> m_saveQuestions;
    QList<QStringList> m_itemQuestions;
    QList<StartedTask> m_started;
    int m_dialogsRun = 0;
    std::function<int(TextObjectEditDialog&)> m_answerDialog;

    EditPrompts prompts()
    {
        EditPrompts prompts;
        prompts.saveFileName = [this](QWidget* parent, const QString& title, const QString& name,
                                      const QString& filter) {
            m_saveQuestions.append({parent, title, name, filter});
            return m_destination;
        };
        prompts.chooseItem = [this](QWidget*, const QString& title, const QString& label, const QStringList& items) {
            m_itemQuestions.append(QStringList{title, label} + items);
            return m_shapeAnswer;
        };
        prompts.warning = [](QWidget*, const QString& title, const QString& text) {
            QFAIL(qPrintable(title + QLatin1String(": ") + text));
        };
        prompts.runTextObjectDialog = [this](TextObjectEditDialog& dialog) {
            ++m_dialogsRun;
            return m_answerDialog ? m_answerDialog(dialog) : int(QDialog::Rejected);
        };
        return prompts;
    }

    EditCommandHost host()
    {
        return {[this] { return m_busy; }, [this] { return m_hasTab ? m_tab : nullptr; },
                [this](const QString& path, std::function<ExportResult()> task, CancelFlag cancel) {
                    m_started.append({path, std::move(task), std::move(cancel)});
                }};
    }

    int questionsAsked() const { return int(m_saveQuestions.size() + m_itemQuestions.size()) + m_dialogsRun; }

    // The one task handed over, checked and run as the runner would.
    ExportResult runStartedTask()
    {
        if (m_started.size() != 1 || m_started.at(0).outputPath != m_destination || m_started.at(0).cancel)
            return {false, QStringLiteral("no single task without a flag for the destination")};
        return m_started.at(0).task();
    }

    // A proposal in the source document's folder.
    QString besideSource(const QString& name) const
    {
        return QFileInfo(m_document->sourcePath).absolutePath() + QLatin1Char('/') + name;
    }

    void checkSaveQuestion(const QString& title, const QString& proposedName)
    {
        QCOMPARE(m_saveQuestions.size(), 1);
        QCOMPARE(m_saveQuestions.at(0).parent, m_window.get());
        QCOMPARE(m_saveQuestions.at(0).title, title);
        QCOMPARE(m_saveQuestions.at(0).proposedName, proposedName);
        QCOMPARE(m_saveQuestions.at(0).filter, kFilter);
    }

    void triggerCommand(const QString& command)
    {
        if (command == QLatin1String("text"))
            m_commands->saveTextOrNote(m_document, 0, QPointF(0.1, 0.3), QStringLiteral("Çağrı"), false, 14);
        else if (command == QLatin1String("note"))
            m_commands->saveTextOrNote(m_document, 0, QPointF(0.1, 0.3), QStringLiteral("Not"), true, 14);
        else if (command == QLatin1String("annotation"))
            m_commands->saveAnnotation(m_document, 0, QStringLiteral("ellipse"), QRectF(0.1, 0.1, 0.3, 0.2));
        else if (command == QLatin1String("existing text"))
            m_commands->editExistingText();
        else if (command == QLatin1String("shape"))
            m_commands->addShape();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid() && m_out.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        PdfPageSpec page(595, 842, 0, "Eski metin");
        const QString source = m_sources.filePath(QStringLiteral("belge.pdf"));
        QVERIFY(writePdf(source, PdfFixtureSpec::withPages(2, page)));
        const PdfOpenResult opened = openPdfDocument(source, QString(), nullptr);
        QCOMPARE(opened.error, QString());
        m_document = opened.document;
    }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_tab = new NativeDocumentTab(TabPrompts{}, m_window.get());
        m_tab->setDocument(m_document);
        m_tab->setEditingEnabled(true);
        m_commands = new DocumentEditCommands(m_window.get(), host(), prompts());
        QCOMPARE(m_commands->parent(), m_window.get());
        m_busy = false;
        m_hasTab = true;
        m_destination = m_out.filePath(QStringLiteral("çıktı.pdf"));
        QFile::remove(m_destination);
        m_shapeAnswer.reset();
        m_saveQuestions.clear();
        m_itemQuestions.clear();
        m_started.clear();
        m_dialogsRun = 0;
        m_answerDialog = nullptr;
    }

    void cleanup() { m_window.reset(); }

    void textIsSavedThroughTheTask()
    {
        const QString added = QStringLiteral("Çağrı İşleği ğüşıöç");
        m_commands->saveTextOrNote(m_document, 1, QPointF(0.1, 0.3), added, false, 14);
        checkSaveQuestion(QStringLiteral("Düzenlenmiş PDF'yi kaydet"), besideSource("belge-duzenlenmis.pdf"));
        const ExportResult result = runStartedTask();
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        const PdfOpenResult published = openPdfDocument(m_destination, QString(), nullptr);
        QCOMPARE(published.error, QString());
        QCOMPARE(published.document->pageCount(), 2);
        QVERIFY(popplerText(m_destination).contains(added));
    }

    void annotationIsSavedThroughTheTask()
    {
        m_commands->saveAnnotation(m_document, 1, QStringLiteral("rectangle"), QRectF(0.2, 0.1, 0.3, 0.25));
        checkSaveQuestion(QStringLiteral("Açıklamalı PDF'yi kaydet"), besideSource("belge-aciklamali.pdf"));
        const ExportResult result = runStartedTask();
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QVERIFY(uncompressed(m_destination, m_sources.path()).contains("/Subtype /Square"));
    }

    void existingTextIsReplacedThroughTheDialogAndTheTask()
    {
        m_answerDialog = [](TextObjectEditDialog& dialog) {
            if (dialog.objectList()->count() != 1 || dialog.editor()->toPlainText() != QLatin1String("Eski metin"))
                return int(QDialog::Rejected);
            dialog.editor()->setPlainText(QStringLiteral("Yeni metin ğüş"));
            dialog.applyButton()->click();
            return dialog.result();
        };
        m_commands->editExistingText();
        QCOMPARE(m_dialogsRun, 1);
        checkSaveQuestion(QStringLiteral("Düzenlenen PDF'yi farklı kaydet"), besideSource("belge-duzenlenmis.pdf"));
        const ExportResult result = runStartedTask();
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        const QString text = popplerText(m_destination);
        QVERIFY(text.contains(QStringLiteral("Yeni metin ğüş")));
        QCOMPARE(text.count(QStringLiteral("Eski metin")), 1); // the second page keeps its own
    }

    void shapeChoiceStartsTheAreaPick()
    {
        m_shapeAnswer = 2;
        m_commands->addShape();
        QCOMPARE(m_itemQuestions, QList<QStringList>({{QStringLiteral("Vurgulama veya şekil"), QStringLiteral("Araç"),
                                                        QStringLiteral("Alan vurgula"), QStringLiteral("Dikdörtgen"),
                                                        QStringLiteral("Elips")}}));
        QCOMPARE(m_tab->message(), kAreaPickMessage);
        QVERIFY(m_started.isEmpty());
    }

    void shapeChoiceSelectsTheKindByPosition_data()
    {
        QTest::addColumn<std::optional<int>>("answer");
        QTest::addColumn<std::optional<QString>>("kind");
        QTest::newRow("first") << std::optional<int>(0) << std::optional<QString>("highlight");
        QTest::newRow("second") << std::optional<int>(1) << std::optional<QString>("rectangle");
        QTest::newRow("third") << std::optional<int>(2) << std::optional<QString>("ellipse");
        QTest::newRow("cancelled") << std::optional<int>() << std::optional<QString>();
        QTest::newRow("out of range") << std::optional<int>(3) << std::optional<QString>();
    }

    void shapeChoiceSelectsTheKindByPosition()
    {
        QFETCH(std::optional<int>, answer);
        QFETCH(std::optional<QString>, kind);
        m_shapeAnswer = answer;
        QCOMPARE(chooseShapeKind(m_window.get(), prompts()), kind);
    }

    void nothingHappensWhileBusyOrWithoutADocument_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("hasTab");
        for (const char* command : {"text", "note", "annotation", "existing text", "shape"})
            QTest::addRow("%s while busy", command) << QString::fromLatin1(command) << true << true;
        for (const char* command : {"existing text", "shape"})
            QTest::addRow("%s without a document tab", command) << QString::fromLatin1(command) << false << false;
    }

    void nothingHappensWhileBusyOrWithoutADocument()
    {
        QFETCH(QString, command);
        QFETCH(bool, busy);
        QFETCH(bool, hasTab);
        m_busy = busy;
        m_hasTab = hasTab;
        m_shapeAnswer = 0;
        const QString before = m_tab->message();
        triggerCommand(command);
        QCOMPARE(questionsAsked(), 0);
        QVERIFY(m_started.isEmpty());
        QCOMPARE(m_tab->message(), before);
    }

    void aCancelledQuestionStartsNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("questions");
        QTest::newRow("text, save cancelled") << "text" << 1;
        QTest::newRow("note, save cancelled") << "note" << 1;
        QTest::newRow("annotation, save cancelled") << "annotation" << 1;
        QTest::newRow("existing text, dialog cancelled") << "existing text" << 1;
        QTest::newRow("shape, choice cancelled") << "shape" << 1;
    }

    void aCancelledQuestionStartsNothing()
    {
        QFETCH(QString, command);
        QFETCH(int, questions);
        m_destination.clear();
        const QString before = m_tab->message();
        triggerCommand(command);
        QCOMPARE(questionsAsked(), questions);
        QVERIFY(m_started.isEmpty());
        QCOMPARE(m_tab->message(), before);
    }

    void existingTextWithAnAcceptedDialogButNoDestinationStartsNothing()
    {
        m_destination.clear();
        m_answerDialog = [](TextObjectEditDialog& dialog) {
            dialog.deleteBox()->setChecked(true);
            dialog.applyButton()->click();
            return dialog.result();
        };
        m_commands->editExistingText();
        QCOMPARE(m_dialogsRun, 1);
        QCOMPARE(m_saveQuestions.size(), 1);
        QVERIFY(m_started.isEmpty());
    }
};

QTEST_MAIN(DocumentEditCommandsTest)
#include "DocumentEditCommandsTest.moc"
