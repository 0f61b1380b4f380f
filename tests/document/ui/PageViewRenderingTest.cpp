// The page view with the real worker in the real sandbox: visible pages
// arrive one at a time from the top, a layout change drops a render in
// flight and asks again at the new width, the reading filters repaint what
// is cached without a new run, a failed render keeps its sentence in place
// of the page until the next layout, and destroying the view stops its
// render inside the sandbox. Runs from the application directory, where
// the worker is.

#include "FixtureDocument.h"
#include "document/view/PageLayout.h"
#include "document/view/PageRendering.h"
#include "document/ui/PdfCanvas.h"
#include "support/SandboxHold.h"

#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

using namespace velk;

namespace {

constexpr int kRenderWaitMs = 20000;

QColor pixelAt(PdfCanvas& canvas, const QPointF& viewportPoint)
{
    const QImage shot = canvas.viewport()->grab().toImage();
    return shot.pixelColor(viewportPoint.toPoint());
}

// The middle of a page, in viewport coordinates: blank paper in every
// fixture here.
QPointF pageCentre(const PdfCanvas& canvas, int page)
{
    const QPointF scroll(canvas.horizontalScrollBar()->value(), canvas.verticalScrollBar()->value());
    return canvas.pageRects().at(page).center() - scroll;
}

int expectedWidth(const PdfCanvas& canvas, int page)
{
    return renderWidthFor(canvas.pageRects().at(page).width(), canvas.viewport()->devicePixelRatioF());
}

} // namespace

class PageViewRenderingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void visiblePagesArriveTopFirstAtTheirWidth()
    {
        PdfCanvas canvas;
        // A4 at fit width in 400 pixels: 352 × 498 per page, so pages 1 and
        // 2 are in view and page 3 is not.
        test::showWithViewport(canvas, QSize(400, 700));
        QSignalSpy rendered(&canvas, &PdfCanvas::pageRendered);
        canvas.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(4)));
        QTRY_COMPARE_WITH_TIMEOUT(rendered.size(), 2, kRenderWaitMs);
        QTRY_VERIFY(!canvas.isRendering());
        QCOMPARE(rendered.at(0).at(0).toInt(), 0);
        QCOMPARE(rendered.at(1).at(0).toInt(), 1);
        QCOMPARE(canvas.cachedPage(0).width(), expectedWidth(canvas, 0));
        QVERIFY(canvas.cachedPage(2).isNull());
        QCOMPARE(canvas.pageError(0), QString());

        // Scrolling page 3 into view asks for it, and only for it.
        canvas.verticalScrollBar()->setValue(600);
        QTRY_COMPARE_WITH_TIMEOUT(rendered.size(), 3, kRenderWaitMs);
        QCOMPARE(rendered.at(2).at(0).toInt(), 2);
        QVERIFY(canvas.cachedPage(3).isNull());
    }

    void resizeDuringARenderAsksAgainAtTheNewWidth()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(300, 500));
        QList<int> renderedWidths;
        connect(&canvas, &PdfCanvas::pageRendered, this,
                [&](int page) { renderedWidths.append(canvas.cachedPage(page).width()); });

        // The render waits behind the held lock, so the resize surely
        // comes while it is in flight.
        test::SandboxHold hold;
        QVERIFY(hold.take());
        canvas.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(1)));
        QTRY_VERIFY(canvas.isRendering());
        const int oldWidth = expectedWidth(canvas, 0);
        canvas.resize(canvas.size() + QSize(300, 0));
        QTRY_COMPARE(canvas.viewport()->width(), 600);
        const int newWidth = expectedWidth(canvas, 0);
        QVERIFY(newWidth != oldWidth);
        hold.release();

        QTRY_VERIFY_WITH_TIMEOUT(!canvas.cachedPage(0).isNull(), kRenderWaitMs);
        QTRY_VERIFY(!canvas.isRendering());
        QCOMPARE(canvas.cachedPage(0).width(), newWidth);
        QCOMPARE(renderedWidths, QList<int>{newWidth});
        QCOMPARE(canvas.pageError(0), QString());
    }

    void readingFiltersRepaintWithoutANewRun()
    {
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(400, 400));
        QSignalSpy rendered(&canvas, &PdfCanvas::pageRendered);
        canvas.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(1)));
        QTRY_COMPARE_WITH_TIMEOUT(rendered.size(), 1, kRenderWaitMs);
        QTRY_VERIFY(!canvas.isRendering());
        const int generation = canvas.generation();
        const QPointF paper = pageCentre(canvas, 0);
        const QPointF margin(4, 4);
        QCOMPARE(pixelAt(canvas, paper), QColor(Qt::white));
        QCOMPARE(pixelAt(canvas, margin), QColor(QStringLiteral("#34363B")));

        canvas.setReadingFilter(1);
        QVERIFY(!canvas.isRendering());
        QCOMPARE(pixelAt(canvas, paper), QColor(Qt::black));
        QCOMPARE(pixelAt(canvas, margin), QColor(QStringLiteral("#34363B")));

        canvas.setReadingFilter(2);
        const QColor tinted = pixelAt(canvas, paper);
        QVERIFY2(qAbs(tinted.red() - 253) <= 2 && qAbs(tinted.green() - 244) <= 2 && qAbs(tinted.blue() - 226) <= 2,
                 qPrintable(tinted.name()));

        canvas.setReadingFilter(0);
        QCOMPARE(pixelAt(canvas, paper), QColor(Qt::white));
        QVERIFY(!canvas.isRendering());
        QCOMPARE(rendered.size(), 1);
        QCOMPARE(canvas.generation(), generation);
        // The cached pixels themselves were never changed.
        QCOMPARE(canvas.cachedPage(0).pixelColor(canvas.cachedPage(0).rect().center()), QColor(Qt::white));
    }

    void nightFilterInvertsWhatIsOnThePage()
    {
        test::PdfFill fill;
        fill.rect = QRectF(0, 0, 595, 421);
        test::PdfPageSpec page;
        page.fills = {fill};
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(400, 800));
        QSignalSpy rendered(&canvas, &PdfCanvas::pageRendered);
        canvas.setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(1, page)));
        QTRY_COMPARE_WITH_TIMEOUT(rendered.size(), 1, kRenderWaitMs);
        const QRectF rect = canvas.pageRects().at(0);
        // The lower half of the page is filled black.
        const QPointF upper(rect.center().x(), rect.top() + rect.height() / 4);
        const QPointF lower(rect.center().x(), rect.bottom() - rect.height() / 4);
        QCOMPARE(pixelAt(canvas, lower), QColor(Qt::black));
        canvas.setReadingFilter(1);
        QCOMPARE(pixelAt(canvas, lower), QColor(Qt::white));
        QCOMPARE(pixelAt(canvas, upper), QColor(Qt::black));
        QCOMPARE(rendered.size(), 1);
    }

    void failedRenderShowsItsSentenceUntilTheNextLayout_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("failingPage");
        QTest::addColumn<QString>("error");
        QTest::newRow("not a PDF") << QByteArray("%PDF-1.7 nothing else") << 1 << 0
                                   << QStringLiteral("PDF açılamadı. Belge parolasını veya dosya biçimini kontrol edin.");
        // The description claims a page the file does not have.
        QTest::newRow("page beyond the file") << test::pdfBytes() << 2 << 1
                                              << QStringLiteral("Sayfa numarası geçersiz.");
    }

    void failedRenderShowsItsSentenceUntilTheNextLayout()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, pageCount);
        QFETCH(int, failingPage);
        QFETCH(QString, error);
        PdfCanvas canvas;
        test::showWithViewport(canvas, QSize(400, 1200));
        canvas.setDocument(test::documentWithBytes(bytes, QList<QSizeF>(pageCount, QSizeF(595, 842))));
        QTRY_COMPARE_WITH_TIMEOUT(canvas.pageError(failingPage), error, kRenderWaitMs);
        QTRY_VERIFY(!canvas.isRendering());
        QVERIFY(canvas.cachedPage(failingPage).isNull());

        canvas.requestVisiblePage();
        QVERIFY(!canvas.isRendering());
        QCOMPARE(canvas.pageError(failingPage), error);

        // The next layout tries again.
        canvas.setZoomMode(ZoomMode::kActualSize);
        QCOMPARE(canvas.pageError(failingPage), QString());
        QTRY_COMPARE_WITH_TIMEOUT(canvas.pageError(failingPage), error, kRenderWaitMs);
    }

    void destroyingTheViewCancelsItsRender()
    {
        test::SandboxHold hold;
        QVERIFY(hold.take());
        auto* canvas = new PdfCanvas;
        test::showWithViewport(*canvas, QSize(300, 300));
        canvas->setDocument(test::fixtureDocument(test::PdfFixtureSpec::withPages(1)));
        QTRY_VERIFY(canvas->isRendering());
        // One render waits behind the lock; any earlier one was dropped.
        QTRY_COMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);
        delete canvas;
        // Still behind the held lock, the render ends only because it was
        // cancelled: its time limit is 20 s.
        QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 15000);
        hold.release();
    }

    void renderPageRefusesPagesOutsideTheDocument_data()
    {
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<int>("page");
        QTest::newRow("no document") << false << 0;
        QTest::newRow("negative page") << true << -1;
        QTest::newRow("page count") << true << 2;
        QTest::newRow("far beyond") << true << 30;
    }

    void renderPageRefusesPagesOutsideTheDocument()
    {
        QFETCH(bool, withDocument);
        QFETCH(int, page);
        const PdfDocumentPtr document =
            withDocument ? test::fixtureDocument(test::PdfFixtureSpec::withPages(2)) : PdfDocumentPtr();
        // Held: a request that reached the worker would not come back.
        test::SandboxHold hold;
        QVERIFY(hold.take());
        const PdfRenderResult result = renderPage(document, page, 300, nullptr);
        QVERIFY(result.image.isNull());
        QCOMPARE(result.error, QStringLiteral("Sayfa geçersiz."));
    }

    void renderPageReturnsTheWorkersPixels()
    {
        const PdfDocumentPtr document = test::fixtureDocument(test::PdfFixtureSpec::withPages(1));
        const PdfRenderResult result = renderPage(document, 0, 300, nullptr);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.image.width(), 300);
        QCOMPARE(result.image.height(), int(842 * 300 / 595.0));
        QCOMPARE(result.image.format(), QImage::Format_RGBA8888);
    }
};

QTEST_MAIN(PageViewRenderingTest)
#include "PageViewRenderingTest.moc"
