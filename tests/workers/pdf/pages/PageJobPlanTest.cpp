// The qpdf argument lists and range texts of the page operations, built
// directly from the plan without running qpdf.

#include "pages/PageJobPlan.h"

#include <QJsonArray>
#include <QTest>

Q_DECLARE_METATYPE(velk::PageSource)

using namespace velk;

namespace {

PageSource source(const QString& path, const QString& range, int pages)
{
    return PageSource{path, pages, range, pages};
}

} // namespace

class PageJobPlanTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rangeTextFromSelection_data()
    {
        QTest::addColumn<QJsonArray>("pages");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("selected");
        QTest::newRow("reordered") << QJsonArray{2, 0, 1} << QStringLiteral("3,1,2") << 3;
        QTest::newRow("empty means all") << QJsonArray{} << QStringLiteral("1-z") << 5;
        QTest::newRow("page 2 of five left out") << QJsonArray{0, 2, 3, 4} << QStringLiteral("1,3,4,5") << 4;
        QTest::newRow("repeats kept") << QJsonArray{1, 1} << QStringLiteral("2,2") << 2;
        QTest::newRow("whole double") << QJsonArray{4.0} << QStringLiteral("5") << 1;
    }

    void rangeTextFromSelection()
    {
        QFETCH(QJsonArray, pages);
        QFETCH(QString, range);
        QFETCH(int, selected);
        int count = -1;
        QCOMPARE(PageJobPlan::rangeText(pages, 5, count), std::optional<QString>(range));
        QCOMPARE(count, selected);
    }

    void invalidSelectionRefused_data()
    {
        QTest::addColumn<QJsonArray>("pages");
        QTest::newRow("negative") << QJsonArray{-1};
        QTest::newRow("equal to page count") << QJsonArray{5};
        QTest::newRow("fraction") << QJsonArray{1.5};
        QTest::newRow("string") << QJsonArray{"1"};
        QTest::newRow("beyond 32 bits") << QJsonArray{4294967296.0};
        QTest::newRow("null") << QJsonArray{QJsonValue()};
    }

    void invalidSelectionRefused()
    {
        QFETCH(QJsonArray, pages);
        int count = -1;
        QCOMPARE(PageJobPlan::rangeText(pages, 5, count), std::nullopt);
    }

    void argumentLists_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<PageSource>>("sources");
        QTest::addColumn<QJsonArray>("rotations");
        QTest::addColumn<QStringList>("arguments");
        const QList<PageSource> one{source("/a/kaynak.pdf", "3,1,2", 3)};
        QTest::newRow("one source reordered")
            << int(PageJobMode::Pages) << one << QJsonArray{}
            << QStringList{"qpdf", "/a/kaynak.pdf", "/o/output.pdf", "--pages", ".", "3,1,2", "--"};
        QTest::newRow("three sources merged")
            << int(PageJobMode::Pages)
            << QList<PageSource>{source("/a/1.pdf", "1-z", 2), source("/a/2.pdf", "1-z", 3),
                                 source("/a/3.pdf", "1-z", 1)}
            << QJsonArray{}
            << QStringList{"qpdf", "--empty", "/o/output.pdf", "--pages", "/a/1.pdf", "1-z",
                           "/a/2.pdf", "1-z", "/a/3.pdf", "1-z", "--"};
        QTest::newRow("rotations grouped by angle")
            << int(PageJobMode::Pages) << QList<PageSource>{source("/a/d.pdf", "1-z", 4)}
            << QJsonArray{90, 0, 90, 270}
            << QStringList{"qpdf", "/a/d.pdf", "/o/output.pdf", "--pages", ".", "1-z", "--",
                           "--rotate=+90:1,3", "--rotate=+270:4"};
        QTest::newRow("angles in ascending order")
            << int(PageJobMode::Pages) << QList<PageSource>{source("/a/d.pdf", "1-z", 3)}
            << QJsonArray{270, 180, 90}
            << QStringList{"qpdf", "/a/d.pdf", "/o/output.pdf", "--pages", ".", "1-z", "--",
                           "--rotate=+90:3", "--rotate=+180:2", "--rotate=+270:1"};
        QTest::newRow("overlay")
            << int(PageJobMode::Overlay)
            << QList<PageSource>{source("/a/tarama.pdf", "1-z", 3), source("/a/metin.pdf", "1-z", 3)}
            << QJsonArray{}
            << QStringList{"qpdf", "/a/tarama.pdf", "/o/output.pdf", "--overlay", "/a/metin.pdf", "--"};
    }

    void argumentLists()
    {
        QFETCH(int, mode);
        QFETCH(QList<PageSource>, sources);
        QFETCH(QJsonArray, rotations);
        QFETCH(QStringList, arguments);
        const std::optional<RotationGroups> groups = PageJobPlan::rotationGroups(rotations);
        QVERIFY(groups);
        QCOMPARE(PageJobPlan::qpdfArguments(PageJobMode(mode), sources, QStringLiteral("/o/output.pdf"), *groups),
                 arguments);
    }

    void rotationAngles_data()
    {
        QTest::addColumn<QJsonValue>("angle");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << QJsonValue(0) << true;
        QTest::newRow("180") << QJsonValue(180) << true;
        QTest::newRow("-90") << QJsonValue(-90) << false;
        QTest::newRow("360") << QJsonValue(360) << false;
        QTest::newRow("45") << QJsonValue(45) << false;
        QTest::newRow("90.5") << QJsonValue(90.5) << false;
        QTest::newRow("string 90") << QJsonValue("90") << false;
    }

    void rotationAngles()
    {
        QFETCH(QJsonValue, angle);
        QFETCH(bool, accepted);
        QCOMPARE(PageJobPlan::rotationGroups(QJsonArray{0, angle}).has_value(), accepted);
    }
};

QTEST_GUILESS_MAIN(PageJobPlanTest)
#include "PageJobPlanTest.moc"
