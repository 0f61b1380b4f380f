// "notes" through its contract: the listed notes round trip; a list, a
// note, a page or a text of the wrong kind or beyond its bound is refused.

#include "worker/contract/operations/NotesContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

QJsonObject listOf(const QJsonArray& notes)
{
    return QJsonObject{{"ok", true}, {"notes", notes}};
}

QJsonArray repeated(const QJsonObject& note, int count)
{
    QJsonArray notes;
    for (int i = 0; i < count; ++i)
        notes.append(note);
    return notes;
}

} // namespace

class NotesContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        NotesReply reply;
        reply.notes = {{0, QStringLiteral("İlk not")}, {2, QString()}, {2, QString(10000, QLatin1Char('n'))}};
        const std::optional<NotesReply> read = NotesReply::fromJson(reply.toJson(), 3);
        QVERIFY(read);
        QCOMPARE(read->notes, reply.notes);
        QCOMPARE(NotesRequest{QStringLiteral("/tmp/a.pdf")}.toJson().value("operation").toString(),
                 QStringLiteral("notes"));
    }

    void replies_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("count");

        const QJsonObject note{{"page", 0}, {"text", "a"}};
        QTest::newRow("no list") << QJsonObject{{"ok", true}} << true << 0;
        QTest::newRow("empty list") << listOf({}) << true << 0;
        QTest::newRow("1000 notes") << listOf(repeated(note, 1000)) << true << 1000;
        QTest::newRow("1001 notes") << listOf(repeated(note, 1001)) << false << 0;
        QTest::newRow("list a string") << QJsonObject{{"notes", "a"}} << false << 0;
        QTest::newRow("note not an object") << listOf({1}) << false << 0;
        QTest::newRow("page beyond the document") << listOf({QJsonObject{{"page", 3}, {"text", "a"}}}) << false << 0;
        QTest::newRow("page negative") << listOf({QJsonObject{{"page", -1}, {"text", "a"}}}) << false << 0;
        QTest::newRow("page fraction") << listOf({QJsonObject{{"page", 0.5}, {"text", "a"}}}) << false << 0;
        QTest::newRow("page missing") << listOf({QJsonObject{{"text", "a"}}}) << false << 0;
        QTest::newRow("text a number") << listOf({QJsonObject{{"page", 0}, {"text", 1}}}) << false << 0;
        QTest::newRow("text 10001 units")
            << listOf({QJsonObject{{"page", 0}, {"text", QString(10001, QLatin1Char('n'))}}}) << false << 0;
    }

    void replies()
    {
        QFETCH(QJsonObject, json);
        QFETCH(bool, accepted);
        QFETCH(int, count);
        const std::optional<NotesReply> read = NotesReply::fromJson(json, 3);
        QCOMPARE(read.has_value(), accepted);
        if (accepted)
            QCOMPARE(read->notes.size(), count);
    }
};

QTEST_GUILESS_MAIN(NotesContractTest)
#include "NotesContractTest.moc"
