// "addNote" through the real worker in the real sandbox, judged by qpdf's
// JSON of the output: a print-flagged yellow text annotation holding the
// whole text, a 24-point square starting at the clicked point and pushed
// back inside the page near its right and top edges, smaller on a smaller
// page, placed as the page was displayed.

#include "EditRun.h"
#include "IndependentJudges.h"
#include "support/PdfFixtures.h"
#include "ShapeGeometry.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QJsonObject kSuccess{{"ok", true}};

PdfPageSpec sizedPage(double width, double height, int rotate)
{
    PdfPageSpec page;
    page.width = width;
    page.height = height;
    page.rotate = rotate;
    return page;
}

} // namespace

class NoteInsertionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_outputs = 0;

    QString freshOutput() { return freshOutputIn(m_dir.path(), m_outputs, QStringLiteral("notlu.pdf")); }

    // The only annotation of the output's page, after a successful run.
    QJsonObject addNote(const PdfPageSpec& page, const QString& text, double x, double y)
    {
        const QString input = m_dir.filePath(QStringLiteral("in%1.pdf").arg(m_outputs + 1));
        const QString output = freshOutput();
        if (!writePdf(input, fixtureOf({page})))
            return {};
        const WorkerReply run = runEditSandboxed(
            editRequest(QStringLiteral("addNote"), input, output, {{"page", 0}, {"text", text}, {"x", x}, {"y", y}}));
        if (withoutIsolation(run.json) != kSuccess || !qpdfAccepts(output))
            return {};
        const QList<QJsonObject> annotations = qpdfAnnotations(output, 0);
        return annotations.size() == 1 ? annotations.first() : QJsonObject();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void noteCarriesTextColourAndFlags()
    {
        const QString text = QString::fromUtf8("Not: Çağrı İşleği\nİkinci satır ğüşıöç");
        const QJsonObject note = addNote(sizedPage(595, 842, 0), text, 0.5, 0.5);
        QCOMPARE(note.value("/Subtype").toString(), QStringLiteral("/Text"));
        QCOMPARE(note.value("/Contents").toString(), QStringLiteral("u:") + text);
        QCOMPARE(note.value("/F").toInt(), 4);
        const QList<double> colour = numbers(note.value("/C"));
        QVERIFY2(nearlyEqual(colour, {1, 205 / 255.0, 72 / 255.0}), qPrintable(listed(colour)));
    }

    void notePlacement_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("rotate");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("side");
        QTest::newRow("middle") << 595.0 << 842.0 << 0 << 0.5 << 0.5 << 24.0;
        QTest::newRow("top-right corner") << 595.0 << 842.0 << 0 << 1.0 << 0.0 << 24.0;
        QTest::newRow("bottom-right corner") << 595.0 << 842.0 << 0 << 1.0 << 1.0 << 24.0;
        QTest::newRow("top-left corner") << 595.0 << 842.0 << 0 << 0.0 << 0.0 << 24.0;
        QTest::newRow("10 pt high page") << 200.0 << 10.0 << 0 << 0.5 << 0.5 << 10.0;
        QTest::newRow("10 pt high page, top-right corner") << 200.0 << 10.0 << 0 << 1.0 << 0.0 << 10.0;
        QTest::newRow("10 pt wide page") << 10.0 << 300.0 << 0 << 0.3 << 0.3 << 10.0;
        QTest::newRow("turned 90, displayed top-right corner") << 595.0 << 842.0 << 90 << 1.0 << 0.0 << 24.0;
        QTest::newRow("turned 180, displayed middle") << 595.0 << 842.0 << 180 << 0.25 << 0.75 << 24.0;
        QTest::newRow("turned 270, displayed bottom-left corner") << 595.0 << 842.0 << 270 << 0.0 << 1.0 << 24.0;
    }

    // The square starts at the clicked point and is pushed back inside the
    // page box: computed here from the displayed click by hand.
    void notePlacement()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, rotate);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, side);
        const QJsonObject note = addNote(sizedPage(width, height, rotate), QStringLiteral("Köşe"), x, y);
        QVERIFY(!note.isEmpty());
        const QPointF clicked = displayedToPage(width, height, rotate, x, y);
        const double left = qMax(0.0, qMin(clicked.x(), width - side));
        const double bottom = qMax(0.0, qMin(clicked.y(), height - side));
        const QList<double> rect = numbers(note.value("/Rect"));
        QVERIFY2(nearlyEqual(rect, {left, bottom, left + side, bottom + side}), qPrintable(listed(rect)));
    }

    void longestTextIsKeptWhole()
    {
        const QString text = QString(9999, u'ş') + u'\n';
        const QJsonObject note = addNote(sizedPage(595, 842, 0), text, 0.1, 0.1);
        QCOMPARE(note.value("/Contents").toString(), QStringLiteral("u:") + text);
    }
};

QTEST_GUILESS_MAIN(NoteInsertionTest)
#include "NoteInsertionTest.moc"
