// Fine-grained edges of "inspect", "render", "search" and "notes", called
// through the dispatcher in-process (the main paths run in the sandbox in
// the other tests): the 200,000-character page text bound, the note length
// bounds, integer request fields of every shape, the snippet arithmetic,
// and damaged files that must be answered, never crash.

#include "common/EngineLibrary.h"
#include "support/PdfFixtures.h"
#include "PdfOperations.h"
#include "RequestDispatcher.h"
#include "inspection/SearchOperation.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

QJsonObject dispatch(const QString& operation, const QString& path, QJsonObject request = {})
{
    request.insert("operation", operation);
    request.insert("path", path);
    return dispatchRequest(request);
}

// A page whose extracted text is exactly `count` characters and ends with
// "hedef": eight lines (PDFium reads at most 32,767 characters of one
// string), joined by PDFium with "\r\n".
PdfPageSpec pageOfLength(int count)
{
    constexpr int kLines = 8;
    constexpr int kLineLength = 25000;
    PdfPageSpec page{595, 842, 0, ""};
    for (int i = 0; i < kLines - 1; ++i)
        page.lines << QString(kLineLength, QLatin1Char('a'));
    const int used = (kLines - 1) * kLineLength + 2 * (kLines - 1);
    page.lines << QString(count - used - 5, QLatin1Char('a')) + QStringLiteral("hedef");
    return page;
}

} // namespace

Q_DECLARE_METATYPE(QJsonValue)

class InspectionEdgeCaseTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
        QVERIFY(m_dir.isValid());
        PdfFixtureSpec text;
        text.pages = {pageOfLength(200001), pageOfLength(200000)};
        QVERIFY(writePdf(at("long-text.pdf"), text));
        QVERIFY(writePdf(at("too-long-text.pdf"), PdfFixtureSpec::withPages(1, pageOfLength(200001))));

        PdfPageSpec notes;
        notes.notes = {QString(10000, QChar(0x15F)), QString(10001, QLatin1Char('n')), QStringLiteral("kısa")};
        PdfFixtureSpec noteSpec;
        noteSpec.pages = {notes};
        QVERIFY(writePdf(at("note-lengths.pdf"), noteSpec));

        PdfFixtureSpec pages;
        pages.pages = {{2000, 100, 0, "sayfa bir"}, {595, 842, 0, "sayfa iki"}, {595, 842, 0, "sayfa son"}};
        QVERIFY(writePdf(at("pages.pdf"), pages));
    }

    // What the inspection tests build on: the generated files with Turkish
    // lines, fills, notes, a text field and signature fields are sound PDF.
    void fixturesAreSoundPdf()
    {
        PdfPageSpec page{612, 792, 90, "Velk PDF"};
        page.lines = {QString::fromUtf8("İstanbul, Iğdır, Şanlıurfa")};
        page.fills = {{QRectF(10, 10, 50, 50), 1, 0.5, 0}};
        page.notes = {QString::fromUtf8("Şerh"), QString()};
        PdfFixtureSpec spec;
        spec.pages = {page, PdfPageSpec{}, page};
        spec.formFieldName = "alan";
        spec.formFieldValue = "deger";
        spec.signatureFields = 2;
        QVERIFY(writePdf(at("rich.pdf"), spec));
        QVERIFY(qpdfAccepts(at("rich.pdf")));
        const QJsonObject inspected = dispatch("inspect", at("rich.pdf"));
        QCOMPARE(inspected.value("signatures").toInt(), 2);
        QCOMPARE(inspected.value("pages").toArray().size(), 3);
        QCOMPARE(dispatch("notes", at("rich.pdf")).value("notes").toArray().size(), 4);
    }

    void operationsAreRegistered()
    {
        QStringList registered;
        for (const PdfiumOperation& operation : pdfiumOperations()) {
            if (operation.handler)
                registered << QLatin1String(operation.name);
        }
        for (const char* name : {"inspect", "render", "search", "notes"})
            QVERIFY2(registered.contains(QLatin1String(name)), name);
    }

    // A page of exactly 200,000 characters is searched; one more and it
    // counts as a page without text.
    void pageTextBound()
    {
        const QJsonObject found = dispatch("search", at("long-text.pdf"), {{"query", "HEDEF"}});
        QCOMPARE(found.value("page").toInt(), 1);
        QCOMPARE(found.value("snippet").toString(), QString(QByteArray(30, 'a') + "hedef"));
        QCOMPARE(dispatch("search", at("too-long-text.pdf"), {{"query", "HEDEF"}}),
                 QJsonObject({{"ok", true}, {"page", -1}}));
    }

    // "Contents" of 10,000 UTF-16 units (20,002 bytes with the terminator)
    // is listed; 10,001 units are left out without failing the listing.
    void noteLengthBound()
    {
        const QJsonObject reply = dispatch("notes", at("note-lengths.pdf"));
        const QJsonArray expected{QJsonObject{{"page", 0}, {"text", QString(10000, QChar(0x15F))}},
                                  QJsonObject{{"page", 0}, {"text", QString::fromUtf8("kısa")}}};
        QCOMPARE(reply, QJsonObject({{"ok", true}, {"notes", expected}}));
    }

    void renderWidthField_data()
    {
        QTest::addColumn<QJsonValue>("width");
        QTest::addColumn<int>("pixelWidth");
        QTest::newRow("integer beyond 32 bits: clamped") << QJsonValue(qint64(5000000000)) << 4096;
        QTest::newRow("negative: clamped") << QJsonValue(-7) << 160;
        QTest::newRow("double with a whole value") << QJsonValue(300.0) << 300;
        QTest::newRow("fraction: default") << QJsonValue(300.5) << 1200;
        QTest::newRow("beyond 64 bits: default") << QJsonValue(1e300) << 1200;
        QTest::newRow("string: default") << QJsonValue("300") << 1200;
        QTest::newRow("boolean: default") << QJsonValue(true) << 1200;
        QTest::newRow("null: default") << QJsonValue(QJsonValue::Null) << 1200;
        QTest::newRow("array: default") << QJsonValue(QJsonArray{300}) << 1200;
    }

    void renderWidthField()
    {
        QFETCH(QJsonValue, width);
        QFETCH(int, pixelWidth);
        const QJsonObject reply = dispatch("render", at("pages.pdf"), {{"page", 0}, {"width", width}});
        QCOMPARE(reply.value("ok").toBool(), true);
        QCOMPARE(reply.value("width").toInt(), pixelWidth);
    }

    void searchStartField_data()
    {
        QTest::addColumn<QJsonValue>("start");
        QTest::addColumn<int>("page");
        // "sayfa" is on every page: the answer is the page the search began at.
        QTest::newRow("integer beyond 32 bits: last page") << QJsonValue(qint64(99999999999)) << 2;
        QTest::newRow("most negative: page 0") << QJsonValue(qint64(-9007199254740992)) << 0;
        QTest::newRow("double with a whole value") << QJsonValue(1.0) << 1;
        QTest::newRow("fraction: default 0") << QJsonValue(1.5) << 0;
        QTest::newRow("beyond 64 bits: default 0") << QJsonValue(1e300) << 0;
        QTest::newRow("string: default 0") << QJsonValue("2") << 0;
    }

    void searchStartField()
    {
        QFETCH(QJsonValue, start);
        QFETCH(int, page);
        const QJsonObject reply = dispatch("search", at("pages.pdf"), {{"query", "SAYFA"}, {"start", start}});
        QCOMPARE(reply.value("page").toInt(-2), page);
    }

    void snippet_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("size");
        QTest::newRow("hit at 0") << 500 << 0 << 0 << 160;
        QTest::newRow("hit at 10") << 500 << 10 << 0 << 160;
        QTest::newRow("hit at 30") << 500 << 30 << 0 << 160;
        QTest::newRow("hit at 31") << 500 << 31 << 1 << 160;
        QTest::newRow("near the end") << 500 << 480 << 450 << 50;
        QTest::newRow("short text") << 20 << 5 << 0 << 20;
    }

    void snippet()
    {
        QFETCH(int, length);
        QFETCH(int, position);
        QFETCH(int, from);
        QFETCH(int, size);
        QString text;
        for (int i = 0; i < length; ++i)
            text += QChar(u'a' + i % 26);
        QCOMPARE(SearchOperation::snippet(text, position), text.mid(from, size));
        QCOMPARE(SearchOperation::snippet(text, position).size(), size);
    }

    // Damaged copies of a document with text, notes, a form and Turkish
    // lines: every operation answers with a reply, whatever the damage.
    void damagedFilesAreAnswered()
    {
        PdfPageSpec page{595, 842, 0, "Velk PDF"};
        page.lines = {QString::fromUtf8("İstanbul")};
        page.notes = {QStringLiteral("not")};
        page.fills = {{QRectF(10, 10, 50, 50)}};
        PdfFixtureSpec spec;
        spec.pages = {page, page};
        spec.formFieldName = "alan";
        spec.signatureFields = 1;
        const QByteArray original = pdfBytes(spec);
        QRandomGenerator random(61);
        for (int i = 0; i < 100; ++i) {
            QByteArray damaged = original;
            const int changes = 1 + random.bounded(20);
            for (int c = 0; c < changes; ++c)
                damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
            if (i % 3 == 0)
                damaged.truncate(random.bounded(int(damaged.size())));
            const QString path = at(QStringLiteral("damaged-%1.pdf").arg(i));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
            file.close();
            for (const char* operation : {"inspect", "notes"})
                QVERIFY(dispatch(operation, path).value("ok").isBool());
            QVERIFY(dispatch("search", path, {{"query", "pdf"}}).value("ok").isBool());
            for (int pageIndex : {0, 1})
                QVERIFY(dispatch("render", path, {{"page", pageIndex}, {"width", 200}}).value("ok").isBool());
        }
    }
};

QTEST_GUILESS_MAIN(InspectionEdgeCaseTest)
#include "InspectionEdgeCaseTest.moc"
