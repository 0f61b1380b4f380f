// What organising keeps beyond the page content: the bookmarks, links and
// annotations of the kept pages, read from qpdf's JSON of the output
// written by the real worker in the real sandbox.

#include "PageRun.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

QByteArray stream(const QByteArray& content)
{
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
}

QByteArray page(int contents, const QByteArray& annots)
{
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents " + QByteArray::number(contents)
           + " 0 R /Resources << /Font << /F1 8 0 R >> >>" + annots + " >>";
}

// Three pages; two bookmarks (to pages 1 and 3); on page 1 a link to page
// 3, on page 2 a sticky note.
QByteArray structuredPdf()
{
    return pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R /Outlines 9 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 >>",
        page(6, " /Annots [10 0 R]"),
        page(7, " /Annots [11 0 R]"),
        page(12, ""),
        stream("BT /F1 12 Tf 20 150 Td (P1) Tj ET"),
        stream("BT /F1 12 Tf 20 150 Td (P2) Tj ET"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Outlines /First 13 0 R /Last 14 0 R /Count 2 >>",
        "<< /Type /Annot /Subtype /Link /Rect [10 10 100 40] /Border [0 0 0] /Dest [5 0 R /Fit] >>",
        "<< /Type /Annot /Subtype /Text /Rect [10 10 30 30] /Contents (Not) >>",
        stream("BT /F1 12 Tf 20 150 Td (P3) Tj ET"),
        "<< /Title (Bir) /Parent 9 0 R /Next 14 0 R /Dest [3 0 R /Fit] >>",
        "<< /Title (Uc) /Parent 9 0 R /Prev 13 0 R /Dest [5 0 R /Fit] >>",
    });
}

QJsonObject objectValue(const QJsonObject& json, const QString& reference)
{
    const QJsonObject objects = json.value("qpdf").toArray().at(1).toObject();
    return objects.value("obj:" + reference).toObject().value("value").toObject();
}

// Subtype of every annotation of the output page, in order.
QStringList annotationTypes(const QJsonObject& json, int pageIndex)
{
    const QString pageObject = json.value("pages").toArray().at(pageIndex).toObject().value("object").toString();
    QStringList types;
    for (const QJsonValue& annot : objectValue(json, pageObject).value("/Annots").toArray())
        types.append(objectValue(json, annot.toString()).value("/Subtype").toString());
    return types;
}

} // namespace

class PageStructureTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_inputs;
    QString m_source;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_inputs.isValid());
        m_source = m_inputs.filePath("yapili.pdf");
        QFile file(m_source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(structuredPdf()) > 0);
        file.close();
        QVERIFY(qpdfAccepts(m_source));
    }

    // Page 3 then page 1; page 2 with its note dropped.
    void organisingKeepsBookmarksLinksAndAnnotationsOfKeptPages()
    {
        QTemporaryDir workspace;
        const QString output = workspace.filePath("output.pdf");
        const WorkerReply reply =
            runPagesSandboxed(pagesRequest("pages", {pageSource(m_source, QJsonArray{2, 0})}, output));
        QCOMPARE(reply.error, QString());
        QVERIFY(qpdfAccepts(output));
        const QJsonObject json = qpdfJson(output);
        QCOMPARE(json.value("pages").toArray().size(), 2);

        QStringList titles;
        QList<int> targets;
        for (const QJsonValue& item : json.value("outlines").toArray()) {
            titles.append(item.toObject().value("title").toString());
            targets.append(item.toObject().value("destpageposfrom1").toInt());
        }
        QCOMPARE(titles, (QStringList{"Bir", "Uc"}));
        QCOMPARE(targets, (QList<int>{2, 1}));

        QCOMPARE(annotationTypes(json, 0), QStringList());
        QCOMPARE(annotationTypes(json, 1), QStringList{"/Link"});
        // The link still leads to the old page 3, now the first page.
        const QString firstPage = json.value("pages").toArray().at(0).toObject().value("object").toString();
        const QString pageObject = json.value("pages").toArray().at(1).toObject().value("object").toString();
        const QString link = objectValue(json, pageObject).value("/Annots").toArray().at(0).toString();
        QCOMPARE(objectValue(json, link).value("/Dest").toArray().at(0).toString(), firstPage);
    }

    void mergingKeepsAnnotationsButNotBookmarks()
    {
        QTemporaryDir workspace;
        const QString output = workspace.filePath("output.pdf");
        const WorkerReply reply =
            runPagesSandboxed(pagesRequest("pages", {pageSource(m_source), pageSource(m_source)}, output));
        QCOMPARE(reply.error, QString());
        QVERIFY(qpdfAccepts(output));
        const QJsonObject json = qpdfJson(output);
        QCOMPARE(json.value("pages").toArray().size(), 6);
        QCOMPARE(json.value("outlines").toArray().size(), 0);
        QCOMPARE(annotationTypes(json, 0), QStringList{"/Link"});
        QCOMPARE(annotationTypes(json, 1), QStringList{"/Text"});
        QCOMPARE(annotationTypes(json, 3), QStringList{"/Link"});
        QCOMPARE(annotationTypes(json, 4), QStringList{"/Text"});
    }
};

QTEST_GUILESS_MAIN(PageStructureTest)
#include "PageStructureTest.moc"
