// "replaceText" and "deleteText" through the real worker in the real
// sandbox: the new text takes the old object's place, orientation, size,
// fill colour and render mode (invisible text stays invisible), further
// lines move along the text's own downward direction, stroked and clipping
// text is left alone, "deleteText" never looks at "text", and a refused
// edit leaves nothing at the destination.

#include "EditRun.h"
#include "IndependentJudges.h"
#include "support/PdfFixtures.h"
#include "PdfiumReadBack.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kSpecialMode = QString::fromUtf8("Bu metin özel çizim/kırpma kipinde; güvenli biçimde değiştirilemiyor.");
const QString kBadNewText =
    QString::fromUtf8("Yeni metin geçersiz; en fazla 100 satır ve 10000 karakter kullanılabilir.");
const QString kNewOutputNeeded = QString::fromUtf8("Yeni bir çıktı dosyası gerekli.");
const QString kReplacement = QString::fromUtf8("Yeni metin: Çağrı İşleği");

const QJsonObject kSuccess{{"ok", true}};

// Page 0's objects, in order. Every object saves and restores the graphics
// state, so that its colour and render mode stay its own.
const QByteArray kObjects = "q BT /F1 12 Tf 0.2 0.4 0.6 rg 100 700 Td (Renkli) Tj ET Q\n" // 0 coloured
                            "q BT /F1 10 Tf 3 Tr 100 650 Td (Gizli katman) Tj ET Q\n" // 1 invisible
                            "q BT /F1 1 Tf 18 0 0 18 100 600 Tm (Olcekli) Tj ET Q\n" // 2 scaled
                            "q BT /F1 12 Tf 0 1 -1 0 300 300 Tm (Dik) Tj ET Q\n" // 3 turned
                            "q 2 0 0 2 0 0 cm BT /F1 12 Tf 50 50 Td (Buyuk) Tj ET Q\n" // 4 under a cm
                            "q BT /F1 12 Tf 1 Tr 100 500 Td (Cizgi) Tj ET Q\n" // 5 stroke
                            "q BT /F1 12 Tf 2 Tr 100 480 Td (Dolgu cizgi) Tj ET Q\n" // 6 fill and stroke
                            "q BT /F1 12 Tf 4 Tr 100 460 Td (Dolgu kirp) Tj ET Q\n" // 7 fill and clip
                            "q BT /F1 12 Tf 7 Tr 100 440 Td (Kirp) Tj ET Q\n" // 8 clip
                            "50 50 20 20 re f\n"; // 9 path

bool sameMatrix(const FS_MATRIX& left, const FS_MATRIX& right)
{
    return left.a == right.a && left.b == right.b && left.c == right.c && left.d == right.d && left.e == right.e
        && left.f == right.f;
}

float glyphExtent(const TextObjectFacts& facts)
{
    return qMin(facts.bounds[2] - facts.bounds[0], facts.bounds[3] - facts.bounds[1]);
}

} // namespace

class TextObjectEditTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PdfiumReadBack m_readBack;
    QList<TextObjectFacts> m_original;
    int m_outputs = 0;

    QString input() const { return m_dir.filePath(QStringLiteral("nesneler.pdf")); }

    QString freshOutput() { return freshOutputIn(m_dir.path(), m_outputs, QStringLiteral("düzenli.pdf")); }

    QJsonObject run(const QString& operation, const QString& output, const QJsonObject& fields)
    {
        return withoutIsolation(runEditSandboxed(editRequest(operation, input(), output, fields)).json);
    }

    const TextObjectFacts& original(int object) const
    {
        for (const TextObjectFacts& facts : m_original) {
            if (facts.index == object)
                return facts;
        }
        qFatal("no such text object");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PdfPageSpec page;
        page.text.clear();
        page.content = kObjects;
        QVERIFY(writePdf(input(), fixtureOf({page})));
        m_original = m_readBack.textObjects(input(), 0);
        QCOMPARE(m_original.size(), 9);
    }

    void replacementKeepsPlaceAndLook_data()
    {
        QTest::addColumn<int>("object");
        QTest::addColumn<int>("renderMode");
        QTest::newRow("coloured") << 0 << 0;
        QTest::newRow("invisible stays invisible") << 1 << 3;
        QTest::newRow("scaled by its text matrix") << 2 << 0;
        QTest::newRow("turned a quarter") << 3 << 0;
        QTest::newRow("scaled by the page") << 4 << 0;
    }

    void replacementKeepsPlaceAndLook()
    {
        QFETCH(int, object);
        QFETCH(int, renderMode);
        const QString output = freshOutput();
        QCOMPARE(run("replaceText", output, {{"page", 0}, {"object", object}, {"text", kReplacement}}), kSuccess);
        const TextObjectFacts& old = original(object);
        const QList<TextObjectFacts> written = m_readBack.textObjects(output, 0);
        QCOMPARE(written.size(), m_original.size());
        // The new object comes last; every other text object is unchanged.
        const TextObjectFacts& added = written.last();
        QCOMPARE(added.text, kReplacement);
        QCOMPARE(added.size, old.size);
        QVERIFY(sameMatrix(added.matrix, old.matrix));
        QCOMPARE(added.renderMode, renderMode);
        QCOMPARE(QList<unsigned int>({added.red, added.green, added.blue, added.alpha}),
                 QList<unsigned int>({old.red, old.green, old.blue, old.alpha}));
        for (const TextObjectFacts& facts : written.first(written.size() - 1))
            QVERIFY(facts.text != old.text);
        // Letters about as large as the old ones (the narrow side of the
        // bounds, whichever way the text runs): the size is not applied twice.
        const float oldLetters = glyphExtent(old);
        const float newLetters = glyphExtent(added);
        QVERIFY2(newLetters < oldLetters * 2 && newLetters > oldLetters / 2, qPrintable(QString::number(newLetters)));
        QVERIFY(qpdfAccepts(output));
        QVERIFY(popplerText(output, 0).contains(kReplacement));
    }

    void furtherLinesFollowTheTextDownwards_data()
    {
        QTest::addColumn<int>("object");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        // Two line steps of 1.3 × size along the text's downward direction
        // (-c, -d) of its matrix.
        QTest::newRow("upright 12 pt") << 0 << 0.0 << -2 * 1.3 * 12;
        QTest::newRow("1 pt scaled by 18") << 2 << 0.0 << -2 * 1.3 * 18;
        QTest::newRow("turned a quarter") << 3 << 2 * 1.3 * 12 << 0.0;
    }

    void furtherLinesFollowTheTextDownwards()
    {
        QFETCH(int, object);
        QFETCH(double, dx);
        QFETCH(double, dy);
        const QString output = freshOutput();
        QCOMPARE(run("replaceText", output, {{"page", 0}, {"object", object}, {"text", "Bir\n\nÜç"}}), kSuccess);
        const QList<TextObjectFacts> written = m_readBack.textObjects(output, 0);
        QCOMPARE(written.size(), m_original.size() + 1);
        const TextObjectFacts& first = written.at(written.size() - 2);
        const TextObjectFacts& third = written.last();
        QCOMPARE(first.text, QStringLiteral("Bir"));
        QCOMPARE(third.text, QString::fromUtf8("Üç"));
        QVERIFY(sameMatrix(first.matrix, original(object).matrix));
        QVERIFY2(qAbs(third.matrix.e - first.matrix.e - dx) < 0.001, qPrintable(QString::number(third.matrix.e)));
        QVERIFY2(qAbs(third.matrix.f - first.matrix.f - dy) < 0.001, qPrintable(QString::number(third.matrix.f)));
    }

    void specialRenderModeIsRefused_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("object");
        for (const char* operation : {"replaceText", "deleteText"}) {
            QTest::addRow("%s stroke", operation) << operation << 5;
            QTest::addRow("%s fill and stroke", operation) << operation << 6;
            QTest::addRow("%s fill and clip", operation) << operation << 7;
            QTest::addRow("%s clip", operation) << operation << 8;
        }
    }

    void specialRenderModeIsRefused()
    {
        QFETCH(QString, operation);
        QFETCH(int, object);
        const QString output = freshOutput();
        QCOMPARE(run(operation, output, {{"page", 0}, {"object", object}, {"text", "Yeni"}}), refusal(kSpecialMode));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void deletionIgnoresText_data()
    {
        QTest::addColumn<QJsonObject>("fields");
        const QJsonObject base{{"page", 0}, {"object", 1}};
        QTest::newRow("no text") << base;
        QJsonObject withText = base;
        withText.insert("text", "");
        QTest::newRow("empty text") << withText;
        withText.insert("text", QString(10001, u'x'));
        QTest::newRow("text too long") << withText;
        withText.insert("text", QString(101, u'\n'));
        QTest::newRow("101 empty lines") << withText;
    }

    void deletionIgnoresText()
    {
        QFETCH(QJsonObject, fields);
        const QString output = freshOutput();
        QCOMPARE(run("deleteText", output, fields), kSuccess);
        const QList<TextObjectFacts> written = m_readBack.textObjects(output, 0);
        QCOMPARE(written.size(), m_original.size() - 1);
        for (const TextObjectFacts& facts : written)
            QVERIFY(facts.text != original(1).text);
        QVERIFY(!popplerText(output, 0).contains(QStringLiteral("Gizli")));
        QVERIFY(qpdfAccepts(output));
    }

    void badReplacementTextIsRefused_data()
    {
        QTest::addColumn<QJsonValue>("text");
        QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("empty") << QJsonValue("");
        QTest::newRow("white space and line feeds") << QJsonValue(" \n \t\n");
        QTest::newRow("10,001 units") << QJsonValue(QString(10001, u'ğ'));
        QTest::newRow("101 lines") << QJsonValue(QStringLiteral("a") + QString(100, u'\n'));
        QTest::newRow("U+0000") << QJsonValue(QStringLiteral("a") + QChar(0));
    }

    void badReplacementTextIsRefused()
    {
        QFETCH(QJsonValue, text);
        QJsonObject fields{{"page", 0}, {"object", 0}};
        if (!text.isUndefined())
            fields.insert("text", text);
        const QString output = freshOutput();
        QCOMPARE(run("replaceText", output, fields), refusal(kBadNewText));
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList());
    }

    void limitsOfReplacementTextAreAccepted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("10,000 units") << QString(10000, u'ğ');
        QTest::newRow("100 lines") << QStringLiteral("a") + QString(99, u'\n');
    }

    void limitsOfReplacementTextAreAccepted()
    {
        QFETCH(QString, text);
        const QString output = freshOutput();
        QCOMPARE(run("replaceText", output, {{"page", 0}, {"object", 0}, {"text", text}}), kSuccess);
        QCOMPARE(m_readBack.textObjects(output, 0).last().text, text.section(u'\n', 0, 0));
    }

    void existingOutputIsRefused()
    {
        const QString output = freshOutput();
        QFile taken(output);
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.close();
        QCOMPARE(run("deleteText", output, {{"page", 0}, {"object", 0}}), refusal(kNewOutputNeeded));
        QCOMPARE(QFileInfo(output).size(), 0);
        QCOMPARE(entriesIn(QFileInfo(output).path()), QStringList{QFileInfo(output).fileName()});
    }
};

QTEST_GUILESS_MAIN(TextObjectEditTest)
#include "TextObjectEditTest.moc"
