// The "prepareSignature" and "appendDss" requests: what the client writes
// reads back unchanged, optional fields take their defaults, and fields of
// the wrong type, out of range or too long are refused.

#include "worker/contract/operations/SignaturePreparationContract.h"

#include <QJsonArray>
#include <QTest>

Q_DECLARE_METATYPE(velk::PrepareSignatureRequest)

using namespace velk;

namespace {

const QString kVri = QStringLiteral("0123456789ABCDEF0123456789ABCDEF01234567");

QJsonObject prepareBase()
{
    return QJsonObject{{"operation", "prepareSignature"}, {"path", "/tmp/a.pdf"}, {"output", "/tmp/b.pdf"}};
}

QJsonObject dssBase()
{
    return QJsonObject{{"operation", "appendDss"}, {"path", "/tmp/a.pdf"}, {"output", "/tmp/b.pdf"}, {"vri", kVri}};
}

QJsonObject with(QJsonObject json, const QString& key, const QJsonValue& value)
{
    json.insert(key, value);
    return json;
}

QJsonObject without(QJsonObject json, const QString& key)
{
    json.remove(key);
    return json;
}

QJsonObject withSources(const QJsonArray& sources)
{
    return with(dssBase(), "sources", sources);
}

QJsonObject source(const QJsonValue& kind, const QJsonValue& path = "/tmp/c.der")
{
    QJsonObject entry{{"kind", kind}};
    if (!path.isUndefined())
        entry.insert("path", path);
    return entry;
}

} // namespace

class SignaturePreparationContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void prepareRoundTrip_data()
    {
        QTest::addColumn<PrepareSignatureRequest>("request");
        QTest::newRow("visible seal") << PrepareSignatureRequest{"/tmp/a.pdf", "/tmp/b.pdf", 0, true, false,
                                                                 "Onay", "Ayşe Yılmaz"};
        QTest::newRow("document time stamp")
            << PrepareSignatureRequest{"/tmp/a.pdf", "/tmp/b.pdf", 3, false, true, {}, {}};
        QTest::newRow("no page") << PrepareSignatureRequest{"/tmp/a.pdf", "/tmp/b.pdf", -1, false, false, {}, {}};
        QTest::newRow("text at the limit")
            << PrepareSignatureRequest{"/a", "/b", 0, false, false, QString(1 << 20, 'r'), QString(1 << 20, 's')};
    }

    void prepareRoundTrip()
    {
        QFETCH(PrepareSignatureRequest, request);
        const QJsonObject json = request.toJson();
        QCOMPARE(json.value("operation").toString(), QStringLiteral("prepareSignature"));
        QCOMPARE(PrepareSignatureRequest::fromJson(json), std::optional(request));
    }

    void prepareDefaults()
    {
        const auto request = PrepareSignatureRequest::fromJson(prepareBase());
        QVERIFY(request);
        QCOMPARE(*request, (PrepareSignatureRequest{"/tmp/a.pdf", "/tmp/b.pdf", -1, false, false, {}, {}}));
    }

    void prepareRefusals_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::newRow("path missing") << without(prepareBase(), "path");
        QTest::newRow("output missing") << without(prepareBase(), "output");
        QTest::newRow("path a number") << with(prepareBase(), "path", 1);
        QTest::newRow("path too long") << with(prepareBase(), "path", QString(32768, 'p'));
        QTest::newRow("page a fraction") << with(prepareBase(), "page", 0.5);
        QTest::newRow("page a string") << with(prepareBase(), "page", "0");
        QTest::newRow("page beyond int") << with(prepareBase(), "page", 2147483648.0);
        QTest::newRow("page below int") << with(prepareBase(), "page", -2147483649.0);
        QTest::newRow("page null") << with(prepareBase(), "page", QJsonValue::Null);
        QTest::newRow("visible a number") << with(prepareBase(), "visible", 1);
        QTest::newRow("time stamp a string") << with(prepareBase(), "documentTimestamp", "true");
        QTest::newRow("reason a number") << with(prepareBase(), "reason", 5);
        QTest::newRow("signer too long") << with(prepareBase(), "signer", QString((1 << 20) + 1, 's'));
    }

    void prepareRefusals()
    {
        QFETCH(QJsonObject, json);
        QVERIFY(!PrepareSignatureRequest::fromJson(json));
    }

    void dssRoundTrip()
    {
        const AppendDssRequest request{"/tmp/a.pdf",
                                       "/tmp/b.pdf",
                                       kVri,
                                       true,
                                       {{"Certs", "/tmp/c.der", true},
                                        {"OCSPs", "/tmp/o.der", true},
                                        {"CRLs", "/tmp/r.der", false}}};
        const QJsonObject json = request.toJson();
        QCOMPARE(json.value("operation").toString(), QStringLiteral("appendDss"));
        QCOMPARE(AppendDssRequest::fromJson(json), std::optional(request));
    }

    void dssDefaults()
    {
        const QJsonArray sources{source("Certs"), source("Other", QJsonValue::Undefined), source("certs")};
        const auto request = AppendDssRequest::fromJson(withSources(sources));
        QVERIFY(request);
        QCOMPARE(request->documentTimestamp, false);
        // Kinds other than the three exact names are left out, with or
        // without a path.
        QCOMPARE(request->sources, (QList<DssSourceFile>{{"Certs", "/tmp/c.der", true}}));
        const auto bare = AppendDssRequest::fromJson(dssBase());
        QVERIFY(bare && bare->sources.isEmpty());
    }

    void dssRefusals_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QJsonArray tooMany;
        for (int i = 0; i < 1025; ++i)
            tooMany.append(source("Certs"));
        QTest::newRow("path missing") << without(dssBase(), "path");
        QTest::newRow("output a number") << with(dssBase(), "output", 7);
        QTest::newRow("vri missing") << without(dssBase(), "vri");
        QTest::newRow("vri lower case") << with(dssBase(), "vri", kVri.toLower());
        QTest::newRow("vri of 39 digits") << with(dssBase(), "vri", kVri.left(39));
        QTest::newRow("vri of 41 digits") << with(dssBase(), "vri", QString(kVri + "0"));
        QTest::newRow("vri not hex") << with(dssBase(), "vri", QString(40, 'G'));
        QTest::newRow("time stamp a number") << with(dssBase(), "documentTimestamp", 0);
        QTest::newRow("sources not a list") << with(dssBase(), "sources", "x");
        QTest::newRow("1025 sources") << withSources(tooMany);
        QTest::newRow("source not an object") << withSources({1});
        QTest::newRow("source without kind") << withSources({QJsonObject{{"path", "/tmp/c.der"}}});
        QTest::newRow("kind a number") << withSources({source(3)});
        QTest::newRow("known kind without path") << withSources({source("OCSPs", QJsonValue::Undefined)});
        QTest::newRow("path a number") << withSources({source("CRLs", 5)});
        QTest::newRow("vri flag a string")
            << withSources({QJsonObject{{"kind", "Certs"}, {"path", "/tmp/c.der"}, {"vri", "no"}}});
        QTest::newRow("ignored kind, bad flag")
            << withSources({QJsonObject{{"kind", "Other"}, {"vri", 1}}});
    }

    void dssRefusals()
    {
        QFETCH(QJsonObject, json);
        QVERIFY(!AppendDssRequest::fromJson(json));
    }
};

QTEST_GUILESS_MAIN(SignaturePreparationContractTest)
#include "SignaturePreparationContractTest.moc"
