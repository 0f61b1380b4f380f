// Every limit of the revision snapshot at its value and one beyond, each
// failing with its own internal reason. The limits that cost little are
// tested at their real values; the visit and total stream budgets, which
// need large documents, with smaller budgets of the same code.

#include "support/PdfFixtures.h"
#include "SnapshotRun.h"

#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

QByteArray repeated(const QByteArray& item, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += item;
    return text;
}

QByteArray manyKeys(int count)
{
    QByteArray text = "<<";
    for (int i = 0; i < count; ++i)
        text += " /K" + QByteArray::number(i) + " 1";
    return text + " >>";
}

QByteArray nestedArrays(int depth)
{
    return repeated("[", depth) + repeated("]", depth);
}

// Fields 6 .. 6 + count - 1 listed side by side in /Fields.
QByteArray sideBySideFields(int count)
{
    QByteArray references;
    QList<QByteArray> fields;
    for (int i = 0; i < count; ++i) {
        references += QByteArray::number(6 + i) + " 0 R ";
        fields << "<< /T (f" + QByteArray::number(i) + ") /FT /Tx >>";
    }
    return pdfFromObjects(basicBodies("/AcroForm << /Fields [" + references + "] >>", {}, fields));
}

// A chain of fields, each the only kid of the one before: the deepest
// /Kids array sits at this depth.
QByteArray fieldChain(int kidsDepth)
{
    QList<QByteArray> fields;
    for (int i = 0; i <= kidsDepth; ++i) {
        const QByteArray kids = i < kidsDepth ? " /Kids [" + QByteArray::number(7 + i) + " 0 R]" : QByteArray();
        fields << "<< /T (f" + QByteArray::number(i) + ")" + kids + " >>";
    }
    return pdfFromObjects(basicBodies("/AcroForm << /Fields [6 0 R] >>", {}, fields));
}

QByteArray pageTreeDepth(int depth)
{
    // Object 2 is the root /Pages node at depth 0; nodes 6 .. hold one kid
    // each; the page 3 sits at the given depth.
    QList<QByteArray> bodies = basicBodies();
    bodies[1] = "<< /Type /Pages /Kids [" + QByteArray(depth > 1 ? "6 0 R" : "3 0 R") + "] /Count 1 >>";
    for (int level = 1; level < depth; ++level) {
        const int number = 5 + level;
        const QByteArray kid = level + 1 < depth ? QByteArray::number(number + 1) + " 0 R" : QByteArray("3 0 R");
        bodies << "<< /Type /Pages /Parent " + QByteArray::number(level == 1 ? 2 : number - 1) + " 0 R /Kids [" + kid
                      + "] /Count 1 >>";
    }
    return pdfFromObjects(bodies);
}

QByteArray pageKids(int count)
{
    QList<QByteArray> bodies = basicBodies();
    QByteArray kids = "3 0 R ";
    for (int i = 1; i < count; ++i) {
        kids += QByteArray::number(5 + i) + " 0 R ";
        bodies << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] >>";
    }
    bodies[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(count) + " >>";
    return pdfFromObjects(bodies);
}

QByteArray annotations(int count)
{
    return pdfFromObjects(
        basicBodies({}, "/Annots [" + repeated("<< /Subtype /Square /Rect [0 0 1 1] >> ", count) + "]"));
}

QByteArray contentOf(qint64 bytes)
{
    QList<QByteArray> bodies = basicBodies();
    bodies[4] = streamBody(QByteArray(bytes, ' '));
    return pdfFromObjects(bodies);
}

} // namespace

class SnapshotLimitsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void limits_data()
    {
        QTest::addColumn<QByteArray>("atLimit");
        QTest::addColumn<QByteArray>("beyond");
        QTest::addColumn<QString>("failure");
        const auto extra = [](const QByteArray& value) { return pdfFromObjects(basicBodies("/Extra " + value)); };
        QTest::newRow("keys of a dictionary") << extra(manyKeys(10000)) << extra(manyKeys(10001))
                                              << QStringLiteral("snapshot keys");
        QTest::newRow("items of an array") << extra("[" + repeated("0 ", 262144) + "]")
                                           << extra("[" + repeated("0 ", 262145) + "]")
                                           << QStringLiteral("snapshot array");
        QTest::newRow("nesting of direct objects") << extra(nestedArrays(64)) << extra(nestedArrays(65))
                                                   << QStringLiteral("snapshot complexity");
        QTest::newRow("fields in one array") << sideBySideFields(4096) << sideBySideFields(4097)
                                             << QStringLiteral("snapshot fields");
        QTest::newRow("field depth") << fieldChain(32) << fieldChain(33) << QStringLiteral("snapshot fields");
        QTest::newRow("page tree depth") << pageTreeDepth(32) << pageTreeDepth(33) << QStringLiteral("snapshot pages");
        QTest::newRow("kids of a page tree node") << pageKids(20000) << pageKids(20001) << QStringLiteral("page kids");
        QTest::newRow("annotations of a page") << annotations(4096) << annotations(4097)
                                               << QStringLiteral("annotations limit");
        QTest::newRow("data of one stream") << contentOf(32 * 1024 * 1024) << contentOf(32 * 1024 * 1024 + 1)
                                            << QStringLiteral("snapshot stream");
    }

    void limits()
    {
        QFETCH(QByteArray, atLimit);
        QFETCH(QByteArray, beyond);
        QFETCH(QString, failure);
        QCOMPARE(snapshotOf(atLimit).failure, QString());
        QCOMPARE(snapshotOf(beyond).failure, failure);
    }

    void visitBudget()
    {
        const QByteArray pdf = pdfFromObjects(basicBodies("/Extra [1 2 3 << /A [4 5] >>]"));
        const SnapshotRun full = snapshotOf(pdf);
        QVERIFY2(full.failure.isEmpty(), qPrintable(full.failure));
        SnapshotLimits limits;
        limits.maxVisits = full.visits;
        QCOMPARE(snapshotOf(pdf, limits).failure, QString());
        limits.maxVisits = full.visits - 1;
        QVERIFY(!snapshotOf(pdf, limits).failure.isEmpty());
    }

    // Two streams of 500 bytes fill a budget of 1,000; one byte more fails.
    void totalStreamBudget()
    {
        const auto twoStreams = [](int second) {
            QList<QByteArray> bodies = basicBodies("/Extra 6 0 R", {}, {streamBody(QByteArray(second, 'x'))});
            bodies[4] = streamBody(QByteArray(500 - 2, ' ') + "  ");
            return pdfFromObjects(bodies);
        };
        SnapshotLimits limits;
        limits.maxTotalStreamBytes = 1000;
        QCOMPARE(snapshotOf(twoStreams(500), limits).failure, QString());
        QCOMPARE(snapshotOf(twoStreams(501), limits).failure, QStringLiteral("snapshot stream"));
    }
};

QTEST_GUILESS_MAIN(SnapshotLimitsTest)
#include "SnapshotLimitsTest.moc"
