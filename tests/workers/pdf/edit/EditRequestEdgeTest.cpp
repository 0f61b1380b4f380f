// The request edges of the editing operations, through the dispatcher
// in-process: every field's bounds (also values JSON text cannot carry,
// such as NaN), single-precision font sizes, output paths, and which
// sentence each broken rule gets. The main paths run in the sandbox in the
// other tests of this folder.

#include "common/EngineLibrary.h"
#include "EditRun.h"
#include "support/PdfFixtures.h"
#include "RequestDispatcher.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace velk;
using namespace velk::test;

namespace {

const QString kInvalidRequest = QString::fromUtf8("Metin/not isteği geçersiz.");
const QString kOutputNotOpened = QString::fromUtf8("PDF çıktısı açılamadı.");
const QString kNewOutputNeeded = QString::fromUtf8("Yeni bir çıktı dosyası gerekli.");
const QString kBadPage = QString::fromUtf8("Sayfa numarası geçersiz.");
const QString kBadObject = QString::fromUtf8("Metin nesnesi geçersiz.");
const QString kNotText = QString::fromUtf8("Seçilen nesne doğrudan metin nesnesi değil.");
const QString kBadNewText =
    QString::fromUtf8("Yeni metin geçersiz; en fazla 100 satır ve 10000 karakter kullanılabilir.");
const QString kBadArea = QString::fromUtf8("Şekil alanı geçersiz.");
const QString kUnsupportedSize = QString::fromUtf8("Metnin konumu veya yazı boyutu desteklenmiyor.");
const QString kBadTransform = QString::fromUtf8("Metin dönüşümü geçersiz.");

// Placeholders of the "output" column.
const QString kFresh = QStringLiteral("<fresh>");
const QString kTaken = QStringLiteral("<taken>");
const QString kDangling = QStringLiteral("<dangling>");
const QString kNoDirectory = QStringLiteral("<no directory>");

const QJsonObject kSuccess{{"ok", true}};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

QJsonObject at(double x, double y, const QString& text = QStringLiteral("Not"))
{
    return {{"page", 0}, {"text", text}, {"x", x}, {"y", y}};
}

QJsonObject with(QJsonObject fields, const QString& key, const QJsonValue& value)
{
    if (value.isUndefined())
        fields.remove(key);
    else
        fields.insert(key, value);
    return fields;
}

QJsonObject area(const QString& kind, double left, double top, double right, double bottom)
{
    return {{"page", 0}, {"kind", kind}, {"left", left}, {"top", top}, {"right", right}, {"bottom", bottom}};
}

// Page 0 holds, in this order: a Helvetica text object, a filled path,
// stroked text, text with a size beyond the bounds, text with a huge
// matrix and text with a tiny size.
QByteArray edgeContent()
{
    return "BT /F1 12 Tf 50 700 Td (Duz) Tj ET\n"
           "0 0 10 10 re f\n"
           "q BT /F1 12 Tf 1 Tr 50 650 Td (Cizgi) Tj ET Q\n"
           "BT /F1 600 Tf 10 10 Td (B) Tj ET\n"
           "BT /F1 12 Tf 2000000 0 0 1 0 0 Tm (M) Tj ET\n"
           "BT /F1 0.05 Tf 50 600 Td (k) Tj ET\n";
}

} // namespace

class EditRequestEdgeTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_outputs = 0;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString outputFor(const QString& placeholder)
    {
        const QString directory = path(QStringLiteral("out%1").arg(++m_outputs));
        QDir().mkpath(directory);
        const QString output = directory + QStringLiteral("/sonuç.pdf");
        if (placeholder == kTaken) {
            QFile file(output);
            file.open(QIODevice::WriteOnly);
        } else if (placeholder == kDangling) {
            QFile::link(directory + QStringLiteral("/yok"), output);
        } else if (placeholder == kNoDirectory) {
            return directory + QStringLiteral("/yok/sonuç.pdf");
        } else if (placeholder != kFresh) {
            return placeholder;
        }
        return output;
    }

    void addRows(const char* operation, const QList<std::tuple<const char*, QJsonObject, QString, QJsonObject>>& rows)
    {
        for (const auto& [tag, fields, output, expected] : rows)
            QTest::addRow("%s: %s", operation, tag) << QString::fromLatin1(operation) << fields << output << expected;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
        QVERIFY(m_dir.isValid());
        PdfPageSpec page;
        page.text.clear();
        page.content = edgeContent();
        PdfPageSpec small;
        small.width = 200;
        small.height = 10;
        small.text.clear();
        QVERIFY(writePdf(path("edge.pdf"), fixtureOf({page, small})));
    }

    void field_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QJsonObject>("fields");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QJsonObject>("expected");
        const QJsonObject invalid = refusal(kInvalidRequest);
        addRows(
            "addNote",
            {{"bottom-right corner", at(1, 1), kFresh, kSuccess},
             {"top-left corner", at(0, 0), kFresh, kSuccess},
             {"x -0.01", at(-0.01, 0.5), kFresh, invalid},
             {"y 1.0001", at(0.5, 1.0001), kFresh, invalid},
             {"x missing", with(at(0.5, 0.5), "x", QJsonValue::Undefined), kFresh, invalid},
             {"x as text", with(at(0.5, 0.5), "x", "0.5"), kFresh, invalid},
             {"x NaN", at(kNaN, 0.5), kFresh, invalid},
             {"y infinite", at(0.5, kInfinity), kFresh, invalid},
             {"page -1", with(at(0.5, 0.5), "page", -1), kFresh, invalid},
             {"page after the last", with(at(0.5, 0.5), "page", 2), kFresh, invalid},
             {"last page", with(at(0.5, 0.5), "page", 1), kFresh, kSuccess},
             {"page 0.5", with(at(0.5, 0.5), "page", 0.5), kFresh, invalid},
             {"page missing", with(at(0.5, 0.5), "page", QJsonValue::Undefined), kFresh, invalid},
             {"text missing", with(at(0.5, 0.5), "text", QJsonValue::Undefined), kFresh, invalid},
             {"text only white space", at(0.5, 0.5, QStringLiteral(" \n\t \n ")), kFresh, invalid},
             {"text with U+0000", at(0.5, 0.5, QStringLiteral("a") + QChar(0) + QStringLiteral("b")), kFresh, invalid},
             {"text of 10,000 units", at(0.5, 0.5, QString(10000, u'ş')), kFresh, kSuccess},
             {"text of 10,001 units", at(0.5, 0.5, QString(10001, u'ş')), kFresh, invalid},
             {"size missing", at(0.5, 0.5), kFresh, kSuccess},
             {"size 5.99999999999 is 6 in single precision", with(at(0.5, 0.5), "size", 5.99999999999), kFresh,
              kSuccess},
             {"size 120.000001 is 120 in single precision", with(at(0.5, 0.5), "size", 120.000001), kFresh, kSuccess},
             {"size 1e300", with(at(0.5, 0.5), "size", 1e300), kFresh, invalid},
             {"size NaN", with(at(0.5, 0.5), "size", kNaN), kFresh, invalid},
             {"size as text reads as the default", with(at(0.5, 0.5), "size", "200"), kFresh, kSuccess},
             {"output missing", at(0.5, 0.5), QString(), invalid},
             {"output relative", at(0.5, 0.5), QStringLiteral("sonuç.pdf"), invalid},
             {"output taken", at(0.5, 0.5), kTaken, invalid},
             {"output a dangling link", at(0.5, 0.5), kDangling, invalid},
             {"output directory missing", at(0.5, 0.5), kNoDirectory, refusal(kOutputNotOpened)}});
        addRows("addText",
                {{"Turkish text", at(0.1, 0.5, QString::fromUtf8("Çağrı İşleği")), kFresh, kSuccess},
                 {"text of 10,001 units", at(0.1, 0.5, QString(10001, u'a')), kFresh, invalid},
                 {"x infinite", at(kInfinity, 0.5), kFresh, invalid},
                 {"size infinite", with(at(0.1, 0.5), "size", kInfinity), kFresh, invalid},
                 {"output taken", at(0.1, 0.5), kTaken, invalid}});
        addRows("annotate",
                {{"highlight", area("highlight", 0.1, 0.1, 0.3, 0.2), kFresh, kSuccess},
                 {"whole page", area("ellipse", 0, 0, 1, 1), kFresh, kSuccess},
                 {"kind capitalised", area("Highlight", 0.1, 0.1, 0.3, 0.2), kFresh, refusal(kBadArea)},
                 {"kind missing", with(area("", 0.1, 0.1, 0.3, 0.2), "kind", QJsonValue::Undefined), kFresh,
                  refusal(kBadArea)},
                 {"left -0.0001", area("rectangle", -0.0001, 0.1, 0.3, 0.2), kFresh, refusal(kBadArea)},
                 {"bottom 1.0001", area("rectangle", 0.1, 0.1, 0.3, 1.0001), kFresh, refusal(kBadArea)},
                 {"right before left", area("rectangle", 0.3, 0.1, 0.1, 0.2), kFresh, refusal(kBadArea)},
                 {"top NaN", area("rectangle", 0.1, kNaN, 0.3, 0.2), kFresh, refusal(kBadArea)},
                 {"right missing", with(area("rectangle", 0.1, 0.1, 0.3, 0.2), "right", QJsonValue::Undefined), kFresh,
                  refusal(kBadArea)},
                 {"page 2", with(area("rectangle", 0.1, 0.1, 0.3, 0.2), "page", 2), kFresh, refusal(kBadPage)},
                 {"output missing", area("rectangle", 0.1, 0.1, 0.3, 0.2), QString(), refusal(kNewOutputNeeded)},
                 {"output taken", area("rectangle", 0.1, 0.1, 0.3, 0.2), kTaken, refusal(kNewOutputNeeded)},
                 {"output directory missing", area("rectangle", 0.1, 0.1, 0.3, 0.2), kNoDirectory,
                  refusal(kOutputNotOpened)}});
        addRows(
            "replaceText",
            {{"Helvetica text", {{"page", 0}, {"object", 0}, {"text", "Yeni İğ"}}, kFresh, kSuccess},
             {"object -1", {{"page", 0}, {"object", -1}, {"text", "x"}}, kFresh, refusal(kBadObject)},
             {"object missing", {{"page", 0}, {"text", "x"}}, kFresh, refusal(kBadObject)},
             {"object after the last", {{"page", 0}, {"object", 6}, {"text", "x"}}, kFresh, refusal(kBadObject)},
             {"object 1.5", {{"page", 0}, {"object", 1.5}, {"text", "x"}}, kFresh, refusal(kBadObject)},
             {"path object", {{"page", 0}, {"object", 1}, {"text", "x"}}, kFresh, refusal(kNotText)},
             {"path object and bad text", {{"page", 0}, {"object", 1}}, kFresh, refusal(kNotText)},
             {"text missing", {{"page", 0}, {"object", 0}}, kFresh, refusal(kBadNewText)},
             {"bad text before stroke mode", {{"page", 0}, {"object", 2}, {"text", " "}}, kFresh, refusal(kBadNewText)},
             {"size 600", {{"page", 0}, {"object", 3}, {"text", "x"}}, kFresh, refusal(kUnsupportedSize)},
             {"matrix 2,000,000", {{"page", 0}, {"object", 4}, {"text", "x"}}, kFresh, refusal(kBadTransform)},
             {"size 0.05", {{"page", 0}, {"object", 5}, {"text", "x"}}, kFresh, refusal(kUnsupportedSize)},
             {"object 0 of an empty page", {{"page", 1}, {"object", 0}, {"text", "x"}}, kFresh, refusal(kBadObject)},
             {"output taken", {{"page", 0}, {"object", 0}, {"text", "x"}}, kTaken, refusal(kNewOutputNeeded)},
             {"output relative",
              {{"page", 0}, {"object", 0}, {"text", "x"}},
              QStringLiteral("a.pdf"),
              refusal(kNewOutputNeeded)}});
        addRows("deleteText",
                {{"text not a string", {{"page", 0}, {"object", 0}, {"text", 5}}, kFresh, kSuccess},
                 {"page -1", {{"page", -1}, {"object", 0}}, kFresh, refusal(kBadPage)},
                 {"path object", {{"page", 0}, {"object", 1}}, kFresh, refusal(kNotText)}});
        addRows("textObjects",
                {{"page missing", {}, QString(), refusal(kBadPage)},
                 {"page after the last", {{"page", 2}}, QString(), refusal(kBadPage)}});
    }

    void field()
    {
        QFETCH(QString, operation);
        QFETCH(QJsonObject, fields);
        QFETCH(QString, output);
        QFETCH(QJsonObject, expected);
        const QString outputPath = output.isEmpty() ? QString() : outputFor(output);
        const bool fresh = output == kFresh || output == kNoDirectory;
        QCOMPARE(dispatchRequest(editRequest(operation, path("edge.pdf"), outputPath, fields)), expected);
        if (fresh)
            QCOMPARE(QFileInfo::exists(outputPath), expected == kSuccess);
    }
};

QTEST_GUILESS_MAIN(EditRequestEdgeTest)
#include "EditRequestEdgeTest.moc"
