// The replace-or-delete dialog: its texts, sizes and object names; list
// rows simplified and cut to 180 code units while the editor gets the
// whole text; the 1–10,000 code unit rule for replacement text (exactly
// 10,000 accepted, 10,001 warned about with the dialog kept open); the
// delete box, which disables the editor and accepts an empty text; and
// the request it closes with. The whole flow runs against the real worker
// in the real sandbox: a query failure becomes a warning, a page without
// text objects an information box.

#include "operations/EditTextObject.h"
#include "operations/TextObjectEditDialog.h"

#include "document/core/DocumentOpen.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"
#include "support/TestPaths.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

struct Shown {
    QString title;
    QString text;
};

// A text of `units` UTF-16 code units with runs of white space to simplify.
QString longText(int units)
{
    QString text;
    while (text.size() < units)
        text += QStringLiteral("ğüş  ıöç\t");
    return text.left(units);
}

const QList<TextObjectEntry> kEntries{
    {QStringLiteral("Birinci   nesne\n"), QJsonValue(3)},
    {longText(400), QJsonValue(QStringLiteral("handle-7"))},
    {QStringLiteral("Üçüncü"), QJsonValue(11)},
};

} // namespace

class TextObjectDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_temp;
    QList<Shown> m_warnings;

    TextObjectEditDialog::Warning recordWarning()
    {
        return [this](QWidget*, const QString& title, const QString& text) { m_warnings.append({title, text}); };
    }

    PdfDocumentPtr open(const QString& name, const PdfFixtureSpec& spec)
    {
        const QString path = m_sources.filePath(name);
        if (!writePdf(path, spec))
            return nullptr;
        return openPdfDocument(path, QString(), nullptr).document;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
    }

    void init() { m_warnings.clear(); }

    void showsItsTextsAndParts()
    {
        TextObjectEditDialog dialog(4, kEntries, recordWarning());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Mevcut metni düzenle — Sayfa 5"));
        QCOMPARE(dialog.size(), QSize(740, 600));
        QCOMPARE(dialog.layout()->contentsMargins(), QMargins(24, 24, 24, 24));
        QCOMPARE(dialog.layout()->spacing(), 12);
        const auto label = [&dialog](const char* name) { return dialog.findChild<QLabel*>(name); };
        QCOMPARE(label("dialogTitle")->text(), QStringLiteral("Mevcut metni düzenle · Sayfa 5"));
        QVERIFY(label("dialogTitle")->wordWrap());
        QCOMPARE(label("dialogTitle")->textFormat(), Qt::PlainText);
        QCOMPARE(label("dialogSubtitle")->text(),
                 QStringLiteral("Metin nesnesini seçin. Değiştirilen metin, aynı konum ve boyutta gömülü Roboto "
                                "yazı tipiyle yeniden oluşturulur. Diğer nesneler yerinde kalır."));
        QVERIFY(label("dialogSubtitle")->wordWrap());
        auto* splitter = dialog.findChild<QSplitter*>();
        QCOMPARE(splitter->orientation(), Qt::Horizontal);
        QCOMPARE(splitter->handleWidth(), 12);
        QVERIFY(!splitter->childrenCollapsible());
        QCOMPARE(splitter->count(), 2);
        QVERIFY(splitter->widget(0)->isAncestorOf(dialog.objectList()));
        QVERIFY(splitter->widget(1)->isAncestorOf(dialog.editor()));
        const auto section = [splitter](int pane) {
            const QList<QLabel*> labels = splitter->widget(pane)->findChildren<QLabel*>("sectionTitle");
            return labels.size() == 1 ? labels.at(0)->text() : QString();
        };
        QCOMPARE(section(0), QStringLiteral("Sayfadaki metin nesneleri"));
        QCOMPARE(section(1), QStringLiteral("Seçilen nesnenin metni"));
        QCOMPARE(dialog.objectList()->objectName(), QStringLiteral("textObjectList"));
        QCOMPARE(dialog.objectList()->minimumWidth(), 200);
        QCOMPARE(dialog.editor()->objectName(), QStringLiteral("textObjectEditor"));
        QCOMPARE(dialog.editor()->minimumWidth(), 240);

        QCOMPARE(dialog.deleteBox()->text(), QStringLiteral("Seçilen metin nesnesini sil"));
        QVERIFY(!dialog.deleteBox()->isChecked());
        QCOMPARE(dialog.applyButton()->text(), QStringLiteral("Uygula ve farklı kaydet…"));
        QCOMPARE(dialog.applyButton()->property("primary"), QVariant(true));
        QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("İptal"));
    }

    void listShowsShortRowsAndTheEditorTheWholeText()
    {
        TextObjectEditDialog dialog(0, kEntries, recordWarning());
        QListWidget* list = dialog.objectList();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Birinci nesne"));
        QCOMPARE(list->item(1)->text(), kEntries.at(1).text.simplified().left(180));
        QCOMPARE(list->item(1)->text().size(), 180);
        QCOMPARE(list->item(2)->text(), QStringLiteral("Üçüncü"));
        // The first row is current from the start.
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(dialog.editor()->toPlainText(), kEntries.at(0).text);
        list->setCurrentRow(1);
        QCOMPARE(dialog.editor()->toPlainText(), kEntries.at(1).text);
        QCOMPARE(dialog.editor()->toPlainText().size(), 400);
    }

    void rowsNeverSplitACharacter()
    {
        // 179 units, then a character outside the basic plane: the row
        // ends before it rather than with half of it.
        const QString text = QString(179, QChar(u'a')) + QStringLiteral("😀 son");
        TextObjectEditDialog dialog(0, {{text, QJsonValue(1)}}, recordWarning());
        QCOMPARE(dialog.objectList()->item(0)->text(), QString(179, QChar(u'a')));
    }

    void applyChecksTheTextAndBuildsTheRequest_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("exactly 10,000 code units") << 1 << QString(10000, QChar(u'ş')) << false << true;
        QTest::newRow("10,001 code units") << 1 << QString(10001, QChar(u'ş')) << false << false;
        QTest::newRow("empty") << 0 << QString() << false << false;
        QTest::newRow("only white space") << 0 << QStringLiteral(" \n\t ") << false << false;
        QTest::newRow("one character") << 2 << QStringLiteral("x") << false << true;
        QTest::newRow("empty, deleting") << 0 << QString() << true << true;
        QTest::newRow("unchanged, deleting") << 2 << QStringLiteral("Üçüncü") << true << true;
    }

    void applyChecksTheTextAndBuildsTheRequest()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(bool, deleting);
        QFETCH(bool, accepted);
        TextObjectEditDialog dialog(2, kEntries, recordWarning());
        dialog.show();
        dialog.objectList()->setCurrentRow(row);
        dialog.editor()->setPlainText(text);
        if (deleting)
            dialog.deleteBox()->click();
        QCOMPARE(dialog.editor()->isEnabled(), !deleting);
        QTest::mouseClick(dialog.applyButton(), Qt::LeftButton);

        if (!accepted) {
            QCOMPARE(m_warnings.size(), 1);
            QCOMPARE(m_warnings.at(0).title, QStringLiteral("Metin"));
            QCOMPARE(m_warnings.at(0).text, QStringLiteral("1–10000 karakter girin veya nesneyi silmeyi seçin."));
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.request());
            return;
        }
        QVERIFY(m_warnings.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QJsonObject expected{{"operation", deleting ? "deleteText" : "replaceText"},
                                   {"page", 2},
                                   {"object", kEntries.at(row).object},
                                   {"text", text}};
        QCOMPARE(dialog.request(), std::optional<QJsonObject>(expected));
    }

    void uncheckingTheDeleteBoxEnablesTheEditor()
    {
        TextObjectEditDialog dialog(0, kEntries, recordWarning());
        dialog.deleteBox()->setChecked(true);
        QVERIFY(!dialog.editor()->isEnabled());
        dialog.deleteBox()->setChecked(false);
        QVERIFY(dialog.editor()->isEnabled());
    }

    void cancelClosesWithoutARequest()
    {
        TextObjectEditDialog dialog(0, kEntries, recordWarning());
        dialog.show();
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.request());
    }

    void flowListsTheRealTextObjects()
    {
        QString line;
        while (line.size() < 250)
            line += QStringLiteral("ğüşıöç ");
        line = line.left(249) + QLatin1Char('x');
        PdfPageSpec page(595, 842, 0, "Kisa");
        page.lines = {line};
        const PdfDocumentPtr document = open(QStringLiteral("uzun.pdf"), PdfFixtureSpec::withPages(1, page));
        QVERIFY(document);
        EditPrompts prompts;
        prompts.warning = recordWarning();
        QStringList rows;
        QString editorText;
        prompts.runTextObjectDialog = [&](TextObjectEditDialog& dialog) {
            for (int row = 0; row < dialog.objectList()->count(); ++row)
                rows << dialog.objectList()->item(row)->text();
            dialog.objectList()->setCurrentRow(1);
            editorText = dialog.editor()->toPlainText();
            dialog.editor()->setPlainText(QStringLiteral("Yeni"));
            dialog.applyButton()->click();
            return dialog.result();
        };
        const std::optional<QJsonObject> request = editTextObjectDialog(nullptr, document, 0, prompts);
        QVERIFY(request);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0), QStringLiteral("Kisa"));
        QCOMPARE(rows.at(1), line.left(180));
        QCOMPARE(editorText, line);
        QCOMPARE(request->value("operation").toString(), QStringLiteral("replaceText"));
        QCOMPARE(request->value("text").toString(), QStringLiteral("Yeni"));
        QCOMPARE(request->value("page").toInt(), 0);
        QVERIFY(request->value("object").isDouble());
        QVERIFY(m_warnings.isEmpty());
    }

    void flowTellsWhenThereIsNothingToEdit_data()
    {
        QTest::addColumn<QByteArray>("pageText");
        QTest::addColumn<QByteArray>("workingBytes");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("information");
        QTest::newRow("page without text objects")
            << QByteArray() << QByteArray() << QString()
            << QStringLiteral("Bu sayfada düzenlenebilir doğrudan metin nesnesi bulunamadı. Taranmış görüntü ve iç "
                              "içe grafik metinleri bu araçla değiştirilemez.");
        QTest::newRow("query refused by the worker")
            << QByteArray("Metin") << QByteArray("Bu bir PDF değil.")
            << QStringLiteral("PDF açılamadı. Belge parolasını veya dosya biçimini kontrol edin.") << QString();
    }

    void flowTellsWhenThereIsNothingToEdit()
    {
        QFETCH(QByteArray, pageText);
        QFETCH(QByteArray, workingBytes);
        QFETCH(QString, warning);
        QFETCH(QString, information);
        const PdfDocumentPtr document =
            open(QStringLiteral("boş.pdf"), PdfFixtureSpec::withPages(1, PdfPageSpec(595, 842, 0, pageText)));
        QVERIFY(document);
        if (!workingBytes.isEmpty())
            QVERIFY(writeBytes(document->workingPath, workingBytes));
        EditPrompts prompts;
        QList<Shown> informations;
        prompts.warning = recordWarning();
        prompts.information = [&](QWidget*, const QString& title, const QString& text) {
            informations.append({title, text});
        };
        bool dialogRan = false;
        prompts.runTextObjectDialog = [&](TextObjectEditDialog&) {
            dialogRan = true;
            return int(QDialog::Accepted);
        };
        QVERIFY(!editTextObjectDialog(nullptr, document, 0, prompts));
        QVERIFY(!dialogRan);
        const QList<Shown>& shown = warning.isEmpty() ? informations : m_warnings;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).title, QStringLiteral("Metin düzenleme"));
        QCOMPARE(shown.at(0).text, warning.isEmpty() ? information : warning);
        QCOMPARE((warning.isEmpty() ? m_warnings : informations).size(), 0);
    }
};

QTEST_MAIN(TextObjectDialogTest)
#include "TextObjectDialogTest.moc"
