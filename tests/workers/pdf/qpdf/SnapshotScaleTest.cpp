// Revision snapshots of documents the size of real manuals: hundreds of
// pages sharing fonts and font files, a three-level outline, internal
// links on every page and a form field. The snapshot visits each object
// once (far below the budget a per-path digest would need), long bookmark
// chains cost no nesting depth, and every kind of later change still lands
// in its own key.

#include "support/PdfFixtures.h"
#include "support/SignedPdfFixtures.h"
#include "SnapshotRun.h"

#include <QJsonObject>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kFonts = 10;
constexpr int kFontFiles = 3;
constexpr int kFieldObject = 4;

QByteArray ref(int number)
{
    return QByteArray::number(number) + " 0 R";
}

// Objects: 1 catalogue, 2 pages, 3 outline root, 4 a text field on the
// first page, fonts, descriptors and font files, then per page its page,
// content and two links, then the outline items.
struct ManualLike {
    QList<QByteArray> bodies;
    QList<int> pages;
    int firstOutlineItem = 0;

    int add(const QByteArray& body)
    {
        bodies << body;
        return int(bodies.size());
    }
};

QByteArray widths()
{
    QByteArray text = "[";
    for (int i = 0; i < 224; ++i)
        text += QByteArray::number(500 + i % 100) + ' ';
    return text + "]";
}

void addOutline(ManualLike& document, int topItems)
{
    // Three levels: each top item has ten children with ten children each.
    QList<QList<int>> levels(3);
    const int first = int(document.bodies.size()) + 1;
    document.firstOutlineItem = first;
    int next = first;
    struct Item { int number; int parent; int level; };
    QList<Item> items;
    const std::function<void(int, int, int)> plan = [&](int parent, int level, int count) {
        QList<int> siblings;
        for (int i = 0; i < count; ++i)
            siblings << next++;
        for (int i = 0; i < count; ++i) {
            items << Item{siblings[i], parent, level};
            if (level < 2)
                plan(siblings[i], level + 1, 10);
        }
    };
    plan(3, 0, topItems);
    QMap<int, QList<int>> children;
    for (const Item& item : items)
        children[item.parent] << item.number;
    QMap<int, QByteArray> bodies;
    for (const Item& item : items) {
        const QList<int>& siblings = children[item.parent];
        const qsizetype at = siblings.indexOf(item.number);
        QByteArray body = "<< /Title (Item " + QByteArray::number(item.number) + ") /Parent " + ref(item.parent)
                          + " /Dest [" + ref(document.pages[item.number % document.pages.size()]) + " /Fit]";
        if (at > 0)
            body += " /Prev " + ref(siblings[at - 1]);
        if (at + 1 < siblings.size())
            body += " /Next " + ref(siblings[at + 1]);
        if (children.contains(item.number))
            body += " /First " + ref(children[item.number].first()) + " /Last " + ref(children[item.number].last())
                    + " /Count " + QByteArray::number(children[item.number].size());
        bodies.insert(item.number, body + " >>");
    }
    for (auto it = bodies.cbegin(); it != bodies.cend(); ++it)
        document.add(it.value());
    document.bodies[2] = "<< /Type /Outlines /First " + ref(children[3].first()) + " /Last " + ref(children[3].last())
                         + " /Count " + QByteArray::number(children[3].size()) + " >>";
}

