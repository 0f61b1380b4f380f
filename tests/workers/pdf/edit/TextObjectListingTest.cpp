// "textObjects" through the real worker in the real sandbox: the text
// objects lying directly on a page with their index, text and size, form
// XObjects counted but not opened, the listing cut at 2,000 entries (and
// the form count with it), the 50,000-object page limit shared by all four
// object operations, and listing allowed where editing is not.

#include "EditRun.h"
#include "support/PdfFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kObjectLimit = QString::fromUtf8("Sayfa nesne sınırı aşıldı.");
const QString kProtected = QString::fromUtf8("İmzalı, şifreli veya form içeren belgelerde bu düzenleme yapılmaz.");

QJsonObject listed(int object, const QString& text, double size)
{
    return {{"object", object}, {"text", text}, {"size", size}};
}

QJsonObject listingReply(const QJsonArray& objects, int nestedForms)
{
    return {{"ok", true}, {"objects", objects}, {"nestedForms", nestedForms}};
}

// One text object per line, far enough apart that PDFium adds nothing to
// the text of any of them.
QByteArray textObjects(int count)
{
    QByteArray content;
    for (int i = 0; i < count; ++i)
        content += "BT /F1 0.25 Tf 20 " + QByteArray::number(10 + i * 0.3, 'f', 1) + " Td (t" + QByteArray::number(i)
            + ") Tj ET\n";
    return content;
}

// A page whose content draws the form XObject /Fm1 (holding text of its
// own) between before and after.
QByteArray formXObjectPdf(const QByteArray& before, const QByteArray& after)
{
    const auto stream = [](const QByteArray& dictionary, const QByteArray& data) -> QByteArray {
        return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data
            + "\nendstream";
    };
    const QByteArray content = before + "q /Fm1 Do Q\n" + after;
    return pdfFromObjects(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [4 0 R] /Count 1 >>",
         "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> /XObject << "
         "/Fm1 6 0 R >> >> /Contents 5 0 R >>",
         stream({}, content),
         stream("/Type /XObject /Subtype /Form /BBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >>",
                "BT /F1 12 Tf 50 50 Td (Icinde) Tj ET")});
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// count filled squares, then one text object.
QByteArray pathsThenText(int count)
{
    QByteArray content;
    content.reserve(count * 16);
    for (int i = 0; i < count; ++i)
        content += "1 1 2 2 re f\n";
    return content + "BT /F1 12 Tf 100 100 Td (Son) Tj ET\n";
}

PdfPageSpec pageWith(const QByteArray& content, const QStringList& lines = {})
{
    PdfPageSpec page;
    page.text.clear();
    page.lines = lines;
    page.content = content;
    return page;
}

QJsonArray numberedListing(int count)
{
    QJsonArray objects;
    for (int i = 0; i < count; ++i)
        objects.append(listed(i, QStringLiteral("t%1").arg(i), 0.25));
    return objects;
}

} // namespace

class TextObjectListingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_outputs = 0;

    QString at(const QString& name) const { return m_dir.filePath(name); }

    QString freshOutput() { return freshOutputIn(m_dir.path(), m_outputs, QStringLiteral("liste.pdf")); }

    QJsonObject list(const QString& document, int page = 0)
    {
        return withoutIsolation(
            runEditSandboxed(editRequest(QStringLiteral("textObjects"), at(document), QString(), {{"page", page}}))
                .json);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QByteArray mixed = "q BT /F1 9 Tf 0.5 g 50 500 Td (Ikinci satir) Tj ET Q\n"
                                 "10 10 50 50 re f\n"
                                 "BT /F1 1 Tf 20 0 0 20 50 400 Tm (Olcekli) Tj ET\n";
        const PdfPageSpec mixedPage = pageWith(mixed, {QString::fromUtf8("Şarkı İğne")});
        QVERIFY(writePdf(at("mixed.pdf"), fixtureOf({mixedPage, pageWith({})})));
        QVERIFY(writeBytes(
            at("form-between.pdf"),
            formXObjectPdf("BT /F1 12 Tf 50 700 Td (Vor) Tj ET\n", "BT /F1 12 Tf 50 600 Td (Nach) Tj ET\n")));
        QVERIFY(writePdf(at("2500.pdf"), fixtureOf({pageWith(textObjects(2500))})));
        QVERIFY(writeBytes(at("2500-form-last.pdf"), formXObjectPdf(textObjects(2500), {})));
        QVERIFY(writeBytes(at("2500-form-first.pdf"), formXObjectPdf({}, textObjects(2500))));
        QVERIFY(writePdf(at("50000.pdf"), fixtureOf({pageWith(pathsThenText(49999))})));
        QVERIFY(writePdf(at("50001.pdf"), fixtureOf({pageWith(pathsThenText(50000))})));
        PdfFixtureSpec form = fixtureOf({mixedPage});
        form.formFieldName = "alan";
        QVERIFY(writePdf(at("form.pdf"), form));
        PdfFixtureSpec signedSpec = fixtureOf({mixedPage});
        signedSpec.signatureFields = 1;
        QVERIFY(writePdf(at("signed.pdf"), signedSpec));
        QVERIFY(writeEncryptedCopy(at("mixed.pdf"), at("encrypted.pdf"), QString(), QStringLiteral("sahip")));
    }

    void listing_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("page");
        QTest::addColumn<QJsonObject>("expected");
        const QJsonArray mixed = {listed(0, QString::fromUtf8("Şarkı İğne"), 12), listed(1, "Ikinci satir", 9),
                                  listed(3, "Olcekli", 1)};
        QTest::newRow("text, path and scaled text") << "mixed.pdf" << 0 << listingReply(mixed, 0);
        QTest::newRow("page without objects") << "mixed.pdf" << 1 << listingReply({}, 0);
        // The form's own text stays inside it and is not listed.
        QTest::newRow("form between two text objects")
            << "form-between.pdf" << 0 << listingReply({listed(0, "Vor", 12), listed(2, "Nach", 12)}, 1);
        QTest::newRow("2,500 text objects") << "2500.pdf" << 0 << listingReply(numberedListing(2000), 0);
        QTest::newRow("form after 2,500 text objects is not reached")
            << "2500-form-last.pdf" << 0 << listingReply(numberedListing(2000), 0);
        QTest::newRow("signed") << "signed.pdf" << 0 << listingReply(mixed, 0);
        QTest::newRow("encrypted") << "encrypted.pdf" << 0 << listingReply(mixed, 0);
        QTest::newRow("form") << "form.pdf" << 0 << listingReply(mixed, 0);
    }

    void listing()
    {
        QFETCH(QString, document);
        QFETCH(int, page);
        QFETCH(QJsonObject, expected);
        QCOMPARE(list(document, page), expected);
    }

    void formBeforeTheCutIsCounted()
    {
        const QJsonObject reply = list(QStringLiteral("2500-form-first.pdf"));
        QCOMPARE(reply.value("nestedForms").toInt(), 1);
        const QJsonArray objects = reply.value("objects").toArray();
        QCOMPARE(objects.size(), 2000);
        QCOMPARE(objects.first().toObject(), listed(1, "t0", 0.25));
        QCOMPARE(objects.last().toObject(), listed(2000, "t1999", 0.25));
    }

    void objectLimit_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QJsonObject>("expected");
        QTest::newRow("textObjects 50,000") << "textObjects"
                                            << "50000.pdf" << listingReply({listed(49999, "Son", 12)}, 0);
        for (const char* operation : {"replaceText", "deleteText", "annotate"})
            QTest::addRow("%s 50,000", operation) << operation << "50000.pdf" << QJsonObject{{"ok", true}};
        for (const char* operation : {"textObjects", "replaceText", "deleteText", "annotate"})
            QTest::addRow("%s 50,001", operation) << operation << "50001.pdf" << refusal(kObjectLimit);
    }

    void objectLimit()
    {
        QFETCH(QString, operation);
        QFETCH(QString, document);
        QFETCH(QJsonObject, expected);
        const QJsonObject fields{{"page", 0},   {"object", 49999}, {"text", "Yeni"}, {"kind", "rectangle"},
                                 {"left", 0.1}, {"top", 0.1},      {"right", 0.2},   {"bottom", 0.2}};
        const QString output = freshOutput();
        const WorkerReply run = runEditSandboxed(editRequest(operation, at(document), output, fields));
        QCOMPARE(withoutIsolation(run.json), expected);
        const bool writes = operation != QLatin1String("textObjects") && expected.value("ok").toBool();
        QCOMPARE(QFileInfo::exists(output), writes);
        if (!writes)
            QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void editingProtectedDocumentIsRefused_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("document");
        for (const char* operation : {"replaceText", "deleteText", "annotate"}) {
            for (const char* document : {"signed", "encrypted", "form"})
                QTest::addRow("%s %s", operation, document) << operation << document;
        }
    }

    void editingProtectedDocumentIsRefused()
    {
        QFETCH(QString, operation);
        QFETCH(QString, document);
        const QString output = freshOutput();
        const QJsonObject fields{{"page", 0},   {"object", 0}, {"text", "Yeni"}, {"kind", "highlight"},
                                 {"left", 0.1}, {"top", 0.1},  {"right", 0.2},   {"bottom", 0.2}};
        const WorkerReply run =
            runEditSandboxed(editRequest(operation, at(document + QStringLiteral(".pdf")), output, fields));
        QCOMPARE(withoutIsolation(run.json), refusal(kProtected));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TextObjectListingTest)
#include "TextObjectListingTest.moc"
