// The "signatures" reply as verification reads it: the list itself is
// strict (missing, oversized or holding a non-object fails), each entry is
// lenient (a malformed range, filter or Contents is kept as unusable, so
// verification reports it with its own sentence); and the policy request's
// fields.

#include "worker/contract/operations/SignatureListContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

class SignatureListContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void list_data()
    {
        QTest::addColumn<QJsonObject>("reply");
        QTest::addColumn<int>("entries");
        const QJsonObject entry{{"range", QJsonArray{0, 10, 20, 5}},
                                {"filter", "ETSI.CAdES.detached"},
                                {"cms", "MAE="},
                                {"time", "D:20240131123456Z"}};
        QJsonArray full;
        for (int i = 0; i < 64; ++i)
            full.append(entry);
        QJsonArray tooMany = full;
        tooMany.append(entry);
        QTest::newRow("empty list") << QJsonObject{{"signatures", QJsonArray()}} << 0;
        QTest::newRow("one") << QJsonObject{{"signatures", QJsonArray{entry}}} << 1;
        QTest::newRow("64") << QJsonObject{{"signatures", full}} << 64;
        QTest::newRow("65") << QJsonObject{{"signatures", tooMany}} << -1;
        QTest::newRow("missing") << QJsonObject{{"ok", true}} << -1;
        QTest::newRow("not a list") << QJsonObject{{"signatures", "x"}} << -1;
        QTest::newRow("entry not an object") << QJsonObject{{"signatures", QJsonArray{1}}} << -1;
    }

    void list()
    {
        QFETCH(QJsonObject, reply);
        QFETCH(int, entries);
        const std::optional<SignaturesReply> read = SignaturesReply::fromJson(reply);
        QCOMPARE(read ? int(read->signatures.size()) : -1, entries);
    }

    void entry_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<QList<qint64>>("range");
        QTest::addColumn<bool>("hasContents");
        QTest::addColumn<QString>("filter");
        const QJsonArray range{0, 10, 20, 5};
        QTest::newRow("complete") << QJsonObject{{"range", range}, {"filter", "ETSI.RFC3161"}, {"cms", "MAE="}}
                                  << QList<qint64>{0, 10, 20, 5} << true << "ETSI.RFC3161";
        QTest::newRow("three range entries") << QJsonObject{{"range", QJsonArray{0, 10, 20}}, {"cms", "MAE="}}
                                             << QList<qint64>{} << true << "";
        QTest::newRow("fractional range") << QJsonObject{{"range", QJsonArray{0, 10.5, 20, 5}}}
                                          << QList<qint64>{} << false << "";
        QTest::newRow("text in range") << QJsonObject{{"range", QJsonArray{0, "10", 20, 5}}} << QList<qint64>{}
                                       << false << "";
        QTest::newRow("negative kept for the range check")
            << QJsonObject{{"range", QJsonArray{0, -1, 20, 5}}} << QList<qint64>{0, -1, 20, 5} << false << "";
        QTest::newRow("Contents not Base64") << QJsonObject{{"range", range}, {"cms", "MAE"}}
                                             << QList<qint64>{0, 10, 20, 5} << false << "";
        QTest::newRow("Contents above 65,536 bytes")
            << QJsonObject{{"range", range}, {"cms", QString::fromLatin1(QByteArray(65537, 'a').toBase64())}}
            << QList<qint64>{0, 10, 20, 5} << false << "";
        QTest::newRow("filter not text") << QJsonObject{{"range", range}, {"filter", 3}}
                                         << QList<qint64>{0, 10, 20, 5} << false << "";
    }

    void entry()
    {
        QFETCH(QJsonObject, json);
        QFETCH(QList<qint64>, range);
        QFETCH(bool, hasContents);
        QFETCH(QString, filter);
        const std::optional<SignaturesReply> read =
            SignaturesReply::fromJson(QJsonObject{{"signatures", QJsonArray{json}}});
        QVERIFY(read && read->signatures.size() == 1);
        const SignatureEntry& entry = read->signatures.constFirst();
        QCOMPARE(entry.range, range);
        QCOMPARE(entry.cms.has_value(), hasContents);
        QCOMPARE(entry.filter, filter);
    }

    void policyRequest()
    {
        QCOMPARE(SignaturePolicyRequest({"/tmp/a.pdf", true, true}).toJson(),
                 (QJsonObject{{"operation", "signaturePolicy"}, {"path", "/tmp/a.pdf"}, {"snapshot", true},
                              {"evidence", true}}));
        QCOMPARE(SignaturePolicyRequest({"/tmp/a.pdf", false, false}).toJson(),
                 (QJsonObject{{"operation", "signaturePolicy"}, {"path", "/tmp/a.pdf"}}));
        QCOMPARE(SignaturesRequest{"/tmp/a.pdf"}.toJson(),
                 (QJsonObject{{"operation", "signatures"}, {"path", "/tmp/a.pdf"}}));
    }
};

QTEST_GUILESS_MAIN(SignatureListContractTest)
#include "SignatureListContractTest.moc"
