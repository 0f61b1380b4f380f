// "fillFields": the sample form filled through the real worker in the real
// sandbox and read back through "fields" on the output; the refusals
// through the dispatcher in-process, each leaving no output behind.

#include "common/EngineLibrary.h"
#include "workers/pdf/edit/EditRun.h"
#include "FormFixture.h"
#include "RequestDispatcher.h"
#include "support/TestPaths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kTurkish = QString::fromUtf8("Çağrı İşık ğüşıöç ĞİŞ");
const QJsonObject kSuccess{{"ok", true}};

const QString kListRefused = QString::fromUtf8("İmzalı/şifreli form veya form değişiklik listesi desteklenmiyor.");
const QString kRepeatOrReadOnly = QString::fromUtf8("Tekrarlanan veya salt okunur form alanı değiştirilemez.");
const QString kNotFound = QString::fromUtf8("Bazı form alanları bulunamadı; çıktı kaydedilmedi.");
const QString kBadSelection = QString::fromUtf8("Form seçenek isteği geçersiz.");
const QString kOutOfRange = QString::fromUtf8("Form seçeneği sınır dışında.");
const QString kTooLong = QString::fromUtf8("Form metni tam kaydedilemedi; alanın karakter sınırını kontrol edin.");
const QString kNotFillable =
    QString::fromUtf8("Bu alan türü doldurulamıyor; imza için E-imza menüsünü kullanın.");

QJsonArray ints(const QList<double>& values)
{
    QJsonArray result;
    for (const double value : values)
        result.append(value);
    return result;
}

QJsonArray sameValueEverywhere(int count)
{
    QJsonArray updates;
    for (int i = 0; i < count; ++i)
        updates.append(update(i, "value", QStringLiteral("d%1").arg(i)));
    return updates;
}

// The lines of a text, whichever way its breaks are spelled.
QStringList linesOf(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

// One multi-line text field "notlar" holding at most five characters.
PdfFormSpec shortMultiLineField()
{
    PdfFormField notes;
    notes.type = "/Tx";
    notes.name = "notlar";
    notes.flags = 4096;
    notes.entries = "/MaxLen 5 /DA (/Helv 10 Tf 0 g)";
    PdfFormSpec spec;
    spec.fields = {notes};
    return spec;
}

} // namespace

class FieldFillingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_form;
    int m_outputs = 0;

    QString freshOutput() { return m_dir.filePath(QStringLiteral("out%1.pdf").arg(++m_outputs)); }

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
        QVERIFY(m_dir.isValid());
        m_form = m_dir.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(m_form, sampleForm()));
    }

    void filledValuesReadBackExactly()
    {
        const QString output = freshOutput();
        const QJsonArray updates{update(kName, "value", kTurkish),
                                 update(kAddress, "value", QString::fromUtf8("Birinci satır, İkinci satır")),
                                 update(kPassword, "value", QStringLiteral("yeni")),
                                 update(kCode, "value", QStringLiteral("12345")),
                                 update(kConsent, "checked", true),
                                 update(kSubscribed, "checked", true),
                                 update(kSecondRadio, "checked", true),
                                 update(kCity, "selection", ints({2})),
                                 update(kLanguages, "selection", ints({0, 2})),
                                 update(kColour, "selection", ints({0}))};
        const QJsonObject filled = withoutIsolation(runEditSandboxed(fillRequest(m_form, output, updates)).json);
        QCOMPARE(filled, kSuccess);
        QVERIFY(qpdfAccepts(output));

        const QJsonObject listed =
            withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("fields"), output, {})).json);
        QCOMPARE(entryAt(listed, 0, kName).value("value").toString(), kTurkish);
        QCOMPARE(entryAt(listed, 0, kAddress).value("value").toString(),
                 QString::fromUtf8("Birinci satır, İkinci satır"));
        QCOMPARE(entryAt(listed, 0, kCode).value("value").toString(), QStringLiteral("12345"));
        QVERIFY(entryAt(listed, 0, kConsent).value("checked").toBool());
        QVERIFY(entryAt(listed, 0, kSubscribed).value("checked").toBool());
        QVERIFY(!entryAt(listed, 0, kFirstRadio).value("checked").toBool());
        QVERIFY(entryAt(listed, 0, kSecondRadio).value("checked").toBool());
        QCOMPARE(entryAt(listed, 0, kCity).value("value").toString(), QStringLiteral("Izmir"));
        const QJsonArray languages = entryAt(listed, 0, kLanguages).value("options").toArray();
        QCOMPARE(languages.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(languages.at(i).toObject().value("selected").toBool(), i == 0 || i == 2);
        QCOMPARE(entryAt(listed, 0, kColour).value("value").toString(), QStringLiteral("Kirmizi"));
        // Untouched fields keep their values.
        QCOMPARE(entryAt(listed, 0, kFixed).value("value").toString(), QStringLiteral("Degismez"));
    }

    void multiLineTextKeepsItsLines_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("lines");
        const QString first = QString::fromUtf8("Birinci satır");
        const QString second = QString::fromUtf8("İkinci satır");
        QTest::newRow("line feed") << first + "\n" + second << QStringList{first, second};
        QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringList{"a", "b"};
        QTest::newRow("carriage return, line feed") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("three lines, mixed breaks") << QStringLiteral("a\nb\r\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("trailing break") << QStringLiteral("a\n") << QStringList{"a", ""};
        QTest::newRow("blank line in the middle") << QStringLiteral("a\n\nb") << QStringList{"a", "", "b"};
    }

    void multiLineTextKeepsItsLines()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, lines);
        const QString output = freshOutput();
        const QJsonObject filled = withoutIsolation(
            runEditSandboxed(fillRequest(m_form, output, {update(kAddress, "value", value)})).json);
        QCOMPARE(filled, kSuccess);
        const QJsonObject listed =
            withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("fields"), output, {})).json);
        QCOMPARE(linesOf(entryAt(listed, 0, kAddress).value("value").toString()), lines);
    }

    void multiLineTextLongerThanItsMaximumRefused_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("six characters for five") << QStringLiteral("abcdef");
        QTest::newRow("two lines, seven characters") << QStringLiteral("abc\ndef");
    }

    void multiLineTextLongerThanItsMaximumRefused()
    {
        QFETCH(QString, value);
        const QString path = m_dir.filePath(QStringLiteral("short-notes.pdf"));
        QVERIFY(writeFormPdf(path, shortMultiLineField()));
        const QString output = freshOutput();
        QCOMPARE(dispatchRequest(fillRequest(path, output, {update(0, "value", value)})), refusal(kTooLong));
        QVERIFY(!QFileInfo::exists(output));
    }

    void refusals_data()
    {
        QTest::addColumn<QJsonArray>("updates");
        QTest::addColumn<QString>("error");
        QTest::newRow("no updates") << QJsonArray() << kListRefused;
        QTest::newRow("513 updates") << sameValueEverywhere(513) << kListRefused;
        QTest::newRow("repeated widget, same value")
            << QJsonArray{update(kName, "value", "a"), update(kName, "value", "a")} << kRepeatOrReadOnly;
        QTest::newRow("read-only") << QJsonArray{update(kFixed, "value", "a")} << kRepeatOrReadOnly;
        QTest::newRow("missing annotation") << QJsonArray{update(99, "value", "a")} << kNotFound;
        QTest::newRow("missing page") << QJsonArray{update(kName, "value", "a", 5)} << kNotFound;
        QTest::newRow("one of two missing")
            << QJsonArray{update(kName, "value", "a"), update(kName, "value", "a", 1)} << kNotFound;
        QTest::newRow("text not a string")
            << QJsonArray{update(kName, "value", 5)} << QString::fromUtf8("Form metni geçersiz.");
        QTest::newRow("text with U+0000") << QJsonArray{update(kName, "value", QString(QChar(0)))}
                                          << QString::fromUtf8("Form metin alanı düzenlenemedi.");
        QTest::newRow("text of 10001 units") << QJsonArray{update(kAddress, "value", QString(10001, 'a'))}
                                             << QString::fromUtf8("Form metin alanı düzenlenemedi.");
        QTest::newRow("six characters for five") << QJsonArray{update(kCode, "value", "123456")} << kTooLong;
        // A one-line field drops a line break: a loss like a truncation.
        QTest::newRow("line feed in a one-line field") << QJsonArray{update(kName, "value", "a\nb")} << kTooLong;
        QTest::newRow("carriage return, line feed in a one-line field")
            << QJsonArray{update(kName, "value", "a\r\nb")} << kTooLong;
        QTest::newRow("checked not a bool")
            << QJsonArray{update(kConsent, "checked", 1)} << QString::fromUtf8("Form seçim değeri geçersiz.");
        QTest::newRow("radio set to false") << QJsonArray{update(kFirstRadio, "checked", false)}
                                            << QString::fromUtf8("Radyo alanında yalnız seçilecek düğmeyi değiştirin.");
        QTest::newRow("selection not an array") << QJsonArray{update(kCity, "selection", 1)} << kBadSelection;
        QTest::newRow("empty combo selection") << QJsonArray{update(kCity, "selection", ints({}))} << kBadSelection;
        QTest::newRow("two for a combo") << QJsonArray{update(kCity, "selection", ints({0, 1}))} << kBadSelection;
        QTest::newRow("two without multi-select")
            << QJsonArray{update(kColour, "selection", ints({0, 2}))} << kBadSelection;
        QTest::newRow("more entries than options")
            << QJsonArray{update(kLanguages, "selection", ints({0, 1, 2, 3, 0}))} << kBadSelection;
        QTest::newRow("repeated index") << QJsonArray{update(kLanguages, "selection", ints({1, 1}))} << kOutOfRange;
        QTest::newRow("fraction") << QJsonArray{update(kLanguages, "selection", ints({1.5}))} << kOutOfRange;
        QTest::newRow("index past the end") << QJsonArray{update(kColour, "selection", ints({3}))} << kOutOfRange;
        QTest::newRow("negative index") << QJsonArray{update(kColour, "selection", ints({-1}))} << kOutOfRange;
        QTest::newRow("index as string")
            << QJsonArray{update(kColour, "selection", QJsonArray{"1"})} << kOutOfRange;
        QTest::newRow("push button") << QJsonArray{update(kSend, "checked", true)} << kNotFillable;
        QTest::newRow("signature") << QJsonArray{update(kSignature, "value", "a")} << kNotFillable;
    }

    void refusals()
    {
        QFETCH(QJsonArray, updates);
        QFETCH(QString, error);
        const QString output = freshOutput();
        QCOMPARE(dispatchRequest(fillRequest(m_form, output, updates)), refusal(error));
        QVERIFY(!QFileInfo::exists(output));
    }

    void acceptedEdges_data()
    {
        QTest::addColumn<QJsonArray>("updates");
        QTest::newRow("check box already on") << QJsonArray{update(kSubscribed, "checked", true)};
        QTest::newRow("radio already on") << QJsonArray{update(kFirstRadio, "checked", true)};
        QTest::newRow("check box off") << QJsonArray{update(kSubscribed, "checked", false)};
        QTest::newRow("multi-select [0, 2]") << QJsonArray{update(kLanguages, "selection", ints({0, 2}))};
        QTest::newRow("multi-select emptied") << QJsonArray{update(kLanguages, "selection", ints({}))};
        QTest::newRow("text cleared") << QJsonArray{update(kName, "value", "")};
        QTest::newRow("five characters for five") << QJsonArray{update(kCode, "value", "abcde")};
    }

    void acceptedEdges()
    {
        QFETCH(QJsonArray, updates);
        const QString output = freshOutput();
        QCOMPARE(dispatchRequest(fillRequest(m_form, output, updates)), kSuccess);
        QVERIFY(QFileInfo::exists(output));
    }

    void fiveHundredTwelveUpdatesAccepted()
    {
        const QString path = m_dir.filePath(QStringLiteral("512.pdf"));
        QVERIFY(writeFormPdf(path, textFields(512)));
        const QString output = freshOutput();
        QCOMPARE(dispatchRequest(fillRequest(path, output, sameValueEverywhere(512))), kSuccess);
        const QJsonObject listed = dispatchRequest(editRequest(QStringLiteral("fields"), output, {}));
        QCOMPARE(entryAt(listed, 0, 511).value("value").toString(), QStringLiteral("d511"));
    }

    void signedFormRefused()
    {
        PdfFixtureSpec spec;
        spec.formFieldName = "ad";
        spec.formFieldValue = "Ali";
        spec.signatureFields = 1;
        const QString path = m_dir.filePath(QStringLiteral("signed.pdf"));
        QVERIFY(writePdf(path, spec));
        const QString output = freshOutput();
        QCOMPARE(dispatchRequest(fillRequest(path, output, {update(0, "value", "Veli")})), refusal(kListRefused));
        QVERIFY(!QFileInfo::exists(output));
    }

    void encryptedFormRefused()
    {
        const QString encrypted = m_dir.filePath(QStringLiteral("encrypted.pdf"));
        QVERIFY(writeEncryptedCopy(m_form, encrypted, {}, QStringLiteral("sahip")));
        const QString output = freshOutput();
        QCOMPARE(dispatchRequest(fillRequest(encrypted, output, {update(kName, "value", "Veli")})),
                 refusal(kListRefused));
        QVERIFY(!QFileInfo::exists(output));
    }
};

QTEST_GUILESS_MAIN(FieldFillingTest)
#include "FieldFillingTest.moc"
