// Making new PDFs: blank A4 documents painted by Qt's PDF writer, images
// converted by the real worker in the real sandbox from private copies,
// and the fixed office refusal.

#include "document/core/DocumentOpen.h"
#include "workers/pdf/images/ImageFiles.h"
#include "operations/PdfCreateService.h"
#include "support/PdfFixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const char kCopyFailed[] = "Görsel kopyalama veya toplam 512 MiB sınırı aşıldı.";

// The /Info entries qpdf reports, "u:"-prefixed strings decoded.
QJsonObject documentInfo(const QString& path)
{
    const QJsonObject json = qpdfJson(path);
    const QJsonObject trailer = json.value(QStringLiteral("qpdf")).toArray().at(1).toObject()
                                    .value(QStringLiteral("trailer")).toObject().value(QStringLiteral("value"))
                                    .toObject();
    const QString info = trailer.value(QStringLiteral("/Info")).toString().replace(QStringLiteral(" R"), QString());
    return json.value(QStringLiteral("qpdf")).toArray().at(1).toObject()
        .value(QStringLiteral("obj:") + info + QStringLiteral(" R")).toObject().value(QStringLiteral("value"))
        .toObject();
}

// A sparse file of the given size: no disk space, all zero bytes.
bool writeSparse(const QString& path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

} // namespace

class PdfCreateTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeImage(path("a.png"), 40, 30, "PNG"));
        QVERIFY(writeImage(path("b.jpg"), 30, 40, "JPEG"));
    }

    void blankMakesA4Pages_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("one") << 1;
        QTest::newRow("one hundred") << 100;
    }
    void blankMakesA4Pages()
    {
        QFETCH(int, count);
        const QString destination = path(QStringLiteral("boş belge %1.pdf").arg(count));
        const ExportResult result = PdfCreateService::blank(destination, count);
        QVERIFY2(result.ok, qPrintable(result.message));
        const PdfOpenResult opened = openPdfDocument(destination, QString(), nullptr);
        QVERIFY2(opened.document, qPrintable(opened.error));
        QCOMPARE(opened.document->pageCount(), count);
        for (const QSizeF& size : opened.document->pageSizes) {
            QVERIFY(qAbs(size.width() - 595.28) < 0.5);
            QVERIFY(qAbs(size.height() - 841.89) < 0.5);
        }
        const QJsonObject info = documentInfo(destination);
        QCOMPARE(info.value(QStringLiteral("/Creator")).toString(), QStringLiteral("u:Velk PDF"));
        QCOMPARE(info.value(QStringLiteral("/Title")).toString(), QStringLiteral("u:boş belge %1").arg(count));
    }

    void blankRefusesCountsAndLeavesDestination_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("101") << 101;
    }
    void blankRefusesCountsAndLeavesDestination()
    {
        QFETCH(int, count);
        const QString destination = path(QStringLiteral("refused.pdf"));
        const ExportResult result = PdfCreateService::blank(destination, count);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Hedef yol veya sayfa sayısı geçersiz (1–100)."));
        QVERIFY(!QFile::exists(destination));
    }

    void imagesBecomeOnePageEach()
    {
        const QString destination = path("görseller.pdf");
        const ExportResult result = createFromImages(destination, {path("a.png"), path("b.jpg"), path("a.png")});
        QVERIFY2(result.ok, qPrintable(result.message));
        const PdfOpenResult opened = openPdfDocument(destination, QString(), nullptr);
        QVERIFY(opened.document);
        QCOMPARE(opened.document->pageCount(), 3);
    }

    void imageRefusals_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("error");
        QTest::newRow("no images") << QStringList() << "x.pdf" << "1–100 görsel seçin.";
        QTest::newRow("101 images") << QStringList(101, "a.png") << "x.pdf" << "1–100 görsel seçin.";
        QTest::newRow("destination is an image")
            << QStringList{"a.png"} << "a.png" << "Görsel okunamıyor veya kaynak üzerine yazma istendi.";
        QTest::newRow("missing image")
            << QStringList{"a.png", "none.png"} << "x.pdf" << "Görsel okunamıyor veya kaynak üzerine yazma istendi.";
        QTest::newRow("one image of 129 MiB")
            << QStringList{"129.png"} << "x.pdf" << "Görsel çalışma kopyası oluşturulamadı.";
        QTest::newRow("five of 120 MiB") << QStringList(5, "120.png") << "x.pdf" << kCopyFailed;
        QTest::newRow("worker refuses GIF content")
            << QStringList{"a.png", "anim.png"} << "x.pdf" << "Yalnız PNG, JPEG ve BMP desteklenir.";
    }
    void imageRefusals()
    {
        QFETCH(QStringList, images);
        QFETCH(QString, destination);
        QFETCH(QString, error);
        QVERIFY(writeSparse(path("129.png"), 129LL * 1048576));
        QVERIFY(writeSparse(path("120.png"), 120LL * 1048576));
        QVERIFY(writeImageBytes(path("anim.png"), gifBytes()));
        const QByteArray before = [&] {
            QFile file(path(destination));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        for (QString& image : images)
            image = path(image);
        const ExportResult result = createFromImages(path(destination), images);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, error);
        QFile after(path(destination));
        QCOMPARE(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), before);
    }

    void officeConversionIsRefusedWithoutTouchingFiles()
    {
        const QString destination = path("yazi.pdf");
        const ExportResult result = convertOfficeDocument(path("a.png"), destination);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Yalıtılmış LibreOffice Writer dönüştürücü bu kurulumda yok."));
        QVERIFY(!QFile::exists(destination));
    }
};

QTEST_MAIN(PdfCreateTest)
#include "PdfCreateTest.moc"
