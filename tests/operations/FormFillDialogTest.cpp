// The form dialog: one widget per field entry with its object name and
// state, radio buttons of one name exclusive, and the updates it closes
// with, holding only what the user changed. The whole flow runs against
// the real worker in the real sandbox: a form is listed and filled, a form
// without changes keeps the dialog open, a document without a form gets
// the information box.

#include "operations/FillForm.h"
#include "operations/FormFillDialog.h"

#include "operations/ApplyEdit.h"
#include "document/core/DocumentOpen.h"
#include "OperationTestFiles.h"
#include "support/PdfFixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

struct Shown {
    QString title;
    QString text;
};

const QString kNothingChanged = QString::fromUtf8("Henüz bir alan değiştirilmedi.");

QJsonObject entry(int annotation, int type, const QString& name, const QJsonObject& more = {})
{
    QJsonObject result{{"page", 0},          {"annotation", annotation}, {"type", type},
                       {"name", name},       {"readOnly", false},        {"password", false},
                       {"multiline", false}, {"multiSelect", false},     {"checked", false}};
    for (auto it = more.begin(); it != more.end(); ++it)
        result.insert(it.key(), it.value());
    return result;
}

QJsonArray options(const QList<bool>& selected)
{
    QJsonArray result;
    for (int i = 0; i < selected.size(); ++i)
        result.append(QJsonObject{{"label", QStringLiteral("Seçenek %1").arg(i)}, {"selected", selected.at(i)}});
    return result;
}

// Every kind of field, in annotation order 0..9.
const QJsonArray kFields{
    entry(0, 6, "ad", {{"value", "Ali"}}),
    entry(1, 6, "adres", {{"value", "Satır"}, {"multiline", true}}),
    entry(2, 6, "parola", {{"password", true}}),
    entry(3, 2, "onay"),
    entry(4, 3, "secim", {{"checked", true}, {"exportValue", "Bir"}, {"value", "Bir"}}),
    entry(5, 3, "secim", {{"exportValue", "Iki"}, {"value", "Bir"}}),
    entry(6, 4, "sehir", {{"options", options({false, false, false})}}),
    entry(7, 5, "diller", {{"options", options({false, true, false, true})}, {"multiSelect", true}}),
    entry(8, 7, "imza"),
    entry(9, 6, "sabit", {{"value", "Sabit"}, {"readOnly", true}}),
};

QJsonObject change(int annotation, const QString& key, const QJsonValue& value)
{
    return {{"page", 0}, {"annotation", annotation}, {key, value}};
}

} // namespace

class FormFillDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_temp;
    QList<Shown> m_warnings;
    QList<Shown> m_informations;

    FormFillDialog::Message record(QList<Shown>& list)
    {
        return [&list](QWidget*, const QString& title, const QString& text) { list.append({title, text}); };
    }

    // The updates of a dialog over kFields after change() has edited it;
    // nothing when it stayed open.
    std::optional<QJsonArray> updatesAfter(const std::function<void(FormFillDialog&)>& edit)
    {
        FormFillDialog dialog(kFields, record(m_warnings), record(m_informations));
        edit(dialog);
        dialog.applyButton()->click();
        if (!dialog.request())
            return std::nullopt;
        return dialog.request()->value("updates").toArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid() && m_temp.isValid());
        useTemporaryDirectory(m_temp.path());
    }

    void init()
    {
        m_warnings.clear();
        m_informations.clear();
    }

    void textsSizeAndWidgets()
    {
        FormFillDialog dialog(kFields, record(m_warnings), record(m_informations));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("PDF formunu doldur"));
        QCOMPARE(dialog.size(), QSize(760, 640));
        QCOMPARE(dialog.findChild<QLabel*>("dialogTitle")->text(), QStringLiteral("PDF formunu doldur"));
        QVERIFY(dialog.findChild<QLabel*>("dialogSubtitle")->text().contains("komut dosyaları çalıştırılmaz"));
        QCOMPARE(dialog.applyButton()->text(), QString::fromUtf8("Uygula ve farklı kaydet…"));
        QVERIFY(qobject_cast<QLineEdit*>(dialog.findChild<QWidget*>("formField_0_0")));
        QVERIFY(qobject_cast<QPlainTextEdit*>(dialog.fieldWidget(1)));
        QCOMPARE(qobject_cast<QLineEdit*>(dialog.fieldWidget(2))->echoMode(), QLineEdit::Password);
        QCOMPARE(qobject_cast<QLineEdit*>(dialog.fieldWidget(0))->maxLength(), 10000);
        QCOMPARE(qobject_cast<QComboBox*>(dialog.fieldWidget(6))->currentIndex(), -1);
        QCOMPARE(qobject_cast<QListWidget*>(dialog.fieldWidget(7))->selectionMode(),
                 QAbstractItemView::MultiSelection);
        QCOMPARE(qobject_cast<QLabel*>(dialog.fieldWidget(8))->text(),
                 QString::fromUtf8("İmza alanı — E-imza menüsünü kullanın"));
        QVERIFY(!dialog.fieldWidget(8)->isEnabled());
        QVERIFY(!dialog.fieldWidget(9)->isEnabled());
        QCOMPARE(dialog.fieldWidget(9)->property("readOnlyField").toBool(), true);
        QCOMPARE(dialog.fieldWidget(0)->property("readOnlyField").toBool(), false);
        QCOMPARE(qobject_cast<QRadioButton*>(dialog.fieldWidget(5))->text(), QStringLiteral("Iki"));
    }

    void rowLabels()
    {
        FormFillDialog dialog(kFields, record(m_warnings), record(m_informations));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains(QString::fromUtf8("Sayfa 1 · ad")));
        QVERIFY(labels.contains(QString::fromUtf8("Sayfa 1 · secim · Alan 6")));
        QVERIFY(labels.contains(QString::fromUtf8("Sayfa 1 · sabit · Salt okunur")));
        QVERIFY(labels.contains(QString::fromUtf8("Sayfa 1 · imza · Salt okunur")));
    }

    void radioGroupIsExclusiveAndSendsOneUpdate()
    {
        bool firstStillTicked = true;
        const auto updates = updatesAfter([&](FormFillDialog& dialog) {
            qobject_cast<QRadioButton*>(dialog.fieldWidget(5))->click();
            firstStillTicked = qobject_cast<QRadioButton*>(dialog.fieldWidget(4))->isChecked();
        });
        QVERIFY(!firstStillTicked);
        QVERIFY(updates);
        QCOMPARE(*updates, (QJsonArray{change(5, "checked", true)}));
    }

    void changesSent_data()
    {
        QTest::addColumn<std::function<void(FormFillDialog&)>>("edit");
        QTest::addColumn<QJsonArray>("updates");
        QTest::newRow("cleared text sends empty")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   qobject_cast<QLineEdit*>(d.fieldWidget(0))->clear();
               })
            << QJsonArray{change(0, "value", "")};
        QTest::newRow("untouched password not sent, check box sent")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   qobject_cast<QCheckBox*>(d.fieldWidget(3))->setChecked(true);
               })
            << QJsonArray{change(3, "checked", true)};
        QTest::newRow("typed password sent")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   QTest::keyClicks(d.fieldWidget(2), "gizli");
               })
            << QJsonArray{change(2, "value", "gizli")};
        QTest::newRow("combo without selection gets option 2")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   qobject_cast<QComboBox*>(d.fieldWidget(6))->setCurrentIndex(2);
               })
            << QJsonArray{change(6, "selection", QJsonArray{2})};
        QTest::newRow("list changed")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   qobject_cast<QListWidget*>(d.fieldWidget(7))->item(0)->setSelected(true);
               })
            << QJsonArray{change(7, "selection", QJsonArray{0, 1, 3})};
        QTest::newRow("multi-line text and check box in entry order")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   qobject_cast<QCheckBox*>(d.fieldWidget(3))->setChecked(true);
                   qobject_cast<QPlainTextEdit*>(d.fieldWidget(1))->setPlainText("Çok\nsatır");
               })
            << QJsonArray{change(1, "value", "Çok\nsatır"), change(3, "checked", true)};
    }

    void changesSent()
    {
        QFETCH(std::function<void(FormFillDialog&)>, edit);
        const auto updates = updatesAfter(edit);
        QVERIFY(updates);
        QTEST(*updates, "updates");
        QVERIFY(m_warnings.isEmpty() && m_informations.isEmpty());
    }

    void nothingChangedKeepsTheDialogOpen_data()
    {
        QTest::addColumn<std::function<void(FormFillDialog&)>>("edit");
        QTest::newRow("untouched") << std::function<void(FormFillDialog&)>([](FormFillDialog&) {});
        QTest::newRow("list returned to its selection")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   auto* list = qobject_cast<QListWidget*>(d.fieldWidget(7));
                   list->item(0)->setSelected(true);
                   list->item(3)->setSelected(false);
                   list->item(0)->setSelected(false);
                   list->item(3)->setSelected(true);
               });
        QTest::newRow("text typed back")
            << std::function<void(FormFillDialog&)>([](FormFillDialog& d) {
                   auto* edit = qobject_cast<QLineEdit*>(d.fieldWidget(0));
                   edit->clear();
                   QTest::keyClicks(edit, "Ali");
               });
    }

    void nothingChangedKeepsTheDialogOpen()
    {
        QFETCH(std::function<void(FormFillDialog&)>, edit);
        QVERIFY(!updatesAfter(edit));
        QCOMPARE(m_informations.size(), 1);
        QCOMPARE(m_informations.first().title, QStringLiteral("PDF formu"));
        QCOMPARE(m_informations.first().text, kNothingChanged);
    }

    void multiLineValueShownByLines_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("carriage return, line feed") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringList{"a", "b"};
        QTest::newRow("blank line between") << QStringLiteral("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("trailing break") << QStringLiteral("a\r\n") << QStringList{"a", ""};
    }

    void multiLineValueShownByLines()
    {
        QFETCH(QString, listed);
        QFETCH(QStringList, lines);
        FormFillDialog dialog(QJsonArray{entry(0, 6, "adres", {{"value", listed}, {"multiline", true}})},
                              record(m_warnings), record(m_informations));
        const auto* editor = qobject_cast<QPlainTextEdit*>(dialog.fieldWidget(0));
        QVERIFY(editor);
        QCOMPARE(editor->document()->blockCount(), lines.size());
        QCOMPARE(editor->toPlainText(), lines.join('\n'));
        dialog.applyButton()->click();
        QVERIFY(!dialog.request());
        QCOMPARE(m_informations.size(), 1);
        QCOMPARE(m_informations.first().text, kNothingChanged);
    }

    void editedMultiLineValueSendsTheEditorText()
    {
        FormFillDialog dialog(QJsonArray{entry(0, 6, "adres", {{"value", "a\r\nb"}, {"multiline", true}})},
                              record(m_warnings), record(m_informations));
        auto* editor = qobject_cast<QPlainTextEdit*>(dialog.fieldWidget(0));
        QVERIFY(editor);
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "c");
        dialog.applyButton()->click();
        QVERIFY(dialog.request());
        QCOMPARE(dialog.request()->value("updates").toArray(), (QJsonArray{change(0, "value", "a\nb\nc")}));
        QVERIFY(m_informations.isEmpty());
    }

    void textLengthLimit_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("10000 accepted") << 10000 << true;
        QTest::newRow("10001 blocked") << 10001 << false;
    }

    void textLengthLimit()
    {
        QFETCH(int, length);
        QFETCH(bool, accepted);
        const auto updates = updatesAfter([&](FormFillDialog& dialog) {
            qobject_cast<QPlainTextEdit*>(dialog.fieldWidget(1))->setPlainText(QString(length, QLatin1Char('a')));
        });
        QCOMPARE(bool(updates), accepted);
        QCOMPARE(m_warnings.size(), accepted ? 0 : 1);
        if (!accepted) {
            QCOMPARE(m_warnings.first().title, QStringLiteral("Form metni"));
            QCOMPARE(m_warnings.first().text, QStringLiteral("Bir alanda en fazla 10000 karakter kullanılabilir."));
        }
    }

    void signatureOnlyFormHasNothingToChange()
    {
        FormFillDialog dialog(QJsonArray{entry(0, 7, "imza"), entry(1, 7, "imza2")}, record(m_warnings),
                              record(m_informations));
        QVERIFY(!dialog.fieldWidget(0)->isEnabled() && !dialog.fieldWidget(1)->isEnabled());
        dialog.applyButton()->click();
        QVERIFY(!dialog.request());
        QCOMPARE(m_informations.size(), 1);
        QCOMPARE(m_informations.first().text, kNothingChanged);
    }

    void flowWithoutFormTellsTheUser()
    {
        const QString path = m_sources.filePath(QStringLiteral("duz.pdf"));
        QVERIFY(writePdf(path));
        const PdfDocumentPtr document = openPdfDocument(path, QString(), nullptr).document;
        QVERIFY(document);
        EditPrompts prompts;
        prompts.warning = record(m_warnings);
        prompts.information = record(m_informations);
        bool ran = false;
        const auto request = fillFormDialog(nullptr, document, prompts, [&](FormFillDialog&) {
            ran = true;
            return int(QDialog::Rejected);
        });
        QVERIFY(!request && !ran);
        QCOMPARE(m_informations.size(), 1);
        QCOMPARE(m_informations.first().text,
                 QString::fromUtf8("Belgede standart doldurulabilir form alanı bulunamadı."));
    }

    void flowFillsTheRealForm()
    {
        PdfFormSpec spec;
        PdfFormField name;
        name.type = "/Tx";
        name.name = "ad";
        name.entries = "/V (Ali) /DA (/Helv 12 Tf 0 g)";
        spec.fields = {name};
        const QString path = m_sources.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(path, spec));
        const PdfDocumentPtr document = openPdfDocument(path, QString(), nullptr).document;
        QVERIFY(document);
        EditPrompts prompts;
        prompts.warning = record(m_warnings);
        const auto request = fillFormDialog(nullptr, document, prompts, [](FormFillDialog& dialog) {
            qobject_cast<QLineEdit*>(dialog.fieldWidget(0))->setText(QString::fromUtf8("Ayşe"));
            dialog.applyButton()->click();
            return dialog.result();
        });
        QVERIFY2(request, m_warnings.isEmpty() ? "" : qPrintable(m_warnings.first().text));
        QCOMPARE(request->value("updates").toArray(), (QJsonArray{change(0, "value", QString::fromUtf8("Ayşe"))}));
        const QString destination = m_sources.filePath(QStringLiteral("dolu.pdf"));
        const ExportResult result = applyEdit(document, *request, destination);
        QVERIFY2(result.ok, qPrintable(result.message));
        const PdfDocumentPtr filled = openPdfDocument(destination, QString(), nullptr).document;
        QVERIFY(filled);
        bool shown = false;
        fillFormDialog(nullptr, filled, prompts, [&](FormFillDialog& dialog) {
            shown = qobject_cast<QLineEdit*>(dialog.fieldWidget(0))->text() == QString::fromUtf8("Ayşe");
            return int(QDialog::Rejected);
        });
        QVERIFY(shown);
    }
};

QTEST_MAIN(FormFillDialogTest)
#include "FormFillDialogTest.moc"
