// "addText" through the real worker in the real sandbox: Turkish text comes
// back exactly as written, lines keep their places (empty ones too), the
// text reads upright on rotated pages where the user clicked, the line and
// size limits hold, a line leaving the page writes nothing, and protected
// documents are refused before anything else is looked at.

#include "EditRun.h"
#include "IndependentJudges.h"
#include "support/PdfFixtures.h"
#include "PdfiumReadBack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kTurkish = QString::fromUtf8("Çağrı İşleği ğüşıöç");
const QString kTooManyLines = QString::fromUtf8("En fazla 100 satır metin eklenebilir.");
const QString kDoesNotFit =
    QString::fromUtf8("Metin sayfaya sığmadı veya yazılamadı. Farklı konum ya da küçük punto seçin.");
const QString kInvalidRequest = QString::fromUtf8("Metin/not isteği geçersiz.");
const QString kProtected =
    QString::fromUtf8("Bu sürüm imzalı, şifreli veya etkileşimli form içeren PDF'leri değiştirmez.");

const QJsonObject kSuccess{{"ok", true}};

PdfPageSpec emptyPage(double width = 595, double height = 842, int rotate = 0)
{
    PdfPageSpec page;
    page.width = width;
    page.height = height;
    page.rotate = rotate;
    page.text.clear();
    return page;
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("s%1").arg(i);
    return lines.join(u'\n');
}

} // namespace

class TextInsertionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PdfiumReadBack m_readBack;
    int m_outputs = 0;

    QString at(const QString& name) const { return m_dir.filePath(name); }

    // A directory of its own for each output, so that a failed run can be
    // shown to leave nothing behind.
    QString freshOutput() { return freshOutputIn(m_dir.path(), m_outputs, QStringLiteral("çıktı.pdf")); }

    QJsonObject addText(const QString& input, const QString& output, const QString& text, double x, double y,
                        double size = 14)
    {
        const WorkerReply run =
            runEditSandboxed(editRequest(QStringLiteral("addText"), input, output,
                                         {{"page", 0}, {"text", text}, {"x", x}, {"y", y}, {"size", size}}));
        return withoutIsolation(run.json);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_readBack.isBound());
        QVERIFY(writePdf(at("plain.pdf"), PdfFixtureSpec::withPages(2, emptyPage())));
        for (const int rotate : {90, 180, 270})
            QVERIFY(writePdf(at(QStringLiteral("rotate%1.pdf").arg(rotate)), fixtureOf({emptyPage(595, 842, rotate)})));
        PdfFixtureSpec form = fixtureOf({emptyPage()});
        form.formFieldName = "alan";
        QVERIFY(writePdf(at("form.pdf"), form));
        PdfFixtureSpec signedSpec = fixtureOf({emptyPage()});
        signedSpec.signatureFields = 1;
        QVERIFY(writePdf(at("signed.pdf"), signedSpec));
        QVERIFY(writeEncryptedCopy(at("plain.pdf"), at("encrypted.pdf"), QString(), QStringLiteral("sahip")));
    }

    void turkishTextComesBackExactly()
    {
        const QString output = freshOutput();
        QCOMPARE(addText(at("plain.pdf"), output, kTurkish, 0.1, 0.2), kSuccess);
        QCOMPARE(popplerText(output, 0), kTurkish);
        QCOMPARE(m_readBack.pageText(output, 0), kTurkish);
        QVERIFY(qpdfAccepts(output));
        // The source is untouched and the second page is still there, empty.
        QCOMPARE(m_readBack.objectCount(at("plain.pdf"), 0), 0);
        QCOMPARE(m_readBack.objectCount(output, 1), 0);
    }

    void firstBaselineStartsAtTheClickedPoint()
    {
        const QString output = freshOutput();
        QCOMPARE(addText(at("plain.pdf"), output, QStringLiteral("Nokta"), 0.25, 0.5, 20), kSuccess);
        const QList<TextObjectFacts> objects = m_readBack.textObjects(output, 0);
        QCOMPARE(objects.size(), 1);
        QCOMPARE(objects.first().text, QStringLiteral("Nokta"));
        QCOMPARE(objects.first().size, 20.0f);
        QCOMPARE(objects.first().matrix.e, 595.0f * 0.25f);
        QCOMPARE(objects.first().matrix.f, 842.0f * 0.5f);
    }

    void emptyMiddleLineKeepsItsPlace()
    {
        const QString output = freshOutput();
        QCOMPARE(addText(at("plain.pdf"), output, QString::fromUtf8("Birinci\n\nÜçüncü"), 0.1, 0.2), kSuccess);
        const QList<TextObjectFacts> objects = m_readBack.textObjects(output, 0);
        QCOMPARE(objects.size(), 2);
        QCOMPARE(objects.at(0).text, QStringLiteral("Birinci"));
        QCOMPARE(objects.at(1).text, QString::fromUtf8("Üçüncü"));
        QCOMPARE(objects.at(1).matrix.e, objects.at(0).matrix.e);
        QVERIFY(qAbs(objects.at(0).matrix.f - objects.at(1).matrix.f - 2 * 14 * 1.3) < 0.001);
        const QList<PopplerWord> words = popplerWords(output, 0);
        QCOMPARE(words.size(), 2);
        QVERIFY(qAbs(words.at(1).box.top() - words.at(0).box.top() - 36.4) < 0.1);
    }

    void lineLimit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QJsonObject>("expected");
        QTest::addColumn<int>("objects");
        QTest::newRow("100 lines") << numberedLines(100) << kSuccess << 100;
        QTest::newRow("100 lines and a line feed") << numberedLines(100) + u'\n' << refusal(kTooManyLines) << 0;
        QTest::newRow("101 lines") << numberedLines(101) << refusal(kTooManyLines) << 0;
    }

    void lineLimit()
    {
        QFETCH(QString, text);
        QFETCH(QJsonObject, expected);
        QFETCH(int, objects);
        const QString output = freshOutput();
        QCOMPARE(addText(at("plain.pdf"), output, text, 0.05, 0.02, 6), expected);
        if (objects == 0) {
            QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
            return;
        }
        const QList<TextObjectFacts> written = m_readBack.textObjects(output, 0);
        QCOMPARE(written.size(), objects);
        QCOMPARE(written.last().text, QStringLiteral("s99"));
    }

    void lineLeavingThePageWritesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("right edge") << QString::fromUtf8("Bu satır sayfanın sağ kenarını aşıyor") << 0.8 << 0.5;
        QTest::newRow("top edge") << QStringLiteral("Tavan") << 0.5 << 0.0;
        QTest::newRow("third line below the bottom") << QStringLiteral("bir\niki\nüç") << 0.5 << 0.97;
        QTest::newRow("bottom-right corner") << QStringLiteral("x") << 1.0 << 1.0;
    }

    void lineLeavingThePageWritesNothing()
    {
        QFETCH(QString, text);
        QFETCH(double, x);
        QFETCH(double, y);
        const QString output = freshOutput();
        QCOMPARE(addText(at("plain.pdf"), output, text, x, y), refusal(kDoesNotFit));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void rotatedPageReadsUpright_data()
    {
        QTest::addColumn<int>("rotate");
        QTest::newRow("90") << 90;
        QTest::newRow("180") << 180;
        QTest::newRow("270") << 270;
    }

    // Poppler lays the words out on the displayed page: upright words are
    // wider than tall, start where the user clicked, and the second line
    // lies 1.3 × size further down.
    void rotatedPageReadsUpright()
    {
        QFETCH(int, rotate);
        const QString input = at(QStringLiteral("rotate%1.pdf").arg(rotate));
        const QString output = freshOutput();
        const QString text = QString::fromUtf8("Yukarı bakan\nİkinci satır");
        QCOMPARE(addText(input, output, text, 0.1, 0.3, 20), kSuccess);
        QCOMPARE(popplerText(output, 0), text);
        const QList<PopplerWord> words = popplerWords(output, 0);
        QCOMPARE(words.size(), 4);
        const double displayedWidth = rotate == 180 ? 595 : 842;
        const double displayedHeight = rotate == 180 ? 842 : 595;
        const QRectF first = words.at(0).box;
        QCOMPARE(words.at(0).text, QString::fromUtf8("Yukarı"));
        QVERIFY2(first.width() > first.height(), qPrintable(QString::number(first.width())));
        QVERIFY(qAbs(first.left() - 0.1 * displayedWidth) < 2);
        const double baseline = 0.3 * displayedHeight;
        QVERIFY(first.top() < baseline && baseline < first.bottom());
        QCOMPARE(words.at(2).text, QString::fromUtf8("İkinci"));
        QVERIFY(qAbs(words.at(2).box.left() - first.left()) < 2);
        QVERIFY(qAbs(words.at(2).box.top() - first.top() - 26) < 1);
        QVERIFY(qpdfAccepts(output));
    }

    void size_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("accepted");
        for (const char* operation : {"addText", "addNote"}) {
            QTest::addRow("%s 5.9", operation) << operation << 5.9 << false;
            QTest::addRow("%s 6", operation) << operation << 6.0 << true;
            QTest::addRow("%s 120", operation) << operation << 120.0 << true;
            QTest::addRow("%s 121", operation) << operation << 121.0 << false;
        }
    }

    void size()
    {
        QFETCH(QString, operation);
        QFETCH(double, size);
        QFETCH(bool, accepted);
        const QString output = freshOutput();
        const WorkerReply run = runEditSandboxed(editRequest(
            operation, at("plain.pdf"), output, {{"page", 0}, {"text", "A"}, {"x", 0.1}, {"y", 0.5}, {"size", size}}));
        QCOMPARE(withoutIsolation(run.json), accepted ? kSuccess : refusal(kInvalidRequest));
        QCOMPARE(QFileInfo::exists(output), accepted);
        if (accepted && operation == QLatin1String("addText"))
            QCOMPARE(m_readBack.textObjects(output, 0).value(0).size, float(size));
    }

    // A rectangle may name its corners in either order; the page box is
    // the same page either way.
    void pageBoxWrittenTopRightFirst_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("addText") << "addText";
        QTest::newRow("addNote") << "addNote";
    }

    void pageBoxWrittenTopRightFirst()
    {
        QFETCH(QString, operation);
        const QString input = at(QStringLiteral("reversed-box.pdf"));
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                   "<< /Type /Page /Parent 2 0 R /MediaBox [595 842 0 0] >>"}));
        file.close();
        const QString output = freshOutput();
        const WorkerReply run = runEditSandboxed(editRequest(
            operation, input, output, {{"page", 0}, {"text", "Köşe"}, {"x", 0.5}, {"y", 0.5}, {"size", 20}}));
        QCOMPARE(withoutIsolation(run.json), kSuccess);
        if (operation == QLatin1String("addText")) {
            QCOMPARE(popplerText(output, 0), QString::fromUtf8("Köşe"));
            const QList<TextObjectFacts> objects = m_readBack.textObjects(output, 0);
            QCOMPARE(objects.size(), 1);
            QVERIFY(nearlyEqual({objects.first().matrix.e, objects.first().matrix.f}, {297.5, 421}));
        } else {
            const QList<double> rect = numbers(qpdfAnnotations(output, 0).value(0).value("/Rect"));
            QVERIFY2(nearlyEqual(rect, {297.5, 421, 321.5, 445}), qPrintable(listed(rect)));
        }
    }

    void existingOutputIsRefusedAsAnInvalidRequest()
    {
        const QString output = freshOutput();
        QFile taken(output);
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.write("eski");
        taken.close();
        QCOMPARE(addText(at("plain.pdf"), output, kTurkish, 0.1, 0.2), refusal(kInvalidRequest));
        QVERIFY(taken.open(QIODevice::ReadOnly));
        QCOMPARE(taken.readAll(), QByteArray("eski"));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList{QFileInfo(output).fileName()});
    }

    void protectedDocumentIsRefusedFirst_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("document");
        for (const char* operation : {"addText", "addNote"}) {
            for (const char* document : {"signed", "encrypted", "form"})
                QTest::addRow("%s %s", operation, document) << operation << document;
        }
    }

    // Even a request that breaks every other rule gets the protection
    // sentence.
    void protectedDocumentIsRefusedFirst()
    {
        QFETCH(QString, operation);
        QFETCH(QString, document);
        const QString output = freshOutput();
        const WorkerReply run = runEditSandboxed(
            editRequest(operation, at(document + QStringLiteral(".pdf")), output, {{"page", 7}, {"x", 5}}));
        QCOMPARE(withoutIsolation(run.json), refusal(kProtected));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void protectedFixturesAreWhatTheySay()
    {
        QCOMPARE(m_readBack.signatureCount(at("signed.pdf")), 1);
        QCOMPARE(m_readBack.signatureCount(at("form.pdf")), 0);
    }
};

QTEST_GUILESS_MAIN(TextInsertionTest)
#include "TextInsertionTest.moc"
