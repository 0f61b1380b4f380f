// The one protection rule: what the worker read decides signed, encrypted
// and has-a-form, and what each kind of change is allowed; the facts cross
// the boundary as booleans or not at all.

#include "worker/contract/operations/DocumentProtection.h"

#include <QTest>

using namespace velk;

Q_DECLARE_METATYPE(velk::DocumentProtection)

class DocumentProtectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rule_data()
    {
        QTest::addColumn<int>("signedFields");
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("formType");
        QTest::addColumn<DocumentProtection>("expected");
        QTest::addColumn<bool>("contentEdits");
        QTest::addColumn<bool>("formFill");

        QTest::newRow("plain") << 0 << -1 << 0 << DocumentProtection{false, false, false} << true << true;
        QTest::newRow("form, empty signature field")
            << 0 << -1 << 1 << DocumentProtection{false, false, true} << false << true;
        QTest::newRow("one signed field") << 1 << -1 << 1 << DocumentProtection{true, false, true} << false << false;
        QTest::newRow("two signed fields") << 2 << -1 << 1 << DocumentProtection{true, false, true} << false << false;
        QTest::newRow("unreadable signatures")
            << -1 << -1 << 0 << DocumentProtection{true, false, false} << false << false;
        QTest::newRow("encrypted, revision 2") << 0 << 2 << 0 << DocumentProtection{false, true, false} << false << false;
        QTest::newRow("encrypted form") << 0 << 4 << 1 << DocumentProtection{false, true, true} << false << false;
        QTest::newRow("XFA form") << 0 << -1 << 2 << DocumentProtection{false, false, true} << false << true;
    }

    void rule()
    {
        QFETCH(int, signedFields);
        QFETCH(int, revision);
        QFETCH(int, formType);
        QFETCH(DocumentProtection, expected);
        QFETCH(bool, contentEdits);
        QFETCH(bool, formFill);
        const DocumentProtection decided = DocumentProtection::decide(signedFields, revision, formType);
        QVERIFY(decided == expected);
        QCOMPARE(decided.allowsContentEdits(), contentEdits);
        QCOMPARE(decided.allowsFormFill(), formFill);

        QJsonObject json;
        decided.writeTo(json);
        const std::optional<DocumentProtection> read = DocumentProtection::fromJson(json);
        QVERIFY(read);
        QVERIFY(*read == decided);
    }

    void wire_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<DocumentProtection>("expected");

        QTest::newRow("all absent") << QJsonObject{} << true << DocumentProtection{};
        QTest::newRow("all true") << QJsonObject{{"signed", true}, {"encrypted", true}, {"hasForm", true}} << true
                                  << DocumentProtection{true, true, true};
        QTest::newRow("signed as number") << QJsonObject{{"signed", 1}} << false << DocumentProtection{};
        QTest::newRow("encrypted as string") << QJsonObject{{"encrypted", "true"}} << false << DocumentProtection{};
        QTest::newRow("form as null") << QJsonObject{{"hasForm", QJsonValue()}} << false << DocumentProtection{};
    }

    void wire()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QFETCH(DocumentProtection, expected);
        const std::optional<DocumentProtection> read = DocumentProtection::fromJson(json);
        QCOMPARE(read.has_value(), accepted);
        if (accepted)
            QVERIFY(*read == expected);
    }
};

QTEST_GUILESS_MAIN(DocumentProtectionTest)
#include "DocumentProtectionTest.moc"
