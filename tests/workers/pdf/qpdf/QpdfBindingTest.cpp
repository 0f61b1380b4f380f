// The qpdf binding takes libqpdf.so.29 only from the directory it is given
// (by default the running executable's own) and refuses a library that lacks any function of its
// table; with the real library it reads good documents, refuses damaged
// ones, round-trips object text, copies within its limits and records the
// indirect objects a change touches.

#include "support/PdfFixtures.h"
#include "qpdf/Qpdf.h"
#include "qpdf/QpdfLimits.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace velk;
using namespace velk::test;

namespace {

// The failure reason of calling action, or "" when it succeeded.
template <typename Action>
QString failureOf(Action action)
{
    try {
        action();
    } catch (const QpdfFailure& failure) {
        return QString::fromLatin1(failure.what());
    }
    return {};
}

QByteArray repeated(const QByteArray& item, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += item;
    return text;
}

QByteArray arrayOf(int items)
{
    return "[" + repeated("0 ", items) + "]";
}

QByteArray dictionaryOf(int keys)
{
    QByteArray text = "<<";
    for (int i = 0; i < keys; ++i)
        text += " /K" + QByteArray::number(i) + " 1";
    return text + " >>";
}

} // namespace

class QpdfBindingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void realLibraryBinds()
    {
        Qpdf qpdf;
        QVERIFY(!qpdf.isBound());
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        QVERIFY(qpdf.isBound());
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        QCOMPARE(Qpdf::libraryPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/libqpdf.so.29"));
    }

    void functionTableOrder()
    {
        const QStringList names = Qpdf::functionNames();
        QCOMPARE(names.size(), 53);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 53);
        QCOMPARE(names.first(), QStringLiteral("qpdf_init"));
        QCOMPARE(names.at(9), QStringLiteral("qpdf_oh_parse"));
        QCOMPARE(names.at(37), QStringLiteral("qpdf_set_object_stream_mode"));
        QCOMPARE(names.at(38), QStringLiteral("qpdf_read_memory"));
        QCOMPARE(names.at(41), QStringLiteral("qpdf_get_buffer"));
        QCOMPARE(names.at(48), QStringLiteral("qpdf_get_error"));
        QCOMPARE(names.last(), QStringLiteral("qpdf_oh_release"));
    }

    void incompleteLibraryLacksOnlyTheLastName()
    {
        QLibrary library(testBinaryDirectory() + QStringLiteral("/qpdf-incomplete/libqpdf.so.29"));
        QVERIFY(library.load());
        const QStringList names = Qpdf::functionNames();
        for (qsizetype i = 0; i + 1 < names.size(); ++i)
            QVERIFY2(library.resolve(names.at(i).toLatin1().constData()), qPrintable(names.at(i)));
        QVERIFY(!library.resolve(names.last().toLatin1().constData()));
    }

    void bindingRefused_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::newRow("no library beside the program") << QStringLiteral("missing");
        QTest::newRow("library without the last function") << QStringLiteral("incomplete");
    }

    void bindingRefused()
    {
        QFETCH(QString, variant);
        QProcess probe;
        probe.start(testBinaryDirectory() + QStringLiteral("/qpdf-%1/qpdf-probe").arg(variant), {});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitCode(), 0);
        QCOMPARE(probe.readAllStandardOutput(), QByteArray("unbound"));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fromMemory");
        QTest::addColumn<QString>("reason");
        const QByteArray good = pdfBytes();
        const QByteArray damaged = withBrokenStartXref(good);
        QTest::newRow("good file") << good << false << QString();
        QTest::newRow("good bytes") << good << true << QString();
        QTest::newRow("damaged file") << damaged << false << QStringLiteral("qpdf");
        QTest::newRow("damaged bytes") << damaged << true << QStringLiteral("qpdf");
        QTest::newRow("truncated bytes") << good.left(good.size() / 2) << true << QStringLiteral("qpdf");
        QTest::newRow("not a PDF") << QByteArray("hello") << true << QStringLiteral("qpdf");
        QTest::newRow("empty bytes") << QByteArray() << true << QStringLiteral("qpdf");
    }

    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fromMemory);
        QFETCH(QString, reason);
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        const QString path = fromMemory ? QString() : write(QStringLiteral("read.pdf"), bytes);
        QCOMPARE(failureOf([&] {
                     if (fromMemory)
                         qpdf.readMemory(bytes);
                     else
                         qpdf.readFile(path);
                 }),
                 reason);
        if (reason.isEmpty()) {
            QVERIFY(qpdf.isDictionary(qpdf.root()));
            QCOMPARE(qpdf.unparse(qpdf.key(qpdf.root(), "/Type")), QByteArray("/Catalog"));
            QVERIFY(qpdf.isDictionary(qpdf.page(0)));
            // Past the last page is an error, and the layer stays failed.
            QCOMPARE(failureOf([&] { qpdf.page(1); }), QStringLiteral("qpdf"));
            QCOMPARE(failureOf([&] { qpdf.root(); }), QStringLiteral("qpdf"));
        }
    }

    void writtenDocumentReadsBack()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        qpdf.setKey(qpdf.root(), "/VelkMark", qpdf.parse("(yes)"));
        const QByteArray written = qpdf.writeToMemory();
        QVERIFY(qpdfAccepts(write(QStringLiteral("written.pdf"), written)));
        Qpdf again;
        QVERIFY(again.bindQpdf(applicationDirectory()));
        again.readMemory(written);
        QCOMPARE(again.unparse(again.key(again.root(), "/VelkMark")), QByteArray("(yes)"));
    }

    void parseRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("unparsed");
        QTest::newRow("integer") << QByteArray("42") << QByteArray("42");
        QTest::newRow("real") << QByteArray("-1.5") << QByteArray("-1.5");
        QTest::newRow("name") << QByteArray("/Widget") << QByteArray("/Widget");
        QTest::newRow("string") << QByteArray("(a b)") << QByteArray("(a b)");
        QTest::newRow("null") << QByteArray("null") << QByteArray("null");
        QTest::newRow("array") << QByteArray("[1 /N (s)]") << QByteArray("[ 1 /N (s) ]");
        QTest::newRow("dictionary") << QByteArray("<< /A [1 2] /B << /C true >> >>")
                                    << QByteArray("<< /A [ 1 2 ] /B << /C true >> >>");
    }

    void parseRoundTrip()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, unparsed);
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        const qpdf_oh parsed = qpdf.parse(text);
        QCOMPARE(qpdf.unparse(parsed), unparsed);
        QCOMPARE(qpdf.unparse(qpdf.parse(qpdf.unparse(parsed))), unparsed);
        QCOMPARE(qpdf.objectNumber(parsed), 0);
        QVERIFY(qpdf.changedObjects().empty());
    }

    void typedReads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::optional<double>>("number");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<std::optional<bool>>("boolean");
        const std::optional<double> none;
        const std::optional<bool> neither;
        QTest::newRow("integer") << QByteArray("42") << std::optional<double>(42) << QByteArray() << neither;
        QTest::newRow("real") << QByteArray("-1.5") << std::optional<double>(-1.5) << QByteArray() << neither;
        QTest::newRow("real without a leading digit") << QByteArray(".25") << std::optional<double>(0.25)
                                                      << QByteArray() << neither;
        QTest::newRow("name") << QByteArray("/Widget") << none << QByteArray("/Widget") << neither;
        QTest::newRow("name with an escape") << QByteArray("/Wid#67et") << none << QByteArray("/Widget") << neither;
        QTest::newRow("true") << QByteArray("true") << none << QByteArray() << std::optional<bool>(true);
        QTest::newRow("false") << QByteArray("false") << none << QByteArray() << std::optional<bool>(false);
        QTest::newRow("string of digits") << QByteArray("(42)") << none << QByteArray() << neither;
        QTest::newRow("string that reads like a name") << QByteArray("(/Widget)") << none << QByteArray() << neither;
        QTest::newRow("null") << QByteArray("null") << none << QByteArray() << neither;
        QTest::newRow("array of a number") << QByteArray("[1]") << none << QByteArray() << neither;
        QTest::newRow("dictionary") << QByteArray("<< /A 1 >>") << none << QByteArray() << neither;
    }

    void typedReads()
    {
        QFETCH(QByteArray, text);
        QFETCH(std::optional<double>, number);
        QFETCH(QByteArray, name);
        QFETCH(std::optional<bool>, boolean);
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        const qpdf_oh handle = qpdf.parse(text);
        QCOMPARE(qpdf.numberValue(handle), number);
        QCOMPARE(qpdf.nameValue(handle), name);
        QCOMPARE(qpdf.boolValue(handle), boolean);
        // A read of the wrong type leaves the layer usable.
        QVERIFY(qpdf.isDictionary(qpdf.root()));
        // Through an indirect reference the object itself is read.
        const qpdf_oh indirect = qpdf.makeIndirect(qpdf.parse(text));
        QCOMPARE(qpdf.numberValue(indirect), number);
        QCOMPARE(qpdf.nameValue(indirect), name);
        QCOMPARE(qpdf.boolValue(indirect), boolean);
    }

    void malformedTextFails_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("open dictionary") << QByteArray("<< /A 1");
        QTest::newRow("stray closer") << QByteArray("]");
        QTest::newRow("two objects") << QByteArray("1 2 3 x");
    }

    void malformedTextFails()
    {
        QFETCH(QByteArray, text);
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        QCOMPARE(failureOf([&] { qpdf.parse(text); }), QStringLiteral("qpdf"));
    }

    void copyDirect_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        using namespace QpdfLimits;
        QTest::newRow("array at the limit") << arrayOf(kMaxCopiedArrayItems) << QString();
        QTest::newRow("array past the limit") << arrayOf(kMaxCopiedArrayItems + 1) << QStringLiteral("array limit");
        QTest::newRow("dictionary at the limit") << dictionaryOf(kMaxCopiedDictionaryKeys) << QString();
        QTest::newRow("dictionary past the limit")
            << dictionaryOf(kMaxCopiedDictionaryKeys + 1) << QStringLiteral("dictionary limit");
        QTest::newRow("empty array") << QByteArray("[]") << QString();
        QTest::newRow("scalar") << QByteArray("(text)") << QString();
    }

    void copyDirect()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        const qpdf_oh original = qpdf.parse(text);
        qpdf_oh copy = 0;
        QCOMPARE(failureOf([&] { copy = qpdf.copyDirect(original); }), reason);
        if (reason.isEmpty()) {
            QCOMPARE(qpdf.unparse(copy), qpdf.unparse(original));
            QCOMPARE(qpdf.objectNumber(copy), 0);
        }
    }

    void copiesKeepReferencesAndLeaveTheOriginal()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        const qpdf_oh root = qpdf.root();
        const QByteArray pagesReference = qpdf.unparse(qpdf.key(root, "/Pages"));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+ 0 R$")).match(QString::fromLatin1(pagesReference)).hasMatch());
        const qpdf_oh copy = qpdf.copyDirect(root);
        QCOMPARE(qpdf.unparse(qpdf.key(copy, "/Pages")), pagesReference);
        qpdf.setKey(copy, "/Extra", qpdf.parse("1"));
        QVERIFY(!qpdf.hasKey(root, "/Extra"));
        // A direct copy is nobody's indirect object: nothing to rewrite.
        QVERIFY(qpdf.changedObjects().empty());
    }

    void changesMarkTheIndirectObject()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        const qpdf_oh root = qpdf.root();
        const int rootNumber = qpdf.objectNumber(root);
        QVERIFY(rootNumber > 0);
        qpdf.setKey(root, "/VelkMark", qpdf.parse("1"));
        QCOMPARE(qpdf.changedObjects().size(), size_t(1));
        QCOMPARE(qpdf.changedObjects().begin()->first, rootNumber);

        const qpdf_oh made = qpdf.makeIndirect(qpdf.parse("<< /New true >>"));
        const int madeNumber = qpdf.objectNumber(made);
        QVERIFY(madeNumber > rootNumber);
        QCOMPARE(qpdf.unparse(made), QByteArray::number(madeNumber) + " 0 R");
        QCOMPARE(qpdf.changedObjects().size(), size_t(2));
        QCOMPARE(qpdf.changedObjects().rbegin()->first, madeNumber);
        qpdf.newStreamData()[madeNumber] = "raw";
        QCOMPARE(qpdf.newStreamData().at(madeNumber), QByteArray("raw"));
    }

    void newStreamCarriesItsDictionaryAndBytes()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readMemory(pdfBytes());
        const qpdf_oh entries = qpdf.parse("<< /Type /XObject /Subtype /Form >>");
        qpdf.setKey(entries, "/Catalog", qpdf.root());
        const qpdf_oh stream = qpdf.newStream(entries, QByteArray("0 0 m\n", 6));
        QVERIFY(qpdf.isStream(stream));
        const int number = qpdf.objectNumber(stream);
        QVERIFY(number > 0);
        QCOMPARE(qpdf.changedObjects().count(number), size_t(1));
        const qpdf_oh dictionary = qpdf.streamDictionary(stream);
        QCOMPARE(qpdf.unparse(qpdf.key(dictionary, "/Subtype")), QByteArray("/Form"));
        QCOMPARE(qpdf.unparse(qpdf.key(dictionary, "/Catalog")), qpdf.unparse(qpdf.root()));

        // Written and read again, the stream holds its bytes.
        qpdf.setKey(qpdf.root(), "/VelkStream", stream);
        Qpdf again;
        QVERIFY(again.bindQpdf(applicationDirectory()));
        again.readMemory(qpdf.writeToMemory());
        const qpdf_oh written = again.key(again.root(), "/VelkStream");
        QVERIFY(again.isStream(written));
        QCOMPARE(again.unparse(again.key(again.streamDictionary(written), "/Type")), QByteArray("/XObject"));
        QCOMPARE(failureOf([&] { qpdf.newStream(qpdf.parse("[1]"), "x"); }), QStringLiteral("qpdf"));
    }

    void callsAfterAnErrorKeepFailing()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        QCOMPARE(failureOf([&] { qpdf.readMemory(withBrokenStartXref(pdfBytes())); }), QStringLiteral("qpdf"));
        QCOMPARE(failureOf([&] { qpdf.root(); }), QStringLiteral("qpdf"));
    }

    void unboundLayerFails()
    {
        Qpdf qpdf;
        QCOMPARE(failureOf([&] { qpdf.readMemory(pdfBytes()); }), QStringLiteral("qpdf"));
        QCOMPARE(failureOf([&] { qpdf.parse("1"); }), QStringLiteral("qpdf"));
    }
};

QTEST_GUILESS_MAIN(QpdfBindingTest)
#include "QpdfBindingTest.moc"
