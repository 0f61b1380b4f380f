// decodePagePixels: exact integers, bounds, format, Base64 length and
// alphabet, and a real round trip of a known image.

#include "worker/runner/PagePixels.h"

#include <QColor>
#include <QJsonObject>
#include <QTest>

using namespace velk;

namespace {

enum class Pixels { Exact, OneShort, OneLong, OutsideAlphabet, PaddingInside, NotString, Missing };

const QString kInvalid = QStringLiteral("İşleyici sayfa pikselleri geçersiz veya sınır dışında.");

// Base64 text of exactly `bytes` bytes, or a damaged variant of it. The
// byte count comes from the row's own numbers when they are sane, so that
// a row fails for the one reason it names.
QJsonValue pixelsFor(Pixels kind, qint64 bytes)
{
    if (kind == Pixels::NotString)
        return 12345;
    QByteArray text = QByteArray(bytes, '\x5a').toBase64();
    switch (kind) {
    case Pixels::OneShort:
        text.chop(1);
        break;
    case Pixels::OneLong:
        text.append('A');
        break;
    case Pixels::OutsideAlphabet:
        text[1] = '*';
        break;
    case Pixels::PaddingInside:
        text[1] = '=';
        break;
    default:
        break;
    }
    return QString::fromLatin1(text);
}

qint64 plausibleBytes(const QJsonValue& height, const QJsonValue& stride)
{
    const double h = height.toDouble(), s = stride.toDouble();
    if (h < 1 || s < 1 || h * s > 40000000.0 || h != qint64(h) || s != qint64(s))
        return 16;
    return qint64(h) * qint64(s);
}

} // namespace

class PagePixelsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QJsonValue>("width");
        QTest::addColumn<QJsonValue>("height");
        QTest::addColumn<QJsonValue>("stride");
        QTest::addColumn<QJsonValue>("format");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("ok");

        const QJsonValue rgba(QStringLiteral("RGBA8888"));
        auto row = [&](const char* name, QJsonValue w, QJsonValue h, QJsonValue s, QJsonValue f, Pixels p, bool ok) {
            QTest::newRow(name) << w << h << s << f << int(p) << ok;
        };
        row("smallest", 1, 1, 4, rgba, Pixels::Exact, true);
        row("4096 x 1953 (7,999,488 pixels)", 4096, 1953, 16384, rgba, Pixels::Exact, true);
        row("4096 x 1954 over 8,000,000 pixels", 4096, 1954, 16384, rgba, Pixels::Exact, false);
        row("1 x 4096", 1, 4096, 4, rgba, Pixels::Exact, true);
        row("stride 4097 for width 1024", 1024, 2, 4097, rgba, Pixels::Exact, false);
        row("stride 4 x width - 4", 3, 2, 8, rgba, Pixels::Exact, false);
        row("width 12.5", 12.5, 2, 50, rgba, Pixels::Exact, false);
        row("height 2.000001", 2, 2.000001, 8, rgba, Pixels::Exact, false);
        row("format lower case", 2, 2, 8, QJsonValue(QStringLiteral("rgba8888")), Pixels::Exact, false);
        row("format BGRA8888", 2, 2, 8, QJsonValue(QStringLiteral("BGRA8888")), Pixels::Exact, false);
        row("format missing", 2, 2, 8, QJsonValue(), Pixels::Exact, false);
        row("format not a string", 2, 2, 8, 8888, Pixels::Exact, false);
        row("pixels one char short", 3, 3, 12, rgba, Pixels::OneShort, false);
        row("pixels one char long", 3, 3, 12, rgba, Pixels::OneLong, false);
        row("pixels char outside alphabet", 3, 3, 12, rgba, Pixels::OutsideAlphabet, false);
        row("pixels padding inside", 3, 3, 12, rgba, Pixels::PaddingInside, false);
        row("pixels not a string", 3, 3, 12, rgba, Pixels::NotString, false);
        row("pixels missing", 3, 3, 12, rgba, Pixels::Missing, false);
        row("width 0", 0, 2, 0, rgba, Pixels::Exact, false);
        row("height 0", 2, 0, 8, rgba, Pixels::Exact, false);
        row("width 4097", 4097, 1, 16388, rgba, Pixels::Exact, false);
        row("height 4097", 1, 4097, 4, rgba, Pixels::Exact, false);
        row("width negative", -2, 2, -8, rgba, Pixels::Exact, false);
        row("height negative", 2, -2, 8, rgba, Pixels::Exact, false);
        row("width 2^31 beyond int", 2147483648.0, 1, 8, rgba, Pixels::Exact, false);
        row("height -2^31 - 1 beyond int", 2, -2147483649.0, 8, rgba, Pixels::Exact, false);
        row("width 1e300", 1e300, 1, 8, rgba, Pixels::Exact, false);
        row("width 2^30, 4 x width beyond int", 1073741824, 1, 0, rgba, Pixels::Exact, false);
        row("width a string", QJsonValue(QStringLiteral("2")), 2, 8, rgba, Pixels::Exact, false);
        row("width a boolean", true, 1, 4, rgba, Pixels::Exact, false);
        row("width missing", QJsonValue(QJsonValue::Undefined), 2, 8, rgba, Pixels::Exact, false);
        row("stride missing", 2, 2, QJsonValue(QJsonValue::Undefined), rgba, Pixels::Exact, false);
    }

    void decode()
    {
        QFETCH(QJsonValue, width);
        QFETCH(QJsonValue, height);
        QFETCH(QJsonValue, stride);
        QFETCH(QJsonValue, format);
        QFETCH(int, pixels);
        QFETCH(bool, ok);

        QJsonObject reply{{"ok", true}};
        const auto put = [&](const char* key, const QJsonValue& value) {
            if (!value.isUndefined() && !value.isNull())
                reply.insert(QLatin1String(key), value);
        };
        put("width", width);
        put("height", height);
        put("stride", stride);
        put("format", format);
        if (Pixels(pixels) != Pixels::Missing)
            reply.insert("pixels", pixelsFor(Pixels(pixels), plausibleBytes(height, stride)));

        const PdfRenderResult result = decodePagePixels(reply);
        if (ok) {
            QVERIFY(result.error.isEmpty());
            QCOMPARE(result.image.width(), width.toInt());
            QCOMPARE(result.image.height(), height.toInt());
            QCOMPARE(result.image.format(), QImage::Format_RGBA8888);
        } else {
            QVERIFY(result.image.isNull());
            QCOMPARE(result.error, kInvalid);
        }
    }

    // Pixels written the way the worker writes them come back unchanged,
    // byte order R, G, B, A and rows top to bottom.
    void roundTrip()
    {
        QImage source(5, 3, QImage::Format_RGBA8888);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixelColor(x, y, QColor(40 * x, 80 * y, 7 * x + y, 255 - 30 * x));
        const QByteArray bytes(reinterpret_cast<const char*>(source.constBits()), source.sizeInBytes());
        const QJsonObject reply{{"ok", true}, {"width", 5}, {"height", 3}, {"stride", 20},
                                {"format", "RGBA8888"}, {"pixels", QString::fromLatin1(bytes.toBase64())}};

        const PdfRenderResult result = decodePagePixels(reply);
        QVERIFY(result.error.isEmpty());
        QCOMPARE(result.image, source);
        const uchar* first = result.image.constBits();
        QCOMPARE(int(first[0]), 0);   // R of (0, 0)
        QCOMPARE(int(first[3]), 255); // A of (0, 0)
        QCOMPARE(result.image.pixelColor(4, 2), QColor(160, 160, 30, 135));
    }
};

QTEST_GUILESS_MAIN(PagePixelsTest)
#include "PagePixelsTest.moc"
