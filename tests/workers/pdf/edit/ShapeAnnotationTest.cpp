// "annotate" through the real worker in the real sandbox, judged by qpdf's
// JSON of the output: the three kinds with their subtypes, colours, flags,
// borders and quad points, the smallest area accepted and the one just
// below it refused, kind names compared exactly, and the dragged area
// covered on rotated pages as the user saw it.

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

const QString kBadArea = QString::fromUtf8("Şekil alanı geçersiz.");
const QJsonObject kSuccess{{"ok", true}};

QJsonObject dragged(const QString& kind, double left, double top, double right, double bottom)
{
    return {{"page", 0}, {"kind", kind}, {"left", left}, {"top", top}, {"right", right}, {"bottom", bottom}};
}

} // namespace

class ShapeAnnotationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_outputs = 0;

    QString at(const QString& name) const { return m_dir.filePath(name); }

    QString freshOutput() { return freshOutputIn(m_dir.path(), m_outputs, QStringLiteral("şekilli.pdf")); }

    QJsonObject annotate(const QString& input, const QString& output, const QJsonObject& fields)
    {
        return withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("annotate"), input, output, fields)).json);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const int rotate : {0, 90, 180, 270}) {
            PdfPageSpec page;
            page.rotate = rotate;
            QVERIFY(writePdf(at(QStringLiteral("rotate%1.pdf").arg(rotate)), fixtureOf({page, page})));
        }
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("subtype");
        QTest::addColumn<QList<double>>("colour");
        QTest::newRow("highlight") << "highlight"
                                   << "/Highlight" << QList<double>{1, 220 / 255.0, 0};
        QTest::newRow("rectangle") << "rectangle"
                                   << "/Square" << QList<double>{34 / 255.0, 105 / 255.0, 210 / 255.0};
        QTest::newRow("ellipse") << "ellipse"
                                 << "/Circle" << QList<double>{34 / 255.0, 105 / 255.0, 210 / 255.0};
    }

    void kinds()
    {
        QFETCH(QString, kind);
        QFETCH(QString, subtype);
        QFETCH(QList<double>, colour);
        const QString output = freshOutput();
        QCOMPARE(annotate(at("rotate0.pdf"), output, dragged(kind, 0.1, 0.2, 0.5, 0.25)), kSuccess);
        QVERIFY(qpdfAccepts(output));
        QCOMPARE(qpdfAnnotations(output, 1).size(), 0);
        const QList<QJsonObject> annotations = qpdfAnnotations(output, 0);
        QCOMPARE(annotations.size(), 1);
        const QJsonObject shape = annotations.first();
        QCOMPARE(shape.value("/Subtype").toString(), subtype);
        QCOMPARE(shape.value("/F").toInt(), 4);
        QVERIFY2(nearlyEqual(numbers(shape.value("/C")), colour), qPrintable(listed(numbers(shape.value("/C")))));
        QVERIFY(!shape.contains("/IC"));
        const QList<double> rect = numbers(shape.value("/Rect"));
        QVERIFY2(nearlyEqual(rect, {59.5, 631.5, 297.5, 673.6}), qPrintable(listed(rect)));
        if (kind == QLatin1String("highlight")) {
            // Half transparent; one quad: top-left, top-right, bottom-left,
            // bottom-right.
            QVERIFY(qAbs(shape.value("/CA").toDouble() - 128 / 255.0) < 0.01);
            QVERIFY(nearlyEqual(numbers(shape.value("/QuadPoints")),
                                {59.5, 673.6, 297.5, 673.6, 59.5, 631.5, 297.5, 631.5}));
        } else {
            QCOMPARE(numbers(shape.value("/Border")), QList<double>({0, 0, 2}));
            QVERIFY(!shape.contains("/QuadPoints"));
        }
    }

    void smallestArea_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QJsonObject>("expected");
        QTest::newRow("0.002 × 0.002") << 0.002 << 0.002 << kSuccess;
        QTest::newRow("0.0019 wide") << 0.0019 << 0.1 << refusal(kBadArea);
        QTest::newRow("0.0019 high") << 0.1 << 0.0019 << refusal(kBadArea);
        QTest::newRow("empty") << 0.0 << 0.0 << refusal(kBadArea);
    }

    void smallestArea()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QJsonObject, expected);
        const QString output = freshOutput();
        QCOMPARE(annotate(at("rotate0.pdf"), output, dragged("rectangle", 0, 0, width, height)), expected);
        QCOMPARE(QFileInfo::exists(output), expected == kSuccess);
        if (expected != kSuccess)
            QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void kindNameIsExact_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("Highlight") << "Highlight";
        QTest::newRow("Rectangle") << "Rectangle";
        QTest::newRow("ELLIPSE") << "ELLIPSE";
        QTest::newRow("square") << "square";
        QTest::newRow("empty") << "";
    }

    void kindNameIsExact()
    {
        QFETCH(QString, kind);
        const QString output = freshOutput();
        QCOMPARE(annotate(at("rotate0.pdf"), output, dragged(kind, 0.1, 0.1, 0.5, 0.5)), refusal(kBadArea));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void rotatedPageIsCoveredAsDisplayed_data()
    {
        QTest::addColumn<int>("rotate");
        QTest::addColumn<QString>("kind");
        for (const int rotate : {0, 90, 180, 270}) {
            QTest::addRow("%d highlight", rotate) << rotate << "highlight";
            QTest::addRow("%d ellipse", rotate) << rotate << "ellipse";
        }
    }

    // The corners as the user dragged them, turned into page space by hand;
    // the rectangle is their bounding box and the quad keeps their order.
    void rotatedPageIsCoveredAsDisplayed()
    {
        QFETCH(int, rotate);
        QFETCH(QString, kind);
        const QString output = freshOutput();
        const double left = 0.1, top = 0.2, right = 0.4, bottom = 0.3;
        QCOMPARE(
            annotate(at(QStringLiteral("rotate%1.pdf").arg(rotate)), output, dragged(kind, left, top, right, bottom)),
            kSuccess);
        const QList<QPointF> corners = {
            displayedToPage(595, 842, rotate, left, top), displayedToPage(595, 842, rotate, right, top),
            displayedToPage(595, 842, rotate, left, bottom), displayedToPage(595, 842, rotate, right, bottom)};
        QRectF box(corners.at(0), corners.at(3));
        box = box.normalized();
        const QJsonObject shape = qpdfAnnotations(output, 0).value(0);
        const QList<double> rect = numbers(shape.value("/Rect"));
        QVERIFY2(nearlyEqual(rect, {box.left(), box.top(), box.right(), box.bottom()}), qPrintable(listed(rect)));
        if (kind == QLatin1String("highlight")) {
            QList<double> quad;
            for (const QPointF& corner : corners)
                quad << corner.x() << corner.y();
            QVERIFY2(nearlyEqual(numbers(shape.value("/QuadPoints")), quad),
                     qPrintable(listed(numbers(shape.value("/QuadPoints")))));
        }
    }
};

QTEST_GUILESS_MAIN(ShapeAnnotationTest)
#include "ShapeAnnotationTest.moc"
