// parsePageRanges as one table: what users type, what it lists or why it
// refuses.

#include "operations/PageRanges.h"

#include <QTest>

using namespace velk;

namespace {

const QString kMalformed = QStringLiteral("Örnek sayfa aralığı: 1,3,5-7 veya 3-1.");
const QString kOutside = QStringLiteral("Sayfa numarası belge sınırları dışında.");
const QString kTooMany = QStringLiteral("En fazla 10000 sayfa seçilebilir.");
const QString kLimits = QStringLiteral("Sayfa aralığı sınırı geçersiz.");

QList<int> ascending(int count)
{
    QList<int> pages;
    for (int index = 0; index < count; ++index)
        pages.append(index);
    return pages;
}

} // namespace

class PageRangesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parsePageRanges_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QString>("error");
        QTest::newRow("'5-1' counts down") << "5-1" << 5 << QList<int>{4, 3, 2, 1, 0} << QString();
        QTest::newRow("'5-1' on more pages") << "5-1" << 9 << QList<int>{4, 3, 2, 1, 0} << QString();
        QTest::newRow("'3 - 3'") << "3 - 3" << 5 << QList<int>{2} << QString();
        QTest::newRow("mixed with spaces") << " 3 ,1-2\t" << 5 << QList<int>{2, 0, 1} << QString();
        QTest::newRow("'1,1,1' repeats") << "1,1,1" << 5 << QList<int>{0, 0, 0} << QString();
        QTest::newRow("pre-filled whole range") << "1-7" << 7 << ascending(7) << QString();
        QTest::newRow("'1,,2'") << "1,,2" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("'1,'") << "1," << 5 << QList<int>{} << kMalformed;
        QTest::newRow("empty") << "" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("blank part") << "1, ,2" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("open range") << "3-" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("sign") << "-1" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("letters") << "bir" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("Arabic-Indic digits") << "\u0663" << 5 << QList<int>{} << kMalformed;
        QTest::newRow("'0'") << "0" << 5 << QList<int>{} << kOutside;
        QTest::newRow("'1-0'") << "1-0" << 5 << QList<int>{} << kOutside;
        QTest::newRow("beyond the document") << "2-6" << 5 << QList<int>{} << kOutside;
        QTest::newRow("beyond 32 bits") << "4294967297" << 5 << QList<int>{} << kOutside;
        QTest::newRow("just beyond int") << "1-2147483648" << 5 << QList<int>{} << kOutside;
        QTest::newRow("'1-10000' on 10,000 pages") << "1-10000" << 10000 << ascending(10000) << QString();
        QTest::newRow("'1-10000,1' on 10,000 pages") << "1-10000,1" << 10000 << QList<int>{} << kTooMany;
        // Both would parse as "1" but for their length.
        QTest::newRow("64,000 characters accepted")
            << QStringLiteral("1") + QString(63999, QLatin1Char(' ')) << 5 << QList<int>{0} << QString();
        QTest::newRow("64,001 characters")
            << QStringLiteral("1") + QString(64000, QLatin1Char(' ')) << 5 << QList<int>{} << kLimits;
        QTest::newRow("no pages") << "1" << 0 << QList<int>{} << kLimits;
        QTest::newRow("10,001 pages") << "1" << 10001 << QList<int>{} << kLimits;
    }

    void parsePageRanges()
    {
        QFETCH(QString, text);
        QFETCH(int, pageCount);
        QFETCH(QList<int>, pages);
        QFETCH(QString, error);
        const PageRangeResult result = velk::parsePageRanges(text, pageCount);
        QCOMPARE(result.error, error);
        if (error.isEmpty())
            QCOMPARE(result.pages, pages);
    }
};

QTEST_GUILESS_MAIN(PageRangesTest)
#include "PageRangesTest.moc"
