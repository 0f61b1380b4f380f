// Reading the worker's list of sticky notes, every entry bounded against the
// document, and the text the notes dialog shows.

#include "document/view/NoteListing.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

const QString kInvalid = QStringLiteral("PDF işleyicisi geçersiz yanıt verdi.");

QJsonObject note(const QJsonValue& page, const QJsonValue& text)
{
    return QJsonObject{{"page", page}, {"text", text}};
}

QJsonArray manyNotes(int count)
{
    QJsonArray notes;
    for (int i = 0; i < count; ++i)
        notes.append(note(i % 3, QStringLiteral("not %1").arg(i)));
    return notes;
}

} // namespace

class NoteListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyEntryIsChecked_data()
    {
        QTest::addColumn<QJsonObject>("reply");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("error");
        QTest::newRow("two notes") << QJsonObject{{"notes", QJsonArray{note(0, "a"), note(2, "b")}}} << 2 << QString();
        QTest::newRow("empty text") << QJsonObject{{"notes", QJsonArray{note(1, "")}}} << 1 << QString();
        QTest::newRow("empty list") << QJsonObject{{"notes", QJsonArray{}}} << 0 << QString();
        QTest::newRow("list missing") << QJsonObject{{"ok", true}} << 0 << QString();
        QTest::newRow("1000 notes") << QJsonObject{{"notes", manyNotes(1000)}} << 1000 << QString();
        QTest::newRow("1001 notes") << QJsonObject{{"notes", manyNotes(1001)}} << 0 << kInvalid;
        QTest::newRow("list not an array") << QJsonObject{{"notes", "a"}} << 0 << kInvalid;
        QTest::newRow("entry not an object") << QJsonObject{{"notes", QJsonArray{1}}} << 0 << kInvalid;
        QTest::newRow("page beyond the document") << QJsonObject{{"notes", QJsonArray{note(3, "a")}}} << 0 << kInvalid;
        QTest::newRow("negative page") << QJsonObject{{"notes", QJsonArray{note(-1, "a")}}} << 0 << kInvalid;
        QTest::newRow("fractional page") << QJsonObject{{"notes", QJsonArray{note(0.5, "a")}}} << 0 << kInvalid;
        QTest::newRow("page missing") << QJsonObject{{"notes", QJsonArray{QJsonObject{{"text", "a"}}}}} << 0
                                      << kInvalid;
        QTest::newRow("text missing") << QJsonObject{{"notes", QJsonArray{QJsonObject{{"page", 0}}}}} << 0
                                      << kInvalid;
        QTest::newRow("text not a string") << QJsonObject{{"notes", QJsonArray{note(0, 5)}}} << 0 << kInvalid;
        QTest::newRow("10000 characters") << QJsonObject{{"notes", QJsonArray{note(0, QString(10000, 'x'))}}} << 1
                                          << QString();
        QTest::newRow("10001 characters") << QJsonObject{{"notes", QJsonArray{note(0, QString(10001, 'x'))}}} << 0
                                          << kInvalid;
        QTest::newRow("bad entry after good ones")
            << QJsonObject{{"notes", QJsonArray{note(0, "a"), note(1, "b"), note(9, "c")}}} << 0 << kInvalid;
    }

    void everyEntryIsChecked()
    {
        QFETCH(QJsonObject, reply);
        QFETCH(int, count);
        QFETCH(QString, error);
        QList<PdfNote> notes{PdfNote{0, "left over"}};
        QCOMPARE(readNotes(reply, 3, notes), error);
        QCOMPARE(notes.size(), count);
    }

    void notesKeepTheirOrderAndPages()
    {
        QList<PdfNote> notes;
        const QJsonObject reply{{"notes", QJsonArray{note(2, "son"), note(0, "ilk")}}};
        QCOMPARE(readNotes(reply, 3, notes), QString());
        QCOMPARE(notes.at(0).page, 2);
        QCOMPARE(notes.at(0).text, QStringLiteral("son"));
        QCOMPARE(notes.at(1).page, 0);
        QCOMPARE(notes.at(1).text, QStringLiteral("ilk"));
    }

    void dialogTextSeparatesNotesWithARule_data()
    {
        QTest::addColumn<QList<PdfNote>>("notes");
        QTest::addColumn<QString>("text");
        const QString rule = QStringLiteral("\n\n────────────────────\n\n");
        QTest::newRow("one") << QList<PdfNote>{{0, "Gözden geçir"}} << QStringLiteral("Sayfa 1\nGözden geçir");
        QTest::newRow("two") << QList<PdfNote>{{0, "a"}, {4, "b\nc"}}
                             << QStringLiteral("Sayfa 1\na") + rule + QStringLiteral("Sayfa 5\nb\nc");
        QTest::newRow("empty text") << QList<PdfNote>{{1, ""}} << QStringLiteral("Sayfa 2\n(boş not)");
        QTest::newRow("placeholders kept") << QList<PdfNote>{{0, "%1 %2"}} << QStringLiteral("Sayfa 1\n%1 %2");
    }

    void dialogTextSeparatesNotesWithARule()
    {
        QFETCH(QList<PdfNote>, notes);
        QFETCH(QString, text);
        QCOMPARE(notesDialogText(notes), text);
        QCOMPARE(QStringLiteral("────────────────────").size(), 20);
    }

    void noDocumentNeverReachesTheWorker()
    {
        const WorkerReply reply = listNotes(nullptr, nullptr);
        QCOMPARE(reply.error, QStringLiteral("Belge açık değil."));
        QVERIFY(reply.json.isEmpty());
    }
};

QTEST_APPLESS_MAIN(NoteListTest)
#include "NoteListTest.moc"
