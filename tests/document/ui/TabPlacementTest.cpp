// Placing text, sticky notes and shapes in a document tab: the questions
// asked, the limits, the clicks that complete a placement, Escape, the
// editing switch, and the refusal of signed or encrypted documents before
// any question. The document is given to the tab as an open would; the
// placement never reaches the worker.

#include "FixtureDocument.h"
#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

using namespace velk;

namespace {

const QString kClickToPlace = QStringLiteral("Yerleştirmek için sayfaya tıklayın. İptal: Esc.");
const QString kPickArea =
    QStringLiteral("Alanı seçmek için önce bir köşeye, sonra karşı köşeye tıklayın. İptal: Esc.");
const QString kFirstCorner = QStringLiteral("İlk köşe seçildi. Aynı sayfadaki karşı köşeye tıklayın. İptal: Esc.");
const QString kTooSmall = QStringLiteral("Daha geniş bir alan seçin.");
const QString kCancelled = QStringLiteral("Yerleştirme iptal edildi.");

// Small wide pages, so that the first two are in view together.
PdfDocumentPtr wideDocument(const test::FixtureFlags& flags = {})
{
    return test::fixtureDocument(test::PdfFixtureSpec::withPages(3, test::pageOfSize(200, 100)), flags);
}

QAction* actionNamed(NativeDocumentTab& tab, const QString& text)
{
    for (QAction* action : tab.findChild<QToolBar*>(QStringLiteral("searchToolbar"))->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

bool hasCrossCursor(NativeDocumentTab& tab)
{
    return tab.pageView()->testAttribute(Qt::WA_SetCursor) && tab.pageView()->cursor().shape() == Qt::CrossCursor;
}

// A real left click at a page-relative position.
void clickPage(NativeDocumentTab& tab, int page, const QPointF& position)
{
    PdfCanvas* view = tab.pageView();
    const QRectF rect = view->pageRects().at(page);
    const QPointF scroll(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
    const QPointF point(rect.left() + position.x() * rect.width(), rect.top() + position.y() * rect.height());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, (point - scroll).toPoint());
}

} // namespace

class TabPlacementTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts m_prompts;
    std::unique_ptr<NativeDocumentTab> m_tab;

    NativeDocumentTab& tabShowing(const PdfDocumentPtr& document, bool editing = true)
    {
        m_prompts = test::ScriptedPrompts();
        m_tab = std::make_unique<NativeDocumentTab>(m_prompts.prompts());
        m_tab->resize(500, 800);
        m_tab->show();
        m_tab->setEditingEnabled(editing);
        m_tab->setDocument(document);
        return *m_tab;
    }

private Q_SLOTS:
    void cleanup() { m_tab.reset(); }

    void textIsPlacedWhereThePageIsClicked()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        m_prompts.texts = {QStringLiteral("Merhaba dünya")};
        m_prompts.numbers = {18.0};
        QSignalSpy edits(&tab, &NativeDocumentTab::editRequested);
        tab.startTextPlacement(false);
        QCOMPARE(m_prompts.textQuestions, (QList<QPair<QString, QString>>{{"Metin ekle", "Eklenecek metin"}}));
        QCOMPARE(m_prompts.numberQuestions.size(), 1);
        const NumberQuestion asked = m_prompts.numberQuestions.at(0);
        QCOMPARE(asked.title, QStringLiteral("Yazı boyutu"));
        QCOMPARE(asked.label, QStringLiteral("Punto"));
        QCOMPARE(asked.value, 14.0);
        QCOMPARE(asked.minimum, 6.0);
        QCOMPARE(asked.maximum, 120.0);
        QCOMPARE(asked.decimals, 0);
        QCOMPARE(asked.step, 1.0);
        QCOMPARE(tab.message(), kClickToPlace);
        QVERIFY(hasCrossCursor(tab));

        clickPage(tab, 1, QPointF(0.25, 0.5));
        QCOMPARE(edits.size(), 1);
        const QList<QVariant> edit = edits.at(0);
        QCOMPARE(edit.at(0).value<PdfDocumentPtr>(), tab.document());
        QCOMPARE(edit.at(1).toInt(), 1);
        const QPointF position = edit.at(2).toPointF();
        QVERIFY(qAbs(position.x() - 0.25) < 0.01 && qAbs(position.y() - 0.5) < 0.02);
        QCOMPARE(edit.at(3).toString(), QStringLiteral("Merhaba dünya"));
        QCOMPARE(edit.at(4).toBool(), false);
        QCOMPARE(edit.at(5).toDouble(), 18.0);
        QVERIFY(!hasCrossCursor(tab));

        // Placed once: the next click places nothing.
        clickPage(tab, 1, QPointF(0.5, 0.5));
        QCOMPARE(edits.size(), 1);
    }

