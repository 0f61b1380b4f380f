// The main window's page commands from the user's choices to the task:
// organising the current tab's document and merging chosen files, with the
// real dialogs offscreen, the questions answered directly and the task run
// against the real worker in the real sandbox.

#include "operations/PageCommands.h"

#include "document/core/DocumentOpen.h"
#include "operations/MergeOrderDialog.h"
#include "document/ui/NativeDocumentTab.h"
#include "OperationTestFiles.h"
#include "operations/OrganizeDialog.h"
#include "workers/pdf/pages/PageReadBack.h"
#include "workers/pdf/pages/PageRun.h"

#include <QFileInfo>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velk;
using namespace velk::test;

namespace {

const QString kFilter = QStringLiteral("PDF belgeleri (*.pdf)");

struct Question {
    QString title;
    QString name;
    QString filter;
};

struct StartedTask {
    QString outputPath;
    std::function<ExportResult()> task;
    CancelFlag cancel;
};

} // namespace

class PageCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_out;
    QTemporaryDir m_temp;
    PageReadBack m_readBack;
    PdfDocumentPtr m_document;

    std::unique_ptr<QWidget> m_window;
    NativeDocumentTab* m_tab = nullptr;
    PageCommands* m_commands = nullptr;
    bool m_hasTab = true;
    QStringList m_chosenFiles;
    QString m_destination;
    QList<Question> m_questions;
    QList<StartedTask> m_started;
    int m_modalDialogs = 0;
    std::function<void(QDialog*)> m_answerDialog;

    PageCommandPrompts prompts()
    {
        PageCommandPrompts prompts;
        prompts.openFileNames = [this](QWidget*, const QString& title, const QString& filter) {
            m_questions.append({title, QString(), filter});
            return m_chosenFiles;
        };
        prompts.saveFileName = [this](QWidget*, const QString& title, const QString& name, const QString& filter) {
            m_questions.append({title, name, filter});
            return m_destination;
        };
        // The real dialogs, answered as soon as they show.
        prompts.organize = [this](QWidget* parent, int pageCount) {
            answerNextDialog();
            return showOrganizeDialog(parent, pageCount);
        };
        prompts.mergeOrder = [this](QWidget* parent, const QStringList& paths) {
            answerNextDialog();
            return chooseMergeOrder(parent, paths);
        };
        return prompts;
    }

    void answerNextDialog()
    {
        QTimer::singleShot(0, this, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            ++m_modalDialogs;
            if (m_answerDialog)
                m_answerDialog(dialog);
            else
                dialog->reject();
        });
    }

    EditCommandHost host()
    {
        return {[] { return false; }, [this] { return m_hasTab ? m_tab : nullptr; },
                [this](const QString& path, std::function<ExportResult()> task, CancelFlag cancel) {
                    m_started.append({path, std::move(task), std::move(cancel)});
                }};
    }

    ExportResult runStartedTask()
    {
        if (m_started.size() != 1 || m_started.at(0).outputPath != m_destination || m_started.at(0).cancel)
            return {false, QStringLiteral("no single task without a flag for the destination")};
        return m_started.at(0).task();
    }

    QString source(const QString& name) const { return m_sources.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid() && m_out.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
        QVERIFY(writePdf(source("a.pdf"), labelledPages("A", 4)));
        QVERIFY(writePdf(source("b.pdf"), labelledPages("B", 2)));
        m_document = openPdfDocument(source("a.pdf"), QString(), nullptr).document;
        QVERIFY(m_document);
    }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_tab = new NativeDocumentTab(TabPrompts{}, m_window.get());
        m_tab->setDocument(m_document);
        m_commands = new PageCommands(m_window.get(), host(), prompts());
        QCOMPARE(m_commands->parent(), m_window.get());
        m_hasTab = true;
        m_chosenFiles.clear();
        m_destination = m_out.filePath("çıktı.pdf");
        QFile::remove(m_destination);
        m_questions.clear();
        m_started.clear();
        m_modalDialogs = 0;
        m_answerDialog = nullptr;
    }

    void cleanup() { m_window.reset(); }

    void organisingRunsThroughDialogSaveAndTask()
    {
        m_answerDialog = [](QDialog* dialog) {
            auto* organise = qobject_cast<OrganizeDialog*>(dialog);
            organise->rangeEdit()->setText("4-3,1");
            organise->applyRange();
            organise->pageList()->clearSelection();
            organise->pageList()->item(1)->setSelected(true);
            organise->rotateSelected(90);
            dialog->accept();
        };
        m_commands->organizePages();
        QCOMPARE(m_modalDialogs, 1);
        QCOMPARE(m_questions.size(), 1);
        QCOMPARE(m_questions.at(0).title, QString("Düzenlenen PDF'yi kaydet"));
        QCOMPARE(m_questions.at(0).name, QFileInfo(m_document->sourcePath).absolutePath() + "/a-duzenlenmis.pdf");
        QCOMPARE(m_questions.at(0).filter, kFilter);
        const ExportResult result = runStartedTask();
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QCOMPARE(m_readBack.pageTexts(m_destination), labels("A", {4, 3, 1}));
        QCOMPARE(m_readBack.rotations(m_destination), (QList<int>{0, 90, 0}));
    }

    void organisingEndsQuietly_data()
    {
        QTest::addColumn<bool>("hasTab");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("questions");
        QTest::newRow("no document tab") << false << true << "x.pdf" << 0 << 0;
        QTest::newRow("dialog cancelled") << true << false << "x.pdf" << 1 << 0;
        QTest::newRow("save cancelled") << true << true << "" << 1 << 1;
    }

    void organisingEndsQuietly()
    {
        QFETCH(bool, hasTab);
        QFETCH(bool, accept);
        QFETCH(QString, destination);
        QFETCH(int, dialogs);
        QFETCH(int, questions);
        m_hasTab = hasTab;
        m_destination = destination;
        m_answerDialog = [accept](QDialog* dialog) { accept ? dialog->accept() : dialog->reject(); };
        m_commands->organizePages();
        QCOMPARE(m_modalDialogs, dialogs);
        QCOMPARE(m_questions.size(), questions);
        QCOMPARE(m_started.size(), 0);
    }

    void mergingRunsThroughOrderSaveAndTask()
    {
        m_chosenFiles = {source("a.pdf"), source("b.pdf")};
        m_answerDialog = [](QDialog* dialog) {
            qobject_cast<MergeOrderDialog*>(dialog)->fileList()->setCurrentRow(1);
            qobject_cast<MergeOrderDialog*>(dialog)->fileList()->model()->moveRow({}, 1, {}, 0);
            dialog->accept();
        };
        m_commands->mergeDocuments();
        QCOMPARE(m_modalDialogs, 1);
        QCOMPARE(m_questions.size(), 2);
        QCOMPARE(m_questions.at(0).title, QString("Birleştirilecek PDF'ler"));
        QCOMPARE(m_questions.at(0).filter, kFilter);
        QCOMPARE(m_questions.at(1).title, QString("Birleştirilmiş PDF'yi kaydet"));
        // Named after the first document in the chosen order.
        QCOMPARE(m_questions.at(1).name, source("b-birlestirilmis.pdf"));
        const ExportResult result = runStartedTask();
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QCOMPARE(m_readBack.pageTexts(m_destination), labels("B", {1, 2}) + labels("A", {1, 2, 3, 4}));
    }

    void mergingOneFileShowsNothing()
    {
        m_chosenFiles = {source("a.pdf")};
        m_commands->mergeDocuments();
        QCOMPARE(m_questions.size(), 1);
        QCOMPARE(m_modalDialogs, 0);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_started.size(), 0);
    }

    void merging101FilesRefusedAfterTheOrderDialog()
    {
        m_chosenFiles = QStringList(101, source("b.pdf"));
        m_answerDialog = [](QDialog* dialog) { dialog->accept(); };
        m_commands->mergeDocuments();
        QCOMPARE(m_modalDialogs, 1);
        QCOMPARE(m_questions.size(), 2);
        const ExportResult result = runStartedTask();
        QCOMPARE(result.message, QString("Birleştirmek için 2–100 PDF seçin."));
        QVERIFY(!result.ok);
        QVERIFY(!QFile::exists(m_destination));
    }

    void mergingEndsWhenTheOrderIsCancelled()
    {
        m_chosenFiles = {source("a.pdf"), source("b.pdf")};
        m_commands->mergeDocuments();
        QCOMPARE(m_modalDialogs, 1);
        QCOMPARE(m_questions.size(), 1);
        QCOMPARE(m_started.size(), 0);
    }
};

QTEST_MAIN(PageCommandsTest)
#include "PageCommandsTest.moc"
