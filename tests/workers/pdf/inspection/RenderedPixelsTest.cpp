// "render" through the real worker in the real sandbox: the pixel size for
// the requested width under the width, height and pixel bounds; pixels that
// decode and show the page as drawn (a black square and a red bar where the
// page puts them, white elsewhere, turned with /Rotate); the form layer; and
// the refusals for page numbers and page sizes.

#include "worker/runner/PagePixels.h"
#include "support/PdfFixtures.h"
#include "support/SandboxedRun.h"

#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kPageError = QStringLiteral("Sayfa numarası geçersiz.");
const QString kSizeError = QStringLiteral("Sayfa boyutu okunamadı.");

struct Rgba {
    int red, green, blue, alpha;
    bool operator==(const Rgba&) const = default;
};

// The bytes as the reply carried them: R, G, B, A.
Rgba pixelAt(const QImage& image, int x, int y)
{
    const uchar* pixel = image.constScanLine(y) + 4 * x;
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kRed{255, 0, 0, 255};

int nonWhitePixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += pixelAt(image, x, y) == kWhite ? 0 : 1;
    }
    return count;
}

} // namespace

Q_DECLARE_METATYPE(QJsonValue)

class RenderedPixelsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

    // A successful render, decoded; fails the test otherwise.
    QImage rendered(const QString& file, int page, int width)
    {
        const WorkerReply reply = runSandboxed(
            QJsonObject{{"operation", "render"}, {"path", at(file)}, {"page", page}, {"width", width}});
        if (!reply.error.isEmpty())
            return QImage();
        return decodePagePixels(reply.json).image;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PdfFixtureSpec sizes;
        sizes.pages = {{595.276, 841.89, 0, "A4"},  {612, 792, 0, "Letter"},      {2000, 100, 0, "wide"},
                       {20000, 20000, 0, "square"}, {100, 20000, 0, "strip"},      {20000.5, 100, 0, "too wide"}};
        QVERIFY(writePdf(at("sizes.pdf"), sizes));

        // A black square 100 points from the left and 200 from the top, a
        // red bar at the bottom right; nothing else.
        PdfPageSpec drawing{600, 800, 0, ""};
        drawing.fills = {{QRectF(100, 500, 100, 100)}, {QRectF(400, 100, 100, 50), 1, 0, 0}};
        PdfPageSpec rotated = drawing;
        rotated.rotate = 90;
        PdfFixtureSpec drawings;
        drawings.pages = {drawing, rotated};
        QVERIFY(writePdf(at("drawing.pdf"), drawings));

        // A text field without an appearance stream: only the form layer
        // draws its value.
        PdfFixtureSpec form;
        form.pages = {{595, 842, 0, ""}};
        form.formFieldName = "ad";
        form.formFieldValue = "DEGER DEGER DEGER";
        QVERIFY(writePdf(at("form.pdf"), form));
    }

    void pixelSize_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QJsonValue>("width");
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<int>("pixelHeight");
        const QJsonValue absent(QJsonValue::Undefined);
        QTest::newRow("A4, default width") << 0 << absent << 1200 << 1697;
        QTest::newRow("US Letter, default width") << 1 << absent << 1200 << 1552;
        QTest::newRow("width 50 renders 160") << 0 << QJsonValue(50) << 160 << 226;
        QTest::newRow("width 10,000 renders 4,096") << 2 << QJsonValue(10000) << 4096 << 204;
        QTest::newRow("20,000 square at 4,096: 8 million pixels") << 3 << QJsonValue(4096) << 2828 << 2828;
        QTest::newRow("strip: 4,096 high") << 4 << absent << 20 << 4096;
        QTest::newRow("width not a number: default") << 1 << QJsonValue("büyük") << 1200 << 1552;
        QTest::newRow("150 dpi A4") << 0 << QJsonValue(1240) << 1240 << 1753;
    }

    void pixelSize()
    {
        QFETCH(int, page);
        QFETCH(QJsonValue, width);
        QFETCH(int, pixelWidth);
        QFETCH(int, pixelHeight);
        QJsonObject request{{"operation", "render"}, {"path", at("sizes.pdf")}, {"page", page}};
        if (!width.isUndefined())
            request.insert("width", width);
        const WorkerReply reply = runSandboxed(request);
        QCOMPARE(reply.error, QString());
        QCOMPARE(reply.json.value("isolation").toObject(), isolationPassed());
        QCOMPARE(QStringList(reply.json.keys()),
                 QStringList({"format", "height", "isolation", "ok", "pixels", "stride", "width"}));
        QCOMPARE(reply.json.value("format").toString(), QStringLiteral("RGBA8888"));
        QCOMPARE(reply.json.value("width").toInt(), pixelWidth);
        QCOMPARE(reply.json.value("height").toInt(), pixelHeight);
        QCOMPARE(reply.json.value("stride").toInt(), 4 * pixelWidth);

        const PdfRenderResult decoded = decodePagePixels(reply.json);
        QCOMPARE(decoded.error, QString());
        QCOMPARE(decoded.image.size(), QSize(pixelWidth, pixelHeight));
        // Drawn over opaque white: every pixel is opaque.
        QCOMPARE(pixelAt(decoded.image, 0, 0).alpha, 255);
        QCOMPARE(pixelAt(decoded.image, pixelWidth - 1, pixelHeight - 1).alpha, 255);
    }

    // One point is one pixel at width 600, so the page's drawing can be
    // looked up pixel by pixel: the square covers x 100..199, y 200..299
    // (from the top), the bar x 400..499, y 650..699.
    void pixelsShowThePage()
    {
        const QImage image = rendered("drawing.pdf", 0, 600);
        QCOMPARE(image.size(), QSize(600, 800));
        QCOMPARE(pixelAt(image, 150, 250), kBlack);
        QCOMPARE(pixelAt(image, 101, 201), kBlack);
        QCOMPARE(pixelAt(image, 198, 298), kBlack);
        QCOMPARE(pixelAt(image, 450, 675), kRed);
        QCOMPARE(pixelAt(image, 50, 250), kWhite);
        QCOMPARE(pixelAt(image, 250, 250), kWhite);
        QCOMPARE(pixelAt(image, 150, 150), kWhite);
        QCOMPARE(pixelAt(image, 150, 350), kWhite);
        QCOMPARE(pixelAt(image, 450, 600), kWhite);
        QCOMPARE(pixelAt(image, 0, 0), kWhite);
        QCOMPARE(pixelAt(image, 599, 799), kWhite);
        QCOMPARE(nonWhitePixels(image, QRect(0, 0, 600, 800)), 100 * 100 + 100 * 50);
    }

    // /Rotate 90 turns the page clockwise: it comes back 800 x 600, and a
    // pixel (x, y) of the upright page is found at (799 - y, x).
    void rotatedPageComesBackRotated()
    {
        const QImage image = rendered("drawing.pdf", 1, 800);
        QCOMPARE(image.size(), QSize(800, 600));
        QCOMPARE(pixelAt(image, 799 - 250, 150), kBlack);
        QCOMPARE(pixelAt(image, 799 - 675, 450), kRed);
        QCOMPARE(pixelAt(image, 150, 250), kWhite);
        QCOMPARE(pixelAt(image, 799 - 250, 50), kWhite);
        QCOMPARE(nonWhitePixels(image, QRect(500, 100, 100, 100)), 100 * 100);
        QCOMPARE(nonWhitePixels(image, QRect(100, 400, 50, 100)), 100 * 50);
    }

    // The field's value appears inside its rectangle (36..236 across,
    // 782..806 down at one pixel per point), and nowhere else.
    void formLayerIsDrawn()
    {
        const QImage image = rendered("form.pdf", 0, 595);
        QCOMPARE(image.size(), QSize(595, 842));
        const QRect field(36, 782, 200, 24);
        QVERIFY(nonWhitePixels(image, field) > 100);
        QCOMPARE(nonWhitePixels(image, QRect(0, 0, 595, 842)), nonWhitePixels(image, field));
    }

    void refused_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QString>("error");
        QTest::newRow("no page") << QJsonObject{} << kPageError;
        QTest::newRow("page -1") << QJsonObject{{"page", -1}} << kPageError;
        QTest::newRow("page = page count") << QJsonObject{{"page", 6}} << kPageError;
        QTest::newRow("page 1.5") << QJsonObject{{"page", 1.5}} << kPageError;
        QTest::newRow("page as a string") << QJsonObject{{"page", "0"}} << kPageError;
        QTest::newRow("page 2^32") << QJsonObject{{"page", 4294967296.0}} << kPageError;
        QTest::newRow("a page 20,000.5 wide") << QJsonObject{{"page", 5}} << kSizeError;
    }

    void refused()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QString, error);
        request.insert("operation", "render");
        request.insert("path", at("sizes.pdf"));
        const WorkerReply reply = runSandboxed(request);
        QCOMPARE(reply.error, error);
        QCOMPARE(reply.json.value("isolation").toObject(), isolationPassed());
        QCOMPARE(withoutIsolation(reply.json), failureReply(error));
    }
};

QTEST_GUILESS_MAIN(RenderedPixelsTest)
#include "RenderedPixelsTest.moc"
