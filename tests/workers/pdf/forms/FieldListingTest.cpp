// "fields": every widget of the sample form with its type, flags, value and
// options through the real worker in the real sandbox; the limits and the
// refused form kinds through the dispatcher in-process.

#include "common/EngineLibrary.h"
#include "workers/pdf/edit/EditRun.h"
#include "FormFixture.h"
#include "RequestDispatcher.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kNotAcroForm =
    QString::fromUtf8("Yalnız standart AcroForm alanları desteklenir; XFA formu desteklenmiyor.");

QJsonArray options(const QList<std::pair<QString, bool>>& list)
{
    QJsonArray result;
    for (const auto& [label, selected] : list)
        result.append(QJsonObject{{"label", label}, {"selected", selected}});
    return result;
}

} // namespace

class FieldListingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QJsonObject m_sample;

    QJsonObject fieldsOf(const QString& name, const PdfFormSpec& spec)
    {
        const QString path = m_dir.filePath(name);
        if (!writeFormPdf(path, spec))
            return {};
        return dispatchRequest(editRequest(QStringLiteral("fields"), path, {}));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(path, sampleForm()));
        m_sample = withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("fields"), path, {})).json);
        QVERIFY2(m_sample.value("ok").toBool(), qPrintable(m_sample.value("error").toString()));
    }

    void documentWithoutFormListsNothing()
    {
        const QString path = m_dir.filePath(QStringLiteral("plain.pdf"));
        QVERIFY(writePdf(path));
        const QJsonObject reply = withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("fields"), path, {})).json);
        QCOMPARE(reply, (QJsonObject{{"ok", true}, {"fields", QJsonArray()}}));
    }

    void listsEveryWidgetInAnnotationOrder()
    {
        const QJsonArray fields = m_sample.value("fields").toArray();
        QCOMPARE(fields.size(), int(kSampleWidgets));
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(fields.at(i).toObject().value("page").toInt(-1), 0);
            QCOMPARE(fields.at(i).toObject().value("annotation").toInt(-1), i);
        }
    }

    void widgetFacts_data()
    {
        QTest::addColumn<int>("annotation");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("password");
        QTest::addColumn<bool>("multiline");
        QTest::addColumn<bool>("multiSelect");
        QTest::addColumn<bool>("checked");
        QTest::newRow("text") << int(kName) << "ad" << 6 << false << false << false << false << false;
        QTest::newRow("multiline") << int(kAddress) << "adres" << 6 << false << false << true << false << false;
        QTest::newRow("password") << int(kPassword) << "parola" << 6 << false << true << false << false << false;
        QTest::newRow("check box off") << int(kConsent) << "onay" << 2 << false << false << false << false << false;
        QTest::newRow("check box on") << int(kSubscribed) << "abone" << 2 << false << false << false << false << true;
        QTest::newRow("radio on") << int(kFirstRadio) << "secim" << 3 << false << false << false << false << true;
        QTest::newRow("radio off") << int(kSecondRadio) << "secim" << 3 << false << false << false << false << false;
        QTest::newRow("combo") << int(kCity) << "sehir" << 4 << false << false << false << false << false;
        QTest::newRow("multi list") << int(kLanguages) << "diller" << 5 << false << false << false << true << false;
        QTest::newRow("single list") << int(kColour) << "renk" << 5 << false << false << false << false << false;
        QTest::newRow("push button") << int(kSend) << "gonder" << 1 << false << false << false << false << false;
        QTest::newRow("signature") << int(kSignature) << "imza" << 7 << false << false << false << false << false;
        QTest::newRow("read-only") << int(kFixed) << "sabit" << 6 << true << false << false << false << false;
    }

    void widgetFacts()
    {
        QFETCH(int, annotation);
        const QJsonObject entry = entryAt(m_sample, 0, annotation);
        QTEST(entry.value("name").toString(), "name");
        QTEST(entry.value("type").toInt(-1), "type");
        QTEST(entry.value("readOnly").toBool(), "readOnly");
        QTEST(entry.value("password").toBool(), "password");
        QTEST(entry.value("multiline").toBool(), "multiline");
        QTEST(entry.value("multiSelect").toBool(), "multiSelect");
        QTEST(entry.value("checked").toBool(), "checked");
    }

    void valuesAndExportValues_data()
    {
        QTest::addColumn<int>("annotation");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QJsonValue>("exportValue");
        const QJsonValue absent(QJsonValue::Undefined);
        QTest::newRow("text") << int(kName) << QJsonValue("Ali") << absent;
        QTest::newRow("empty text") << int(kCode) << QJsonValue("") << absent;
        QTest::newRow("password has no value") << int(kPassword) << absent << absent;
        QTest::newRow("check box") << int(kSubscribed) << QJsonValue("Yes") << QJsonValue("Yes");
        QTest::newRow("second radio") << int(kSecondRadio) << QJsonValue("Bir") << QJsonValue("Iki");
        QTest::newRow("read-only") << int(kFixed) << QJsonValue("Degismez") << absent;
    }

    void valuesAndExportValues()
    {
        QFETCH(int, annotation);
        const QJsonObject entry = entryAt(m_sample, 0, annotation);
        QTEST(entry.value("value"), "value");
        QTEST(entry.value("exportValue"), "exportValue");
    }

    void optionLabelsAndSelectedStates_data()
    {
        QTest::addColumn<int>("annotation");
        QTest::addColumn<QJsonValue>("options");
        QTest::newRow("combo, none selected")
            << int(kCity) << QJsonValue(options({{"Ankara", false}, {"Bursa", false}, {"Izmir", false}}));
        QTest::newRow("multi-select list")
            << int(kLanguages) << QJsonValue(options({{"C", false}, {"D", true}, {"E", false}, {"F", true}}));
        QTest::newRow("single list")
            << int(kColour) << QJsonValue(options({{"Kirmizi", false}, {"Mavi", true}, {"Yesil", false}}));
        QTest::newRow("text field has none") << int(kName) << QJsonValue(QJsonValue::Undefined);
    }

    void optionLabelsAndSelectedStates()
    {
        QFETCH(int, annotation);
        QTEST(entryAt(m_sample, 0, annotation).value("options"), "options");
    }

    void widgetLimit_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("error");
        QTest::newRow("1000 listed") << 1000 << QString();
        QTest::newRow("1001 refused") << 1001 << QString::fromUtf8("Form listesi 1000 alan sınırını aşıyor.");
    }

    void widgetLimit()
    {
        QFETCH(int, count);
        QFETCH(QString, error);
        const QJsonObject reply = fieldsOf(QStringLiteral("many%1.pdf").arg(count), textFields(count));
        QCOMPARE(reply.value("error").toString(), error);
        if (error.isEmpty())
            QCOMPARE(reply.value("fields").toArray().size(), count);
    }

    void xfaRefused_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("fields") << "fields";
        QTest::newRow("fillFields") << "fillFields";
    }

    void xfaRefused()
    {
        QFETCH(QString, operation);
        PdfFormSpec spec = sampleForm();
        spec.xfa = true;
        const QString path = m_dir.filePath(QStringLiteral("xfa-%1.pdf").arg(operation));
        QVERIFY(writeFormPdf(path, spec));
        QJsonObject request = editRequest(operation, path, m_dir.filePath(QStringLiteral("xfa-out.pdf")));
        request.insert("updates", QJsonArray{update(kName, "value", "x")});
        QCOMPARE(dispatchRequest(request), refusal(kNotAcroForm));
    }

    void fillingWithoutFormRefused()
    {
        const QString path = m_dir.filePath(QStringLiteral("plain-fill.pdf"));
        QVERIFY(writePdf(path));
        const QJsonObject request =
            fillRequest(path, m_dir.filePath(QStringLiteral("plain-out.pdf")), {update(0, "value", "x")});
        QCOMPARE(dispatchRequest(request), refusal(kNotAcroForm));
    }
};

QTEST_GUILESS_MAIN(FieldListingTest)
#include "FieldListingTest.moc"
