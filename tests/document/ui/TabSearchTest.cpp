// Finding text and listing sticky notes from a document tab, through the
// real worker in the real sandbox: repeated searches walk the pages that
// hold the text, wrapping round; an edit of the query starts again at the
// current page; notes are shown together in one dialog. Runs from the
// application directory, where the worker is.

#include "FixtureDocument.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace velk;

namespace {

constexpr int kWorkerWaitMs = 30000;
const QString kSearching = QStringLiteral("Aranıyor…");

// Six pages; "abc" on pages 2 and 5.
test::PdfFixtureSpec searchablePages()
{
    test::PdfFixtureSpec spec = test::PdfFixtureSpec::withPages(6);
    spec.pages[1].text = "Burada abc var";
    spec.pages[4].text = "Sonda da ABC var";
    return spec;
}

QLineEdit* searchEdit(NativeDocumentTab& tab)
{
    return tab.findChild<QToolBar*>(QStringLiteral("searchToolbar"))->findChild<QLineEdit*>();
}

QAction* actionNamed(NativeDocumentTab& tab, const QString& text)
{
    for (QAction* action : tab.findChild<QToolBar*>(QStringLiteral("searchToolbar"))->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TabSearchTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedPrompts m_prompts;
    std::unique_ptr<NativeDocumentTab> m_tab;

    // A tab that opened the fixture through the worker.
    bool openTab(const test::PdfFixtureSpec& spec)
    {
        const QString path = m_dir.filePath(QStringLiteral("document-%1.pdf").arg(++m_opened));
        if (!test::writePdf(path, spec))
            return false;
        m_prompts = test::ScriptedPrompts();
        m_tab = std::make_unique<NativeDocumentTab>(m_prompts.prompts());
        m_tab->resize(600, 700);
        m_tab->show();
        QSignalSpy ready(m_tab.get(), &NativeDocumentTab::ready);
        return m_tab->openFile(path).isEmpty() && ready.wait(kWorkerWaitMs);
    }

    // Starts a search with the query already in the field and waits for it.
    QString search()
    {
        actionNamed(*m_tab, QStringLiteral("Sonrakini bul"))->trigger();
        if (m_tab->message() != kSearching || searchEdit(*m_tab)->isEnabled())
            return QStringLiteral("search did not start");
        if (!QTest::qWaitFor([this] { return m_tab->message() != kSearching; }, kWorkerWaitMs))
            return QStringLiteral("search did not end");
        return m_tab->message();
    }

    int m_opened = 0;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanup() { m_tab.reset(); }

    void repeatedSearchesWalkThePagesAndWrapRound()
    {
        QVERIFY(openTab(searchablePages()));
        searchEdit(*m_tab)->setText(QStringLiteral("abc"));
        QCOMPARE(search(), QStringLiteral("Sayfa 2 / 6: 1. sonuç"));
        // The words around the hit stay at hand.
        QVERIFY(m_tab->findChild<QLabel*>(QStringLiteral("documentMessage"))->toolTip().contains(QStringLiteral("abc")));
        QCOMPARE(m_tab->currentPage(), 1);
        QCOMPARE(m_tab->findChild<QSpinBox*>()->value(), 2);
        QVERIFY(searchEdit(*m_tab)->isEnabled());

        QCOMPARE(search(), QStringLiteral("Sayfa 5 / 6: 1. sonuç"));
        QCOMPARE(m_tab->currentPage(), 4);
        QCOMPARE(search(), QStringLiteral("Sayfa 2 / 6: 1. sonuç · Belgenin sonuna gelindi, aramaya baştan devam edildi."));
        QCOMPARE(m_tab->currentPage(), 1);
    }

    void editingTheQueryStartsAgainAtTheCurrentPage()
    {
        QVERIFY(openTab(searchablePages()));
        QLineEdit* edit = searchEdit(*m_tab);
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("abc"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(m_tab->message().startsWith(QStringLiteral("Sayfa 2 / 6: ")), kWorkerWaitMs);

        // Typed again: the search starts on the current page, page 2.
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QStringLiteral("c"));
        QVERIFY(search().startsWith(QStringLiteral("Sayfa 2 / 6: ")));
        QVERIFY(search().startsWith(QStringLiteral("Sayfa 5 / 6: ")));
    }

    void missingTextIsReported()
    {
        QVERIFY(openTab(searchablePages()));
        searchEdit(*m_tab)->setText(QStringLiteral("yok böyle bir şey"));
        QCOMPARE(search(), QStringLiteral("Metin bulunamadı. Taranmış belgelerde önce OCR gerekebilir."));
        QCOMPARE(m_tab->currentPage(), 0);
    }

    void blankQueriesAreNotSearched_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("empty") << QString();
        QTest::newRow("spaces") << QStringLiteral("   \t");
    }

    void blankQueriesAreNotSearched()
    {
        QFETCH(QString, query);
        QVERIFY(openTab(searchablePages()));
        const QString shown = m_tab->message();
        searchEdit(*m_tab)->setText(query);
        m_tab->findNext();
        QCOMPARE(m_tab->message(), shown);
        QVERIFY(searchEdit(*m_tab)->isEnabled());
    }

    void notesAreShownTogether()
    {
        test::PdfFixtureSpec spec = test::PdfFixtureSpec::withPages(3);
        spec.pages[0].notes = QStringList{QStringLiteral("Gözden geçir")};
        spec.pages[2].notes = QStringList{QStringLiteral("İmza burada"), QString()};
        QVERIFY(openTab(spec));
        actionNamed(*m_tab, QStringLiteral("Notları göster"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_prompts.notesShown.size(), 1, kWorkerWaitMs);
        const QString rule = QStringLiteral("\n\n────────────────────\n\n");
        QCOMPARE(m_prompts.notesShown.at(0), QStringLiteral("Sayfa 1\nGözden geçir") + rule
                                                 + QStringLiteral("Sayfa 3\nİmza burada") + rule
                                                 + QStringLiteral("Sayfa 3\n(boş not)"));
    }

    void aNoteChosenInTheListGoesToItsPage()
    {
        test::PdfFixtureSpec spec = test::PdfFixtureSpec::withPages(4);
        spec.pages[2].notes = QStringList{QStringLiteral("İmza burada")};
        QVERIFY(openTab(spec));
        m_prompts.notePageAnswer = 2;
        actionNamed(*m_tab, QStringLiteral("Notları göster"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_prompts.notesShown.size(), 1, kWorkerWaitMs);
        m_prompts.notePageAnswer.reset();
        QCOMPARE(m_tab->currentPage(), 2);
    }

    void aDocumentWithoutNotesSaysSo()
    {
        QVERIFY(openTab(test::PdfFixtureSpec::withPages(2)));
        actionNamed(*m_tab, QStringLiteral("Notları göster"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_tab->message(), QStringLiteral("Belgede yapışkan not bulunamadı."), kWorkerWaitMs);
        QCOMPARE(m_prompts.notesShown.size(), 0);
    }
};

QTEST_MAIN(TabSearchTest)
#include "TabSearchTest.moc"
