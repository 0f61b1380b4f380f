// "fields" and "fillFields" through their contract: a listing and a fill
// request round trip; a listed entry of the wrong kind is skipped; an
// update reads what it can and leaves the rest for the worker to refuse in
// its own words; the update list is bounded.

#include "worker/contract/operations/FormsContract.h"

#include "support/JsonEdits.h"

#include <QTest>

using namespace velk;

namespace {

QJsonObject entry(const QJsonObject& more = {})
{
    QJsonObject json{{"page", 0},          {"annotation", 3},      {"type", 6},         {"name", "ad"},
                     {"readOnly", false},  {"password", false},    {"multiline", false}, {"multiSelect", false},
                     {"checked", false},   {"value", "Ali"}};
    for (auto it = more.begin(); it != more.end(); ++it)
        json.insert(it.key(), it.value());
    return json;
}

QJsonObject entryWithout(const QString& key)
{
    return test::with(entry(), key, QJsonValue::Undefined);
}

QJsonArray repeated(const QJsonValue& value, int count)
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(value);
    return list;
}

} // namespace

Q_DECLARE_METATYPE(velk::FieldChange)

class FormsContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listingRoundTrip()
    {
        FormFieldEntry text;
        text.page = 9999;
        text.annotation = 9999;
        text.type = FormFieldType::TextField;
        text.name = QStringLiteral("adres");
        text.multiline = true;
        text.value = QStringLiteral("Satır 1\r\nSatır 2");
        FormFieldEntry secret = text;
        secret.password = true;
        secret.value.reset();
        FormFieldEntry radio;
        radio.type = FormFieldType::RadioButton;
        radio.checked = true;
        radio.exportValue = QStringLiteral("Evet");
        FormFieldEntry list;
        list.type = FormFieldType::ListBox;
        list.multiSelect = true;
        list.readOnly = true;
        list.options = QList<FieldOption>{{QStringLiteral("Bir"), false}, {QStringLiteral("İki"), true}};
        FieldsReply reply;
        reply.fields = {text, secret, radio, list};

        const QJsonObject json = reply.toJson();
        QVERIFY(!json.value("fields").toArray().at(1).toObject().contains("value"));
        QCOMPARE(FieldsReply::fromJson(json).fields, reply.fields);
        QCOMPARE(FieldsRequest{QStringLiteral("/tmp/a.pdf")}.toJson(),
                 (QJsonObject{{"operation", "fields"}, {"path", "/tmp/a.pdf"}}));
    }

    void listedEntries_data()
    {
        QTest::addColumn<QJsonValue>("json");
        QTest::addColumn<bool>("kept");

        QTest::newRow("good") << QJsonValue(entry()) << true;
        QTest::newRow("signature") << QJsonValue(entry({{"type", 7}})) << true;
        QTest::newRow("not an object") << QJsonValue(1) << false;
        QTest::newRow("type 8") << QJsonValue(entry({{"type", 8}})) << false;
        QTest::newRow("type -1") << QJsonValue(entry({{"type", -1}})) << false;
        QTest::newRow("type fraction") << QJsonValue(entry({{"type", 6.5}})) << false;
        QTest::newRow("page 10000") << QJsonValue(entry({{"page", 10000}})) << false;
        QTest::newRow("annotation 10000") << QJsonValue(entry({{"annotation", 10000}})) << false;
        QTest::newRow("annotation a string") << QJsonValue(entry({{"annotation", "3"}})) << false;
        QTest::newRow("page missing") << QJsonValue(entryWithout("page")) << false;
        QTest::newRow("flag a number") << QJsonValue(entry({{"readOnly", 0}})) << false;
        QTest::newRow("flag missing") << QJsonValue(entryWithout("checked")) << false;
        QTest::newRow("value a number") << QJsonValue(entry({{"value", 5}})) << false;
        QTest::newRow("value 10001 units") << QJsonValue(entry({{"value", QString(10001, 'a')}})) << false;
        QTest::newRow("name missing") << QJsonValue(entryWithout("name")) << false;
        QTest::newRow("256 options") << QJsonValue(entry({{"options", repeated(QJsonObject{{"label", "a"}, {"selected", false}}, 256)}}))
                                     << true;
        QTest::newRow("257 options") << QJsonValue(entry({{"options", repeated(QJsonObject{{"label", "a"}, {"selected", false}}, 257)}}))
                                     << false;
        QTest::newRow("option without a state") << QJsonValue(entry({{"options", QJsonArray{QJsonObject{{"label", "a"}}}}}))
                                                << false;
        QTest::newRow("options a string") << QJsonValue(entry({{"options", "a"}})) << false;
    }

    void listedEntries()
    {
        QFETCH(QJsonValue, json);
        QFETCH(bool, kept);
        QCOMPARE(FormFieldEntry::fromJson(json).has_value(), kept);
        const FieldsReply reply = FieldsReply::fromJson(QJsonObject{{"fields", QJsonArray{json, entry()}}});
        QCOMPARE(reply.fields.size(), kept ? 2 : 1);
    }

    void listingCutAtItsLimit()
    {
        const FieldsReply reply = FieldsReply::fromJson(QJsonObject{{"fields", repeated(entry(), 1001)}});
        QCOMPARE(reply.fields.size(), 1000);
        QVERIFY(FieldsReply::fromJson(QJsonObject{{"ok", true}}).fields.isEmpty());
    }

    void fillRoundTrip()
    {
        FieldChange text{0, 3, QStringLiteral("Ayşe"), std::nullopt, std::nullopt};
        FieldChange check{1, 0, std::nullopt, true, std::nullopt};
        FieldChange choice{2, 9999, std::nullopt, std::nullopt, QList<qint64>{0, 255}};
        FillFieldsRequest request;
        request.updates = {text, check, choice};
        const QJsonObject json = request.toJson();
        QCOMPARE(json.value("operation").toString(), QStringLiteral("fillFields"));
        QVERIFY(!json.contains("path") && !json.contains("output"));
        QCOMPARE(json.value("updates").toArray().at(0).toObject(),
                 (QJsonObject{{"page", 0}, {"annotation", 3}, {"value", "Ayşe"}}));
        request.path = QStringLiteral("/tmp/a.pdf");
        request.output = QStringLiteral("/tmp/o.pdf");
        const std::optional<FillFieldsRequest> read = FillFieldsRequest::fromJson(request.toJson());
        QVERIFY(read);
        QCOMPARE(read->updates, request.updates);
        QCOMPARE(read->path, request.path);
        QCOMPARE(read->output, request.output);
    }

    void updateFields_data()
    {
        QTest::addColumn<QJsonValue>("json");
        QTest::addColumn<FieldChange>("change");

        const FieldChange none{0, 3, std::nullopt, std::nullopt, std::nullopt};
        auto changed = [](const FieldChange& base, auto edit) {
            FieldChange result = base;
            edit(result);
            return result;
        };
        QTest::newRow("not an object") << QJsonValue(1) << FieldChange{};
        QTest::newRow("nothing to change") << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}}) << none;
        QTest::newRow("page fraction") << QJsonValue(QJsonObject{{"page", 0.5}, {"annotation", 3}})
                                       << changed(none, [](FieldChange& c) { c.page = -1; });
        QTest::newRow("annotation 10000") << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 10000}})
                                          << changed(none, [](FieldChange& c) { c.annotation = -1; });
        QTest::newRow("value a number") << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}, {"value", 1}})
                                        << none;
        QTest::newRow("value kept whole for the worker's bound")
            << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}, {"value", QString(10001, 'a')}})
            << changed(none, [](FieldChange& c) { c.value = QString(10001, 'a'); });
        QTest::newRow("checked a string") << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}, {"checked", "true"}})
                                          << none;
        QTest::newRow("selection entries that are no index")
            << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}, {"selection", QJsonArray{1, 1.5, "2", -1, 256}}})
            << changed(none, [](FieldChange& c) { c.selection = QList<qint64>{1, -1, -1, -1, -1}; });
        QTest::newRow("selection not a list")
            << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}, {"selection", 1}}) << none;
        QTest::newRow("selection of 257")
            << QJsonValue(QJsonObject{{"page", 0}, {"annotation", 3}, {"selection", repeated(0, 257)}}) << none;
    }

    void updateFields()
    {
        QFETCH(QJsonValue, json);
        QFETCH(FieldChange, change);
        QCOMPARE(FieldChange::fromJson(json), change);
    }

    void updateList_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");

        const QJsonObject update{{"page", 0}, {"annotation", 0}, {"checked", true}};
        QTest::newRow("one") << QJsonObject{{"updates", QJsonArray{update}}} << true;
        QTest::newRow("512") << QJsonObject{{"updates", repeated(update, 512)}} << true;
        QTest::newRow("513") << QJsonObject{{"updates", repeated(update, 513)}} << false;
        QTest::newRow("empty") << QJsonObject{{"updates", QJsonArray()}} << false;
        QTest::newRow("missing") << QJsonObject{} << false;
        QTest::newRow("an object") << QJsonObject{{"updates", update}} << false;
    }

    void updateList()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QCOMPARE(FillFieldsRequest::fromJson(json).has_value(), accepted);
    }
};

QTEST_GUILESS_MAIN(FormsContractTest)
#include "FormsContractTest.moc"