ManualLike manualLike(int pageCount, int topItems, int fontFileBytes = 1000)
{
    ManualLike document;
    document.add({});
    document.add({});
    document.add("<< /Type /Outlines >>");
    document.add({});
    QList<int> files;
    for (int i = 0; i < kFontFiles; ++i)
        files << document.add(streamBody(QByteArray(fontFileBytes, char('a' + i))));
    QByteArray fontResources = "<< ";
    for (int i = 0; i < kFonts; ++i) {
        const int descriptor = document.add("<< /Type /FontDescriptor /FontName /F" + QByteArray::number(i)
                                            + " /FontFile2 " + ref(files[i % kFontFiles]) + " >>");
        const int font = document.add("<< /Type /Font /Subtype /TrueType /BaseFont /F" + QByteArray::number(i)
                                      + " /FirstChar 32 /LastChar 255 /Widths " + widths() + " /FontDescriptor "
                                      + ref(descriptor) + " >>");
        fontResources += "/F" + QByteArray::number(i) + ' ' + ref(font) + ' ';
    }
    fontResources += ">>";
    const int firstPage = int(document.bodies.size()) + 1;
    for (int page = 0; page < pageCount; ++page)
        document.pages << firstPage + page * 4;
    QByteArray kids;
    for (int page = 0; page < pageCount; ++page) {
        const int number = document.pages[page];
        const QByteArray link = "<< /Type /Annot /Subtype /Link /Rect [0 0 50 10] /Dest [";
        QByteArray annots = ref(number + 2) + ' ' + ref(number + 3);
        if (page == 0)
            annots += ' ' + ref(kFieldObject);
        document.add("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font " + fontResources
                     + " >> /Contents " + ref(number + 1) + " /Annots [" + annots + "] >>");
        document.add(streamBody("BT /F" + QByteArray::number(page % kFonts) + " 12 Tf 72 720 Td (Page "
                                + QByteArray::number(page) + ") Tj ET"));
        document.add(link + ref(document.pages[(page + 1) % pageCount]) + " /Fit] >>");
        document.add(link + ref(document.pages[(page + pageCount - 1) % pageCount]) + " /XYZ 0 800 0] >>");
        kids += ref(number) + ' ';
    }
    document.bodies[0] = "<< /Type /Catalog /Pages 2 0 R /Outlines 3 0 R /AcroForm << /Fields [4 0 R] "
                         "/DA (/Helv 0 Tf 0 g) >> >>";
    document.bodies[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pageCount) + " >>";
    document.bodies[kFieldObject - 1] =
        "<< /FT /Tx /T (name) /V (a) /Subtype /Widget /Rect [10 10 100 30] /P " + ref(document.pages[0]) + " >>";
    if (topItems > 0)
        addOutline(document, topItems);
    return document;
}

QStringList changedKeys(const QJsonObject& before, const QJsonObject& after)
{
    QStringList changed;
    for (const char* name : {"base", "form", "annotations", "dss", "trailer", "fields"}) {
        const QString key = QString::fromLatin1(name);
        if (before.value(key) != after.value(key))
            changed << key;
    }
    return changed;
}

} // namespace

class SnapshotScaleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A per-path digest needs far more than 200,000 calls for these.
    void sharedObjectsAreVisitedOnce_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("topItems");
        QTest::addColumn<int>("fontFileBytes");
        QTest::newRow("100 pages sharing 10 fonts") << 100 << 0 << 1000;
        QTest::newRow("400-page manual with outline and links") << 400 << 4 << 1000;
        QTest::newRow("500 pages sharing three 100 KB font files") << 500 << 0 << 100 * 1024;
    }

    void sharedObjectsAreVisitedOnce()
    {
        QFETCH(int, pages);
        QFETCH(int, topItems);
        QFETCH(int, fontFileBytes);
        SnapshotLimits limits;
        limits.maxVisits = 200000;
        const SnapshotRun run = snapshotOf(pdfFromObjects(manualLike(pages, topItems, fontFileBytes).bodies), limits);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.snapshot.value("annotations").toObject().size(), pages);
    }

    void longBookmarkChain()
    {
        ManualLike document = manualLike(1, 0);
        const int first = int(document.bodies.size()) + 1;
        constexpr int kItems = 5000;
        for (int i = 0; i < kItems; ++i) {
            QByteArray body = "<< /Title (B) /Parent 3 0 R /Dest [" + ref(document.pages[0]) + " /Fit]";
            if (i > 0)
                body += " /Prev " + ref(first + i - 1);
            if (i + 1 < kItems)
                body += " /Next " + ref(first + i + 1);
            document.add(body + " >>");
        }
        document.bodies[2] = "<< /Type /Outlines /First " + ref(first) + " /Last " + ref(first + kItems - 1) + " >>";
        const SnapshotRun run = snapshotOf(pdfFromObjects(document.bodies));
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
    }

    void changesLandInTheirKeys_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("page content") << "content" << QStringList{"base"};
        QTest::newRow("note added to a page") << "note" << QStringList{"annotations"};
        QTest::newRow("form field filled") << "fill" << QStringList{"fields"};
        QTest::newRow("form defaults") << "form" << QStringList{"form"};
        QTest::newRow("evidence stored") << "dss" << QStringList{"dss"};
        QTest::newRow("document information") << "info" << QStringList{"trailer"};
        QTest::newRow("bookmark title") << "outline" << QStringList{"base"};
    }

    void changesLandInTheirKeys()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, keys);
        const ManualLike document = manualLike(400, 4);
        const QByteArray original = pdfFromObjects(document.bodies);
        const int size = int(document.bodies.size()) + 1;
        const int page = document.pages[10];
        QMap<int, QByteArray> objects;
        QByteArray trailer;
        int newSize = size;
        if (change == "content") {
            objects.insert(page + 1, streamBody("BT /F1 12 Tf 72 720 Td (Changed) Tj ET"));
        } else if (change == "note") {
            objects.insert(size, "<< /Type /Annot /Subtype /Text /Rect [0 0 9 9] /Contents (n) >>");
            QByteArray body = document.bodies[page - 1];
            body.replace("/Annots [", QByteArray("/Annots [" + ref(size) + ' '));
            objects.insert(page, body);
            newSize = size + 1;
        } else if (change == "fill") {
            QByteArray body = document.bodies[kFieldObject - 1];
            body.replace("/V (a)", "/V (b)");
            objects.insert(kFieldObject, body);
        } else if (change == "form") {
            QByteArray body = document.bodies[0];
            body.replace("/Helv 0 Tf", "/Helv 10 Tf");
            objects.insert(1, body);
        } else if (change == "dss") {
            objects.insert(size, streamBody("certificate"));
            objects.insert(1, document.bodies[0].chopped(2) + " /DSS << /Certs [" + ref(size) + "] >> >>");
            newSize = size + 1;
        } else if (change == "info") {
            objects.insert(size, "<< /Title (Manual) >>");
            trailer = "/Info " + ref(size);
            newSize = size + 1;
        } else {
            QByteArray body = document.bodies[document.firstOutlineItem - 1];
            body.replace("(Item", "(Changed item");
            objects.insert(document.firstOutlineItem, body);
        }
        const SnapshotRun before = snapshotOf(original);
        const SnapshotRun after = snapshotOf(appendRevision(original, objects, newSize, trailer));
        QVERIFY2(before.failure.isEmpty() && after.failure.isEmpty(), qPrintable(before.failure + after.failure));
        QCOMPARE(changedKeys(before.snapshot, after.snapshot), keys);
        if (change == "note") {
            const QJsonObject old = before.snapshot.value("annotations").toObject();
            const QJsonObject now = after.snapshot.value("annotations").toObject();
            for (const QString& key : old.keys())
                QCOMPARE(now.value(key) != old.value(key), key == QString::number(page));
        }
        if (change == "fill") {
            const QString field = QString::number(kFieldObject);
            const QJsonObject old = before.snapshot.value("fields").toObject().value(field).toObject();
            const QJsonObject now = after.snapshot.value("fields").toObject().value(field).toObject();
            QVERIFY(old.value("value") != now.value("value"));
            QCOMPARE(now.value("structure"), old.value("structure"));
        }
    }
};

QTEST_GUILESS_MAIN(SnapshotScaleTest)
#include "SnapshotScaleTest.moc"