    void stickyNotesAskOnlyForTheirText()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        m_prompts.texts = {QStringLiteral("Kontrol et")};
        QSignalSpy edits(&tab, &NativeDocumentTab::editRequested);
        actionNamed(tab, QStringLiteral("Yapışkan not ekle"))->trigger();
        QCOMPARE(m_prompts.textQuestions, (QList<QPair<QString, QString>>{{"Yapışkan not", "Not içeriği"}}));
        QCOMPARE(m_prompts.numberQuestions.size(), 0);
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.1, 0.2));
        QCOMPARE(edits.size(), 1);
        QCOMPARE(edits.at(0).at(2).toPointF(), QPointF(0.1, 0.2));
        QCOMPARE(edits.at(0).at(3).toString(), QStringLiteral("Kontrol et"));
        QCOMPARE(edits.at(0).at(4).toBool(), true);
        QCOMPARE(edits.at(0).at(5).toDouble(), 14.0);
    }

    void textLengthIsLimited_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("one character") << 1 << true;
        QTest::newRow("10000 characters") << 10000 << true;
        QTest::newRow("10001 characters") << 10001 << false;
    }

    void textLengthIsLimited()
    {
        QFETCH(int, length);
        QFETCH(bool, accepted);
        NativeDocumentTab& tab = tabShowing(wideDocument());
        m_prompts.texts = {QString(length, QLatin1Char('x'))};
        m_prompts.numbers = {14.0};
        QSignalSpy edits(&tab, &NativeDocumentTab::editRequested);
        tab.startTextPlacement(false);
        QCOMPARE(tab.message(), accepted ? kClickToPlace : QStringLiteral("En fazla 10000 karakter eklenebilir."));
        // Refused text is never asked a size for.
        QCOMPARE(m_prompts.numberQuestions.size(), accepted ? 1 : 0);
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.5, 0.5));
        QCOMPARE(edits.size(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(edits.at(0).at(3).toString().size(), length);
    }

    void unansweredQuestionsStopSilently_data()
    {
        QTest::addColumn<std::optional<QString>>("text");
        QTest::addColumn<std::optional<double>>("size");
        QTest::addColumn<int>("numberQuestions");
        QTest::newRow("text cancelled") << std::optional<QString>() << std::optional<double>(14.0) << 0;
        QTest::newRow("only white space") << std::optional<QString>(" \n\t ") << std::optional<double>(14.0) << 0;
        QTest::newRow("size cancelled") << std::optional<QString>("metin") << std::optional<double>() << 1;
    }

    void unansweredQuestionsStopSilently()
    {
        QFETCH(std::optional<QString>, text);
        QFETCH(std::optional<double>, size);
        QFETCH(int, numberQuestions);
        NativeDocumentTab& tab = tabShowing(wideDocument());
        const QString shown = tab.message();
        m_prompts.texts = {text};
        m_prompts.numbers = {size};
        QSignalSpy edits(&tab, &NativeDocumentTab::editRequested);
        tab.startTextPlacement(false);
        QCOMPARE(m_prompts.numberQuestions.size(), numberQuestions);
        QCOMPARE(tab.message(), shown);
        QVERIFY(!hasCrossCursor(tab));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.5, 0.5));
        QCOMPARE(edits.size(), 0);
    }

    void protectedDocumentsRefuseBeforeAnyQuestion_data()
    {
        QTest::addColumn<int>("signatures");
        QTest::addColumn<bool>("encrypted");
        QTest::newRow("signed") << 1 << false;
        QTest::newRow("signature count unreadable") << -1 << false;
        QTest::newRow("encrypted") << 0 << true;
    }

    void protectedDocumentsRefuseBeforeAnyQuestion()
    {
        QFETCH(int, signatures);
        QFETCH(bool, encrypted);
        NativeDocumentTab& tab = tabShowing(wideDocument({signatures, encrypted}));
        m_prompts.texts = {QStringLiteral("metin"), QStringLiteral("not")};
        m_prompts.numbers = {14.0};
        const QString refusedText = QStringLiteral("İmzalı veya şifreli belgelere bu sürümde metin/not eklenmez.");
        tab.startTextPlacement(false);
        QCOMPARE(tab.message(), refusedText);
        tab.startTextPlacement(true);
        QCOMPARE(tab.message(), refusedText);
        tab.startAreaPick(QStringLiteral("rectangle"));
        QCOMPARE(tab.message(), QStringLiteral("İmzalı veya şifreli belge korunur."));
        QCOMPARE(m_prompts.questionCount(), 0);
        QVERIFY(!hasCrossCursor(tab));
    }

    void signedDocumentsSayHowManySignatureFieldsTheyHave()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument({2, false}));
        QCOMPARE(tab.message(),
                 QStringLiteral("Bu belgede 2 imza alanı var. İmzaların geçerliliği henüz doğrulanmadı."));
    }

    void areaNeedsTwoCornersOnOnePage()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        QSignalSpy areas(&tab, &NativeDocumentTab::annotationRequested);
        tab.startAreaPick(QStringLiteral("highlight"));
        QCOMPARE(tab.message(), kPickArea);
        QVERIFY(hasCrossCursor(tab));

        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.5, 0.5));
        QCOMPARE(tab.message(), kFirstCorner);
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.501, 0.501));
        QCOMPARE(tab.message(), kTooSmall);
        QCOMPARE(areas.size(), 0);
        // Still waiting for the opposite corner of the same first corner.
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.2, 0.9));
        QCOMPARE(areas.size(), 1);
        QCOMPARE(areas.at(0).at(0).value<PdfDocumentPtr>(), tab.document());
        QCOMPARE(areas.at(0).at(1).toInt(), 0);
        QCOMPARE(areas.at(0).at(2).toString(), QStringLiteral("highlight"));
        QCOMPARE(areas.at(0).at(3).toRectF(), QRectF(QPointF(0.2, 0.5), QPointF(0.5, 0.9)));
        QVERIFY(!hasCrossCursor(tab));

        // Done: further clicks pick nothing.
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.9, 0.9));
        QCOMPARE(areas.size(), 1);
    }

    void areaSidesMustBothBeWideEnough_data()
    {
        QTest::addColumn<QPointF>("second");
        QTest::addColumn<bool>("completed");
        QTest::newRow("both sides over 0.002") << QPointF(0.3025, 0.4025) << true;
        QTest::newRow("narrow") << QPointF(0.3015, 0.8) << false;
        QTest::newRow("flat") << QPointF(0.8, 0.4) << false;
        QTest::newRow("same point") << QPointF(0.3, 0.4) << false;
        QTest::newRow("towards the origin") << QPointF(0.1, 0.1) << true;
    }

    void areaSidesMustBothBeWideEnough()
    {
        QFETCH(QPointF, second);
        QFETCH(bool, completed);
        NativeDocumentTab& tab = tabShowing(wideDocument());
        const QString resting = tab.message();
        QSignalSpy areas(&tab, &NativeDocumentTab::annotationRequested);
        tab.startAreaPick(QStringLiteral("ellipse"));
        Q_EMIT tab.pageView()->pageClicked(2, QPointF(0.3, 0.4));
        Q_EMIT tab.pageView()->pageClicked(2, second);
        QCOMPARE(areas.size(), completed ? 1 : 0);
        // A completed area leaves no placement message behind.
        QCOMPARE(tab.message(), completed ? resting : kTooSmall);
        if (completed) {
            const QRectF area = areas.at(0).at(3).toRectF();
            QVERIFY(area.width() > 0 && area.height() > 0);
        }
    }

    void aCornerOnAnotherPageStartsAgain()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        QSignalSpy areas(&tab, &NativeDocumentTab::annotationRequested);
        tab.startAreaPick(QStringLiteral("rectangle"));
        clickPage(tab, 0, QPointF(0.1, 0.1));
        QCOMPARE(tab.message(), kFirstCorner);
        clickPage(tab, 1, QPointF(0.2, 0.2));
        QCOMPARE(tab.message(), kFirstCorner);
        QCOMPARE(areas.size(), 0);
        clickPage(tab, 1, QPointF(0.8, 0.7));
        QCOMPARE(areas.size(), 1);
        QCOMPARE(areas.at(0).at(1).toInt(), 1);
        const QRectF area = areas.at(0).at(3).toRectF();
        QVERIFY(qAbs(area.left() - 0.2) < 0.02 && qAbs(area.right() - 0.8) < 0.02);
    }

    void onlyKnownShapesArePicked_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty") << QString();
        QTest::newRow("capitalised") << QStringLiteral("Rectangle");
        QTest::newRow("unknown") << QStringLiteral("circle");
        QTest::newRow("padded") << QStringLiteral(" ellipse");
    }

    void onlyKnownShapesArePicked()
    {
        QFETCH(QString, kind);
        NativeDocumentTab& tab = tabShowing(wideDocument());
        const QString shown = tab.message();
        tab.startAreaPick(kind);
        QCOMPARE(tab.message(), shown);
        QVERIFY(!hasCrossCursor(tab));
    }

    // Placement messages go once the placement has ended: placed, ended by
    // turning to another tab, or a few seconds after Escape.
    void placementMessagesGiveWay()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        const QString resting = tab.message();
        m_prompts.texts = {QStringLiteral("metin")};
        m_prompts.numbers = {14.0};
        tab.startTextPlacement(false);
        QCOMPARE(tab.message(), kClickToPlace);
        clickPage(tab, 0, QPointF(0.3, 0.3));
        QCOMPARE(tab.message(), resting);

        tab.startAreaPick(QStringLiteral("rectangle"));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.1, 0.1));
        QCOMPARE(tab.message(), kFirstCorner);
        tab.resetPlacement();
        QCOMPARE(tab.message(), resting);
        QVERIFY(!hasCrossCursor(tab));

        tab.startAreaPick(QStringLiteral("rectangle"));
        tab.cancelPlacement();
        QCOMPARE(tab.message(), kCancelled);
        QTRY_COMPARE_WITH_TIMEOUT(tab.message(), resting, 6000);
    }

    void escapeCancelsPlacement_data()
    {
        QTest::addColumn<bool>("text");
        QTest::newRow("waiting for a text click") << true;
        QTest::newRow("waiting for a corner") << false;
    }

    void escapeCancelsPlacement()
    {
        QFETCH(bool, text);
        NativeDocumentTab& tab = tabShowing(wideDocument());
        tab.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&tab));
        tab.pageView()->setFocus();
        QSignalSpy edits(&tab, &NativeDocumentTab::editRequested);
        QSignalSpy areas(&tab, &NativeDocumentTab::annotationRequested);
        if (text) {
            m_prompts.texts = {QStringLiteral("not")};
            tab.startTextPlacement(true);
        } else {
            tab.startAreaPick(QStringLiteral("rectangle"));
            Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.1, 0.1));
        }
        QVERIFY(hasCrossCursor(tab));
        QTest::keyClick(tab.pageView(), Qt::Key_Escape);
        QCOMPARE(tab.message(), kCancelled);
        QVERIFY(!hasCrossCursor(tab));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.6, 0.6));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.9, 0.9));
        QCOMPARE(edits.size(), 0);
        QCOMPARE(areas.size(), 0);
    }

    void forbiddingEditsDisablesAndClearsPlacement()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        QAction* addText = actionNamed(tab, QStringLiteral("Metin ekle"));
        QAction* addNote = actionNamed(tab, QStringLiteral("Yapışkan not ekle"));
        QVERIFY(addText->isEnabled() && addNote->isEnabled());
        QSignalSpy edits(&tab, &NativeDocumentTab::editRequested);
        QSignalSpy areas(&tab, &NativeDocumentTab::annotationRequested);
        m_prompts.texts = {QStringLiteral("not")};
        tab.startTextPlacement(true);
        QVERIFY(hasCrossCursor(tab));

        tab.setEditingEnabled(false);
        QVERIFY(!addText->isEnabled());
        QVERIFY(!addNote->isEnabled());
        QVERIFY(!hasCrossCursor(tab));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.5, 0.5));
        QCOMPARE(edits.size(), 0);

        // Nothing starts while edits are forbidden.
        m_prompts.texts = {QStringLiteral("metin")};
        tab.startTextPlacement(false);
        tab.startAreaPick(QStringLiteral("rectangle"));
        QCOMPARE(m_prompts.textQuestions.size(), 1);
        QVERIFY(!hasCrossCursor(tab));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.1, 0.1));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.9, 0.9));
        QCOMPARE(areas.size(), 0);

        tab.setEditingEnabled(true);
        QVERIFY(addText->isEnabled() && addNote->isEnabled());
    }

    void aPendingAreaIsForgottenWhenForbidden()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument());
        QSignalSpy areas(&tab, &NativeDocumentTab::annotationRequested);
        tab.startAreaPick(QStringLiteral("rectangle"));
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.1, 0.1));
        tab.setEditingEnabled(false);
        tab.setEditingEnabled(true);
        Q_EMIT tab.pageView()->pageClicked(0, QPointF(0.9, 0.9));
        QCOMPARE(areas.size(), 0);
    }

    void editingStartsForbidden()
    {
        NativeDocumentTab& tab = tabShowing(wideDocument(), false);
        QVERIFY(!actionNamed(tab, QStringLiteral("Metin ekle"))->isEnabled());
        QVERIFY(!actionNamed(tab, QStringLiteral("Yapışkan not ekle"))->isEnabled());
        tab.startTextPlacement(false);
        QCOMPARE(m_prompts.questionCount(), 0);
    }
};

QTEST_MAIN(TabPlacementTest)
#include "TabPlacementTest.moc"
