// "notes" through the real worker in the real sandbox: the "Contents" of
// every sticky note in page order and annotation order, an empty one
// listed as "", other annotations left out, and the 1,000-note limit.

#include "support/PdfFixtures.h"
#include "support/SandboxedRun.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kLimitError = QStringLiteral("Not listesi 1000 kayıt sınırını aşıyor.");

QStringList numberedNotes(int count)
{
    QStringList notes;
    for (int i = 1; i <= count; ++i)
        notes << QStringLiteral("not %1").arg(i);
    return notes;
}

QJsonObject listing(const QList<std::pair<int, QString>>& notes)
{
    QJsonArray array;
    for (const auto& [page, text] : notes)
        array.append(QJsonObject{{"page", page}, {"text", text}});
    return QJsonObject{{"ok", true}, {"notes", array}};
}

QJsonObject numberedListing(int count)
{
    QList<std::pair<int, QString>> notes;
    for (const QString& text : numberedNotes(count))
        notes.append({0, text});
    return listing(notes);
}

} // namespace

class NoteListingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

    bool writeNotes(const QString& name, const QList<QStringList>& pages)
    {
        PdfFixtureSpec spec;
        spec.pages.clear();
        for (const QStringList& notes : pages) {
            PdfPageSpec page;
            page.notes = notes;
            spec.pages << page;
        }
        // A text field's widget on the first page: an annotation, not a note.
        spec.formFieldName = "alan";
        spec.formFieldValue = "deger";
        return writePdf(at(name), spec);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeNotes("notes.pdf", {{QString::fromUtf8("Birinci not"), QString(), QString::fromUtf8("Şerh: İyi")},
                                         {},
                                         {QStringLiteral("Son not")}}));
        QVERIFY(writeNotes("none.pdf", {{}, {}}));
        QVERIFY(writeNotes("1000.pdf", {numberedNotes(1000)}));
        QVERIFY(writeNotes("1001.pdf", {numberedNotes(1001)}));
        QVERIFY(writeNotes("1000+1.pdf", {numberedNotes(1000), {}, {QStringLiteral("bir fazla")}}));
    }

    void notes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QJsonObject>("reply");
        QTest::newRow("in page and annotation order, empty Contents as \"\"")
            << "notes.pdf"
            << listing({{0, QString::fromUtf8("Birinci not")}, {0, ""}, {0, QString::fromUtf8("Şerh: İyi")}, {2, "Son not"}});
        QTest::newRow("no notes") << "none.pdf" << listing({});
        QTest::newRow("exactly 1,000 notes") << "1000.pdf" << numberedListing(1000);
        QTest::newRow("1,001 notes on one page") << "1001.pdf" << failureReply(kLimitError);
        QTest::newRow("the 1,001st note on a later page") << "1000+1.pdf" << failureReply(kLimitError);
    }

    void notes()
    {
        QFETCH(QString, file);
        QFETCH(QJsonObject, reply);
        const WorkerReply answer = runSandboxed(QJsonObject{{"operation", "notes"}, {"path", at(file)}});
        QCOMPARE(answer.error, reply.value("error").toString());
        QCOMPARE(answer.json.value("isolation").toObject(), isolationPassed());
        QCOMPARE(withoutIsolation(answer.json), reply);
    }
};

QTEST_GUILESS_MAIN(NoteListingTest)
#include "NoteListingTest.moc"
