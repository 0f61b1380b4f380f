// The notes list: one entry per note with its page, "(boş not)" for an
// empty note; a double-click or Enter on a note closes the list and names
// its page; closing names none.

#include "document/ui/NotesDialog.h"

#include <QListWidget>
#include <QTest>

using namespace velk;

class NotesDialogTest : public QObject {
    Q_OBJECT

    const QList<PdfNote> m_notes{{0, QStringLiteral("Gözden geçir")}, {4, QString()}, {9, QStringLiteral("İmza burada")}};

private Q_SLOTS:
    void listsEveryNoteWithItsPage()
    {
        NotesDialog dialog(m_notes);
        QCOMPARE(dialog.list()->count(), 3);
        QCOMPARE(dialog.list()->item(0)->text(), QStringLiteral("Sayfa 1\nGözden geçir"));
        QCOMPARE(dialog.list()->item(1)->text(), QStringLiteral("Sayfa 5\n(boş not)"));
        QCOMPARE(dialog.list()->item(2)->text(), QStringLiteral("Sayfa 10\nİmza burada"));
    }

    void doubleClickNamesTheNotesPage()
    {
        NotesDialog dialog(m_notes);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QListWidget* list = dialog.list();
        const QPoint at = list->visualItemRect(list->item(2)).center();
        // A double click as the system delivers it: the first press, then
        // the second as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dialog.chosenPage(), std::optional<int>(9));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void enterNamesTheCurrentNotesPage()
    {
        NotesDialog dialog(m_notes);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.list()->setFocus();
        dialog.list()->setCurrentRow(1);
        QTest::keyClick(dialog.list(), Qt::Key_Return);
        QCOMPARE(dialog.chosenPage(), std::optional<int>(4));
    }

    void closingNamesNoPage()
    {
        NotesDialog dialog(m_notes);
        dialog.show();
        dialog.reject();
        QCOMPARE(dialog.chosenPage(), std::nullopt);
    }
};

QTEST_MAIN(NotesDialogTest)
#include "NotesDialogTest.moc"
