// "text" through the real worker in the real sandbox: the text of an area
// of a page is what pdftotext extracts from the same area ("-x -y -W -H" at
// 72 dpi), Turkish letters intact, also on a page turned by /Rotate; the
// request's bounds.

#include "support/PopplerText.h"
#include "support/ReadingFixtures.h"
#include "support/SandboxedRun.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Lines as a reader sees them: no line-end characters, no blank lines, no
// space at either end.
QString normalised(const QString& text)
{
    QStringList lines;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line = line.simplified();
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class SelectionTextTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_pdf;

    QJsonObject select(const QJsonValue& page, const QJsonValue& area)
    {
        const WorkerReply reply =
            runSandboxed(QJsonObject{{"operation", "text"}, {"path", m_pdf}, {"page", page}, {"area", area}});
        return reply.error.isEmpty() ? withoutIsolation(reply.json) : QJsonObject{{"error", reply.error}};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath("secim.pdf");
        ReadingPage first;
        first.lines = {u("Birinci satır çalışma"), u("İkinci satır: Iğdır ve Şanlıurfa"), u("Üçüncü satır sonda")};
        ReadingPage turned;
        turned.rotate = 90;
        turned.lines = {u("Yatay sayfada ılık şerbet"), u("Ğ ile biten satır")};
        ReadingSpec spec;
        spec.pages = {first, turned};
        QVERIFY(writeReadingPdf(m_pdf, spec));
    }

    void areaTextAsPdftotextReadsIt_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QString>("expected");
        // Baselines 60, 80 and 100 points below the top, text from x 72.
        QTest::newRow("first two lines") << 0 << QRect(60, 44, 400, 42)
                                         << u("Birinci satır çalışma\nİkinci satır: Iğdır ve Şanlıurfa");
        QTest::newRow("second line only") << 0 << QRect(60, 66, 400, 20) << u("İkinci satır: Iğdır ve Şanlıurfa");
        QTest::newRow("all three") << 0 << QRect(0, 0, 595, 200)
                                   << u("Birinci satır çalışma\nİkinci satır: Iğdır ve Şanlıurfa\nÜçüncü satır sonda");
        QTest::newRow("empty margin") << 0 << QRect(300, 500, 100, 100) << QString();
        // Turned a quarter clockwise: the lines run down the page, the
        // first line rightmost, 60 points from the right edge of 842.
        QTest::newRow("turned page, one line") << 1 << QRect(774, 60, 20, 400) << u("Yatay sayfada ılık şerbet");
        QTest::newRow("turned page, the other line") << 1 << QRect(754, 60, 16, 400) << u("Ğ ile biten satır");
    }

    void areaTextAsPdftotextReadsIt()
    {
        QFETCH(int, page);
        QFETCH(QRect, area);
        QFETCH(QString, expected);
        const QJsonObject reply = select(page, QJsonArray{area.x(), area.y(), area.width(), area.height()});
        QCOMPARE(reply.value("ok").toBool(), true);
        const QString judged = normalised(popplerAreaText(m_pdf, page, area));
        QCOMPARE(judged, expected);
        QCOMPARE(normalised(reply.value("text").toString()), judged);
    }

    void requestBounds_data()
    {
        QTest::addColumn<QJsonValue>("page");
        QTest::addColumn<QJsonValue>("area");
        QTest::addColumn<QString>("error");
        const QJsonArray area{0, 0, 100, 100};
        QTest::newRow("page beyond the document") << QJsonValue(2) << QJsonValue(area) << u("Sayfa numarası geçersiz.");
        QTest::newRow("negative page") << QJsonValue(-1) << QJsonValue(area) << u("Seçim alanı geçersiz.");
        QTest::newRow("no area") << QJsonValue(0) << QJsonValue(QJsonValue::Undefined) << u("Seçim alanı geçersiz.");
        QTest::newRow("area of three numbers") << QJsonValue(0) << QJsonValue(QJsonArray{0, 0, 1}) << u("Seçim alanı geçersiz.");
        QTest::newRow("area beyond the largest page")
            << QJsonValue(0) << QJsonValue(QJsonArray{0, 0, 20001, 10}) << u("Seçim alanı geçersiz.");
        QTest::newRow("area larger than this page") << QJsonValue(0) << QJsonValue(QJsonArray{0, 0, 5000, 5000}) << QString();
    }

    void requestBounds()
    {
        QFETCH(QJsonValue, page);
        QFETCH(QJsonValue, area);
        QFETCH(QString, error);
        const QJsonObject reply = select(page, area);
        QCOMPARE(reply.value("error").toString(), error);
    }
};

QTEST_GUILESS_MAIN(SelectionTextTest)
#include "SelectionTextTest.moc"
