// The organise and merge-order dialogs, offscreen: filling from a page
// range, rotation captions, refusing to remove every page, the move
// buttons and what each dialog returns when accepted or cancelled.

#include "operations/MergeOrderDialog.h"
#include "operations/OrganizeDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace velk;

namespace {

QPushButton* buttonOf(const QWidget* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QStringList captions(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

// Runs action on the modal dialog as soon as the event loop shows it.
void whenModal(std::function<void(QDialog*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog)
            action(dialog);
    });
}

void selectRows(QListWidget* list, const QList<int>& rows)
{
    list->clearSelection();
    for (const int row : rows)
        list->item(row)->setSelected(true);
}

} // namespace

class PageDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void organiseDialogStartsWithEveryPage()
    {
        OrganizeDialog dialog(4);
        QCOMPARE(dialog.windowTitle(), QString("Sayfaları düzenle ve ayır"));
        QCOMPARE(dialog.rangeEdit()->text(), QString("1-4"));
        QCOMPARE(dialog.rangeEdit()->placeholderText(), QString("Örn. 3,1-2 veya 5-1"));
        QCOMPARE(captions(dialog.pageList()), (QStringList{"Sayfa 1", "Sayfa 2", "Sayfa 3", "Sayfa 4"}));
        QCOMPARE(dialog.pageList()->currentRow(), 0);
        QCOMPARE(dialog.messageLabel()->text(), QString());
        for (const char* text : {"Aralığı uygula", "Yukarı taşı", "Aşağı taşı", "Sola döndür", "Sağa döndür",
                                 "Seçilileri kaldır", "Farklı kaydet…"})
            QVERIFY2(buttonOf(&dialog, QString::fromUtf8(text)), text);
    }

    void applyRebuildsOrExplains_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("message");
        QTest::newRow("reversed") << "3-1" << QStringList{"Sayfa 3", "Sayfa 2", "Sayfa 1"} << QString();
        QTest::newRow("repeated") << "2,2" << QStringList{"Sayfa 2", "Sayfa 2"} << QString();
        QTest::newRow("malformed keeps the list")
            << "1,,2" << QStringList{"Sayfa 1", "Sayfa 2", "Sayfa 3", "Sayfa 4"}
            << "Örnek sayfa aralığı: 1,3,5-7 veya 3-1.";
        QTest::newRow("outside keeps the list")
            << "5" << QStringList{"Sayfa 1", "Sayfa 2", "Sayfa 3", "Sayfa 4"}
            << "Sayfa numarası belge sınırları dışında.";
    }

    void applyRebuildsOrExplains()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        OrganizeDialog dialog(4);
        dialog.rotateSelected(90);
        dialog.rangeEdit()->setText(text);
        buttonOf(&dialog, "Aralığı uygula")->click();
        QCOMPARE(dialog.messageLabel()->text(), message);
        if (message.isEmpty())
            QCOMPARE(captions(dialog.pageList()), rows);
        else
            QCOMPARE(dialog.pageList()->count(), rows.size());
    }

    void rotatingFourTimesRestoresTheCaption_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("right") << "Sağa döndür"
                               << QStringList{"Sayfa 2  ·  90° döndürme", "Sayfa 2  ·  180° döndürme",
                                              "Sayfa 2  ·  270° döndürme", "Sayfa 2"};
        QTest::newRow("left") << "Sola döndür"
                              << QStringList{"Sayfa 2  ·  270° döndürme", "Sayfa 2  ·  180° döndürme",
                                             "Sayfa 2  ·  90° döndürme", "Sayfa 2"};
    }

    void rotatingFourTimesRestoresTheCaption()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, steps);
        OrganizeDialog dialog(3);
        selectRows(dialog.pageList(), {1});
        for (const QString& caption : steps) {
            buttonOf(&dialog, button)->click();
            QCOMPARE(dialog.pageList()->item(1)->text(), caption);
            QCOMPARE(dialog.pageList()->item(0)->text(), QString("Sayfa 1"));
        }
        QCOMPARE(dialog.layoutOfRows().rotations, (QList<int>{0, 0, 0}));
    }

    void removingEveryRowRefused()
    {
        OrganizeDialog dialog(3);
        dialog.pageList()->selectAll();
        buttonOf(&dialog, "Seçilileri kaldır")->click();
        QCOMPARE(dialog.messageLabel()->text(), QString("PDF'de en az bir sayfa kalmalı."));
        QCOMPARE(dialog.pageList()->count(), 3);

        selectRows(dialog.pageList(), {0, 2});
        buttonOf(&dialog, "Seçilileri kaldır")->click();
        QCOMPARE(dialog.messageLabel()->text(), QString());
        QCOMPARE(captions(dialog.pageList()), QStringList{"Sayfa 2"});
    }

    void moveButtons_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("second up") << 1 << "Yukarı taşı" << QStringList{"b.pdf", "a.pdf", "c.pdf"} << 0;
        QTest::newRow("first down") << 0 << "Aşağı taşı" << QStringList{"b.pdf", "a.pdf", "c.pdf"} << 1;
        QTest::newRow("first up stays") << 0 << "Yukarı taşı" << QStringList{"a.pdf", "b.pdf", "c.pdf"} << 0;
        QTest::newRow("last down stays") << 2 << "Aşağı taşı" << QStringList{"a.pdf", "b.pdf", "c.pdf"} << 2;
        QTest::newRow("no current row") << -1 << "Aşağı taşı" << QStringList{"a.pdf", "b.pdf", "c.pdf"} << -1;
    }

    void moveButtons()
    {
        QFETCH(int, current);
        QFETCH(QString, button);
        QFETCH(QStringList, rows);
        QFETCH(int, currentAfter);
        MergeOrderDialog dialog({"/d/a.pdf", "/d/b.pdf", "/d/c.pdf"});
        dialog.fileList()->setCurrentRow(current);
        buttonOf(&dialog, button)->click();
        QCOMPARE(captions(dialog.fileList()), rows);
        QCOMPARE(dialog.fileList()->currentRow(), currentAfter);
        QStringList paths;
        for (const QString& name : rows)
            paths.append("/d/" + name);
        QCOMPARE(dialog.orderedPaths(), paths);
    }

    void organiseMoveButtonsCarryRotation()
    {
        OrganizeDialog dialog(3);
        selectRows(dialog.pageList(), {2});
        dialog.rotateSelected(90);
        dialog.pageList()->setCurrentRow(2);
        buttonOf(&dialog, "Yukarı taşı")->click();
        buttonOf(&dialog, "Yukarı taşı")->click();
        const organize::PageLayout layout = dialog.layoutOfRows();
        QCOMPARE(layout.pages, (QList<int>{2, 0, 1}));
        QCOMPARE(layout.rotations, (QList<int>{90, 0, 0}));
    }

    void mergeDialogShowsNamesAndKeepsPaths()
    {
        MergeOrderDialog dialog({"/bir/ilk.pdf", "/iki/son.pdf"});
        QCOMPARE(dialog.windowTitle(), QString("PDF birleştirme sırası"));
        QCOMPARE(captions(dialog.fileList()), (QStringList{"ilk.pdf", "son.pdf"}));
        QCOMPARE(dialog.fileList()->item(1)->toolTip(), QString("/iki/son.pdf"));
        QCOMPARE(dialog.fileList()->currentRow(), 0);
        QVERIFY(buttonOf(&dialog, "Birleştir…"));
    }

    void dialogsReturnOnlyWhenAccepted()
    {
        whenModal([](QDialog* dialog) {
            auto* organise = qobject_cast<OrganizeDialog*>(dialog);
            organise->rangeEdit()->setText("3,1");
            organise->applyRange();
            organise->pageList()->item(0)->setSelected(true);
            organise->rotateSelected(-90);
            dialog->accept();
        });
        const std::optional<organize::PageLayout> layout = showOrganizeDialog(nullptr, 3);
        QVERIFY(layout);
        QCOMPARE(layout->pages, (QList<int>{2, 0}));
        QCOMPARE(layout->rotations, (QList<int>{270, 0}));

        whenModal([](QDialog* dialog) { dialog->reject(); });
        QCOMPARE(showOrganizeDialog(nullptr, 3), std::nullopt);

        whenModal([](QDialog* dialog) {
            qobject_cast<MergeOrderDialog*>(dialog)->fileList()->setCurrentRow(1);
            buttonOf(dialog, "Yukarı taşı")->click();
            dialog->accept();
        });
        QCOMPARE(chooseMergeOrder(nullptr, {"/a.pdf", "/b.pdf"}), (QStringList{"/b.pdf", "/a.pdf"}));

        whenModal([](QDialog* dialog) { dialog->reject(); });
        QCOMPARE(chooseMergeOrder(nullptr, {"/a.pdf", "/b.pdf"}), QStringList());
    }
};

QTEST_MAIN(PageDialogsTest)
#include "PageDialogsTest.moc"
