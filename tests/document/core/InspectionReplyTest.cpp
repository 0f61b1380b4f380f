// The worker's "inspect" reply is checked value by value before a document
// description is built from it.

#include "document/core/InspectionReply.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

QJsonArray pages(int count, const QJsonArray& size = {612, 792})
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(size);
    return list;
}

} // namespace

class InspectionReplyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagesAreChecked_data()
    {
        QTest::addColumn<QJsonObject>("reply");
        QTest::addColumn<QString>("error");

        const QString invalid = QStringLiteral("PDF sayfa bilgisi geçersiz.");
        const QString missing = QStringLiteral("PDF sayfa bilgisi eksik.");
        const QString sizes = QStringLiteral("PDF sayfa ölçüleri geçersiz.");

        QTest::newRow("one page") << QJsonObject{{"pages", pages(1)}} << QString();
        QTest::newRow("10000 pages") << QJsonObject{{"pages", pages(10000)}} << QString();
        QTest::newRow("10001 pages") << QJsonObject{{"pages", pages(10001)}} << invalid;
        QTest::newRow("no pages") << QJsonObject{{"pages", QJsonArray()}} << invalid;
        QTest::newRow("pages missing") << QJsonObject{} << invalid;
        QTest::newRow("pages not an array") << QJsonObject{{"pages", "612x792"}} << invalid;
        QTest::newRow("one value") << QJsonObject{{"pages", QJsonArray{QJsonArray{612}}}} << missing;
        QTest::newRow("three values") << QJsonObject{{"pages", QJsonArray{QJsonArray{612, 792, 1}}}} << missing;
        QTest::newRow("entry not an array") << QJsonObject{{"pages", QJsonArray{612}}} << missing;
        QTest::newRow("string side") << QJsonObject{{"pages", QJsonArray{QJsonArray{612, "792"}}}} << sizes;
        QTest::newRow("zero width") << QJsonObject{{"pages", QJsonArray{QJsonArray{0, 792}}}} << sizes;
        QTest::newRow("negative") << QJsonObject{{"pages", QJsonArray{QJsonArray{-1, 792}}}} << sizes;
        QTest::newRow("20000.5") << QJsonObject{{"pages", QJsonArray{QJsonArray{612, 20000.5}}}} << sizes;
        QTest::newRow("20000 x 20000") << QJsonObject{{"pages", QJsonArray{QJsonArray{20000, 20000}}}} << QString();
        QTest::newRow("bad entry after good ones")
            << QJsonObject{{"pages", QJsonArray{QJsonArray{612, 792}, QJsonArray{612, 792}, QJsonArray{612}}}} << missing;
    }

    void pagesAreChecked()
    {
        QFETCH(QJsonObject, reply);
        QFETCH(QString, error);
        PdfDocument document;
        QCOMPARE(InspectionReply::apply(reply, document), error);
        if (error.isEmpty())
            QCOMPARE(document.pageCount(), reply.value("pages").toArray().size());
        else
            QCOMPARE(document.pageCount(), 0);
    }

    void flagsAndSizes()
    {
        PdfDocument document;
        const QJsonObject reply{{"pages", QJsonArray{QJsonArray{595.276, 841.89}, QJsonArray{612, 792}}},
                                {"signatures", 2}, {"encrypted", true}, {"permissions", 4294967295.0}};
        QCOMPARE(InspectionReply::apply(reply, document), QString());
        QCOMPARE(document.pageSizes.at(0), QSizeF(595.276, 841.89));
        QCOMPARE(document.pageSizes.at(1), QSizeF(612, 792));
        QCOMPARE(document.signatureCount, 2);
        QCOMPARE(document.protection.encrypted, true);

        PdfDocument plain;
        QCOMPARE(InspectionReply::apply(QJsonObject{{"pages", pages(1)}}, plain), QString());
        QCOMPARE(plain.signatureCount, 0);
        QCOMPARE(plain.protection.encrypted, false);
    }
};

QTEST_GUILESS_MAIN(InspectionReplyTest)
#include "InspectionReplyTest.moc"
