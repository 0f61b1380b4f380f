// The "Sayfalar" thumbnails of a document tab, through the real worker in
// the real sandbox: a document of many pages asks only for the thumbnails
// in view, one at a time and never while the page view renders; scrolling
// the strip asks for the pages that come into view; a click goes to the
// page and the current page is marked.

#include "FixtureDocument.h"
#include "ScriptedPrompts.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "document/ui/ThumbnailStrip.h"

#include <QScrollBar>
#include <QSet>
#include <QTest>

using namespace velk;

namespace {

constexpr int kWorkerWaitMs = 30000;
constexpr int kPageCount = 300;

bool allMade(const ThumbnailStrip& strip)
{
    const QList<int> visible = strip.visiblePages();
    return !visible.isEmpty() && std::all_of(visible.begin(), visible.end(), [&](int page) {
        return strip.thumbnail(page) != nullptr;
    });
}

} // namespace

class TabThumbnailsTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts m_prompts;
    std::unique_ptr<NativeDocumentTab> m_tab;
    // Whether the page view was rendering when each thumbnail was asked for.
    QList<bool> m_viewBusyAtRequest;

    ThumbnailStrip* open()
    {
        m_viewBusyAtRequest.clear();
        m_tab = std::make_unique<NativeDocumentTab>(m_prompts.prompts());
        m_tab->resize(900, 700);
        ThumbnailStrip* strip = m_tab->thumbnailStrip();
        connect(strip, &ThumbnailStrip::thumbnailRequested, this,
                [this] { m_viewBusyAtRequest.append(m_tab->pageView()->isRendering()); });
        m_tab->show();
        m_tab->setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(kPageCount)));
        return strip;
    }

private Q_SLOTS:
    void cleanup() { m_tab.reset(); }

    void onlyThumbnailsInViewAreRequested()
    {
        ThumbnailStrip* strip = open();
        QTRY_VERIFY_WITH_TIMEOUT(allMade(*strip), kWorkerWaitMs);
        // Nothing more is asked for once the pages in view are made.
        QTest::qWait(300);
        const QList<int> requested = strip->queue().requested();
        const QList<int> visible = strip->visiblePages();
        QCOMPARE(QSet<int>(requested.begin(), requested.end()), QSet<int>(visible.begin(), visible.end()));
        QCOMPARE(requested.size(), visible.size());
        QVERIFY(visible.size() < 10);
        QVERIFY(!m_viewBusyAtRequest.contains(true));
        const QImage* first = strip->thumbnail(0);
        QVERIFY(first->width() >= 60 && first->height() > first->width());
    }

    void scrollingTheStripRequestsWhatComesIntoView()
    {
        ThumbnailStrip* strip = open();
        QTRY_VERIFY_WITH_TIMEOUT(allMade(*strip), kWorkerWaitMs);
        strip->verticalScrollBar()->setValue(strip->verticalScrollBar()->maximum());
        QTRY_VERIFY_WITH_TIMEOUT(strip->thumbnail(kPageCount - 1) != nullptr, kWorkerWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(allMade(*strip), kWorkerWaitMs);
        const QList<int> requested = strip->queue().requested();
        QVERIFY(!requested.contains(kPageCount / 2));
        QVERIFY(requested.size() < 20);
        QVERIFY(!m_viewBusyAtRequest.contains(true));
    }

    void clickGoesToThePage()
    {
        ThumbnailStrip* strip = open();
        QTRY_VERIFY_WITH_TIMEOUT(allMade(*strip), kWorkerWaitMs);
        const QRect third = strip->visualItemRect(strip->item(2));
        QVERIFY(strip->viewport()->rect().contains(third.center()));
        QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(m_tab->pageView()->currentPage(), 2);
        QCOMPARE(strip->currentRow(), 2);
        QVERIFY(m_tab->pageView()->hasFocus());
    }

    void currentPageIsMarkedAndBroughtIntoView()
    {
        ThumbnailStrip* strip = open();
        QCOMPARE(strip->currentRow(), 0);
        m_tab->pageView()->goToPage(200);
        QCOMPARE(m_tab->pageView()->currentPage(), 200);
        QCOMPARE(strip->currentRow(), 200);
        QVERIFY(strip->item(200)->isSelected());
        QVERIFY(strip->visiblePages().contains(200));
        QTRY_VERIFY_WITH_TIMEOUT(strip->thumbnail(200) != nullptr, kWorkerWaitMs);
        QVERIFY(!strip->queue().requested().contains(100));
    }
};

QTEST_MAIN(TabThumbnailsTest)
#include "TabThumbnailsTest.moc"
