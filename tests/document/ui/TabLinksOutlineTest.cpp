// Links and the outline in a document tab, through the real worker in the
// real sandbox: the outline shows its three levels with Turkish titles and
// goes to a page on a click, and stays hidden for a document without one;
// a link inside the document goes to its page; a web link is opened only
// after the question was answered yes, and only http, https and mailto are
// offered at all.

#include "FixtureDocument.h"
#include "ScriptedPrompts.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/OutlinePanel.h"
#include "document/ui/PdfCanvas.h"
#include "support/ReadingFixtures.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace velk;

namespace {

constexpr int kWorkerWaitMs = 30000;

test::ReadingLink linkTo(const QRectF& rect, int page, const QByteArray& uri = {})
{
    test::ReadingLink link;
    link.rect = rect;
    link.targetPage = page;
    link.uri = uri;
    return link;
}

} // namespace

class TabLinksOutlineTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedPrompts m_prompts;
    std::unique_ptr<NativeDocumentTab> m_tab;
    QStringList m_questions;
    QList<QUrl> m_opened;
    bool m_answer = false;

    bool open(const test::ReadingSpec& spec)
    {
        const QString path = m_dir.filePath(QStringLiteral("baglanti-%1.pdf").arg(m_opened.size() + m_questions.size()));
        if (!test::writeReadingPdf(path, spec))
            return false;
        TabPrompts prompts = m_prompts.prompts();
        prompts.confirm = [this](QWidget*, const QString& question) {
            m_questions.append(question);
            return m_answer;
        };
        prompts.openUrl = [this](const QUrl& url) {
            m_opened.append(url);
            return true;
        };
        m_tab = std::make_unique<NativeDocumentTab>(prompts);
        m_tab->resize(800, 700);
        m_tab->show();
        QSignalSpy ready(m_tab.get(), &NativeDocumentTab::ready);
        return m_tab->openFile(path).isEmpty() && ready.wait(kWorkerWaitMs);
    }

    // Clicks the middle of a rectangle given in user space of page 0
    // (842 points high), once the page's links are known.
    void clickOnPage0(const QRectF& userRect)
    {
        PdfCanvas* view = m_tab->pageView();
        QTRY_VERIFY_WITH_TIMEOUT(view->hasPageLinks(0), kWorkerWaitMs);
        const QRectF page = view->pageRects().at(0);
        const double scale = page.width() / 595;
        const QPointF centre(userRect.center().x(), 842 - userRect.center().y());
        const QPointF content = page.topLeft() + centre * scale;
        const QPoint at = (content - QPointF(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value()))
                              .toPoint();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    test::ReadingSpec linkedPages()
    {
        test::ReadingSpec spec;
        spec.pages = {test::ReadingPage{}, test::ReadingPage{}, test::ReadingPage{}};
        spec.links = {linkTo(QRectF(72, 760, 200, 20), 2), linkTo(QRectF(72, 720, 200, 20), -1, "https://example.org/el-kitabi"),
                      linkTo(QRectF(72, 680, 200, 20), -1, "javascript:alert(1)")};
        return spec;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init()
    {
        m_questions.clear();
        m_opened.clear();
        m_answer = false;
    }
    void cleanup() { m_tab.reset(); }

    void outlineShowsItsLevelsAndGoesToPages()
    {
        test::ReadingSpec spec;
        spec.pages = {test::ReadingPage{}, test::ReadingPage{}, test::ReadingPage{}};
        spec.outline = {test::ReadingOutlineItem{QStringLiteral("Giriş"), 0,
                                                 {test::ReadingOutlineItem{QStringLiteral("Kurulum ve İlk Adımlar"), 1,
                                                                           {test::ReadingOutlineItem{
                                                                               QStringLiteral("Şifre Değiştirme"), 2, {}}}}}},
                        test::ReadingOutlineItem{QStringLiteral("Sık Sorulan Sorular"), 2, {}}};
        QVERIFY(open(spec));
        OutlinePanel* panel = m_tab->outlinePanel();
        QTRY_VERIFY_WITH_TIMEOUT(panel->isVisible(), kWorkerWaitMs);
        QCOMPARE(panel->topLevelItemCount(), 2);
        QTreeWidgetItem* first = panel->topLevelItem(0);
        QCOMPARE(first->text(0), QStringLiteral("Giriş"));
        QCOMPARE(first->child(0)->text(0), QStringLiteral("Kurulum ve İlk Adımlar"));
        QTreeWidgetItem* deepest = first->child(0)->child(0);
        QCOMPARE(deepest->text(0), QStringLiteral("Şifre Değiştirme"));
        QCOMPARE(panel->topLevelItem(1)->text(0), QStringLiteral("Sık Sorulan Sorular"));

        panel->expandAll();
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->visualItemRect(deepest).center());
        QCOMPARE(m_tab->currentPage(), 2);
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->visualItemRect(first->child(0)).center());
        QCOMPARE(m_tab->currentPage(), 1);
    }

    void noOutlineNoPanel()
    {
        QVERIFY(open(test::ReadingSpec{}));
        QTest::qWait(300);
        QTRY_VERIFY(!m_tab->outlinePanel()->isVisible());
        QCOMPARE(m_tab->outlinePanel()->topLevelItemCount(), 0);
    }

    void aLinkInsideGoesToItsPage()
    {
        QVERIFY(open(linkedPages()));
        clickOnPage0(QRectF(72, 760, 200, 20));
        QCOMPARE(m_tab->currentPage(), 2);
        QVERIFY(m_questions.isEmpty());
    }

    void aWebLinkAsksFirst()
    {
        QVERIFY(open(linkedPages()));
        m_answer = false;
        clickOnPage0(QRectF(72, 720, 200, 20));
        QCOMPARE(m_questions, QStringList{QStringLiteral("Bu bağlantı tarayıcıda açılsın mı? https://example.org/el-kitabi")});
        QVERIFY(m_opened.isEmpty());

        m_answer = true;
        clickOnPage0(QRectF(72, 720, 200, 20));
        QCOMPARE(m_questions.size(), 2);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/el-kitabi"))});
        QCOMPARE(m_tab->currentPage(), 0);
    }

    void otherSchemesAreRefusedWithoutAQuestion()
    {
        QVERIFY(open(linkedPages()));
        m_answer = true;
        clickOnPage0(QRectF(72, 680, 200, 20));
        QVERIFY(m_questions.isEmpty());
        QVERIFY(m_opened.isEmpty());
        QCOMPARE(m_tab->message(),
                 QStringLiteral("Bu bağlantı açılmaz: yalnızca http, https ve mailto bağlantıları açılır."));
    }
};

QTEST_MAIN(TabLinksOutlineTest)
#include "TabLinksOutlineTest.moc"
