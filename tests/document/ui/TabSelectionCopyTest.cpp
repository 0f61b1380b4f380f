// Selecting and copying text in a document tab, through the real worker in
// the real sandbox: a drag on a page selects the text of the area it spans,
// the area is drawn, and Ctrl+C puts exactly that text on the clipboard,
// Turkish letters intact; a plain click selects nothing.

#include "FixtureDocument.h"
#include "ScriptedPrompts.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "support/ReadingFixtures.h"

#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

constexpr int kWorkerWaitMs = 30000;

} // namespace

class TabSelectionCopyTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedPrompts m_prompts;
    std::unique_ptr<NativeDocumentTab> m_tab;

    // A viewport point of page 0 from points of the page (top left origin).
    QPoint onPage(const QPointF& points)
    {
        PdfCanvas* view = m_tab->pageView();
        const QRectF page = view->pageRects().at(0);
        const QPointF content = page.topLeft() + points * (page.width() / 595);
        return (content - QPointF(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value())).toPoint();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        test::ReadingPage page;
        page.lines = {QStringLiteral("Birinci satır çalışma"), QStringLiteral("İkinci satır: Iğdır ve Şanlıurfa"),
                      QStringLiteral("Üçüncü satır sonda")};
        test::ReadingSpec spec;
        spec.pages = {page};
        const QString path = m_dir.filePath(QStringLiteral("secim.pdf"));
        QVERIFY(test::writeReadingPdf(path, spec));
        m_tab = std::make_unique<NativeDocumentTab>(m_prompts.prompts());
        m_tab->resize(800, 700);
        m_tab->show();
        QApplication::setActiveWindow(m_tab.get());
        QVERIFY(QTest::qWaitForWindowActive(m_tab.get()));
        QSignalSpy ready(m_tab.get(), &NativeDocumentTab::ready);
        QVERIFY(m_tab->openFile(path).isEmpty());
        QVERIFY(ready.wait(kWorkerWaitMs));
    }

    void cleanup() { m_tab.reset(); }

    void dragSelectsAndCtrlCCopiesExactly()
    {
        PdfCanvas* view = m_tab->pageView();
        QApplication::clipboard()->setText(QStringLiteral("eski"));
        QSignalSpy selected(view, &PdfCanvas::areaSelected);
        // Around the first two lines (baselines 60 and 80 points down).
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, onPage(QPointF(60, 44)));
        QTest::mouseMove(view->viewport(), onPage(QPointF(200, 70)));
        QTest::mouseMove(view->viewport(), onPage(QPointF(460, 86)));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, onPage(QPointF(460, 86)));
        QCOMPARE(selected.size(), 1);
        QCOMPARE(view->selectionPage(), 0);
        QVERIFY(qAbs(view->selection().left() - 60) < 2 && qAbs(view->selection().bottom() - 86) < 2);
        QTRY_VERIFY_WITH_TIMEOUT(m_tab->message().contains(QStringLiteral("karakter seçildi")), kWorkerWaitMs);
        const QString text = m_tab->selectedText();
        QStringList lines;
        for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts))
            lines.append(line.simplified());
        QCOMPARE(lines, (QStringList{QStringLiteral("Birinci satır çalışma"),
                                     QStringLiteral("İkinci satır: Iğdır ve Şanlıurfa")}));

        view->setFocus();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), text);
        QCOMPARE(m_tab->message(), QStringLiteral("Seçilen metin panoya kopyalandı."));
        // The context menu offers the same.
        QCOMPARE(view->actions().value(0)->text(), QStringLiteral("Kopyala"));
    }

    void aClickSelectsNothing()
    {
        PdfCanvas* view = m_tab->pageView();
        QSignalSpy selected(view, &PdfCanvas::areaSelected);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, onPage(QPointF(100, 60)));
        QCOMPARE(selected.size(), 0);
        QCOMPARE(view->selectionPage(), -1);
        QApplication::clipboard()->setText(QStringLiteral("eski"));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("eski"));
    }
};

QTEST_MAIN(TabSelectionCopyTest)
#include "TabSelectionCopyTest.moc"
