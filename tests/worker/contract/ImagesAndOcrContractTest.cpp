// "createImages" and "ocr" through their contracts: the requests round
// trip; the image list is bounded; an OCR page of the wrong kind reads as
// -1 for the worker to refuse.

#include "worker/contract/operations/CreateImagesContract.h"
#include "worker/contract/operations/OcrContract.h"

#include <QJsonArray>
#include <QTest>

using namespace velk;

namespace {

QJsonArray imagesOf(int count)
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(QJsonObject{{"path", QStringLiteral("/tmp/%1.png").arg(i)}});
    return list;
}

} // namespace

class ImagesAndOcrContractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void imagesRoundTrip()
    {
        CreateImagesRequest request{{QStringLiteral("/tmp/a.png"), QStringLiteral("/tmp/b.jpg")}, {}};
        QJsonObject json = request.toJson();
        QCOMPARE(json, (QJsonObject{{"operation", "createImages"},
                                    {"sources", QJsonArray{QJsonObject{{"path", "/tmp/a.png"}},
                                                           QJsonObject{{"path", "/tmp/b.jpg"}}}}}));
        request.output = QStringLiteral("/tmp/o.pdf");
        const std::optional<CreateImagesRequest> read = CreateImagesRequest::fromJson(request.toJson());
        QVERIFY(read);
        QCOMPARE(read->sources, request.sources);
        QCOMPARE(read->output, request.output);
    }

    void imageLists_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<QStringList>("sources");

        QTest::newRow("100 images") << QJsonObject{{"sources", imagesOf(100)}} << QStringList{};
        QTest::newRow("101 images") << QJsonObject{{"sources", imagesOf(101)}} << QStringList{"refused"};
        QTest::newRow("empty") << QJsonObject{{"sources", QJsonArray()}} << QStringList{"refused"};
        QTest::newRow("missing") << QJsonObject{} << QStringList{"refused"};
        QTest::newRow("a string") << QJsonObject{{"sources", "/tmp/a.png"}} << QStringList{"refused"};
        QTest::newRow("entries without a path")
            << QJsonObject{{"sources", QJsonArray{"/tmp/a.png", QJsonObject{{"path", 1}}}}} << QStringList{"", ""};
    }

    void imageLists()
    {
        QFETCH(QJsonObject, json);
        QFETCH(QStringList, sources);
        const std::optional<CreateImagesRequest> read = CreateImagesRequest::fromJson(json);
        if (sources == QStringList{"refused"}) {
            QVERIFY(!read);
            return;
        }
        QVERIFY(read);
        if (!sources.isEmpty())
            QCOMPARE(read->sources, sources);
    }

    void ocrRoundTrip()
    {
        OcrRequest request{QStringLiteral("/tmp/a.pdf"), 9999, {}};
        QVERIFY(!request.toJson().contains("output"));
        QCOMPARE(request.toJson().value("operation").toString(), QStringLiteral("ocr"));
        request.output = QStringLiteral("/tmp/o.pdf");
        const OcrRequest read = OcrRequest::fromJson(request.toJson());
        QCOMPARE(read.path, request.path);
        QCOMPARE(read.page, 9999);
        QCOMPARE(read.output, request.output);
    }

    void ocrPages_data()
    {
        QTest::addColumn<QJsonValue>("page");
        QTest::addColumn<qint64>("read");
        QTest::newRow("0") << QJsonValue(0) << qint64(0);
        QTest::newRow("whole double") << QJsonValue(3.0) << qint64(3);
        QTest::newRow("10000") << QJsonValue(10000) << qint64(-1);
        QTest::newRow("negative") << QJsonValue(-1) << qint64(-1);
        QTest::newRow("fraction") << QJsonValue(0.5) << qint64(-1);
        QTest::newRow("a string") << QJsonValue("0") << qint64(-1);
        QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined) << qint64(-1);
    }

    void ocrPages()
    {
        QFETCH(QJsonValue, page);
        QFETCH(qint64, read);
        QJsonObject json{{"path", "/tmp/a.pdf"}};
        if (!page.isUndefined())
            json.insert("page", page);
        QCOMPARE(OcrRequest::fromJson(json).page, read);
    }
};

QTEST_GUILESS_MAIN(ImagesAndOcrContractTest)
#include "ImagesAndOcrContractTest.moc"
