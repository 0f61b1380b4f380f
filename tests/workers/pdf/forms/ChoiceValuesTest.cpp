// What a choice field holds now, read in-process through the real qpdf:
// its options, the text a combo box shows for its /V, and the options a
// list box has selected by /I or, failing that, by /V.

#include "forms/appearance/ChoiceValues.h"
#include "common/EngineLibrary.h"
#include "FormFixture.h"
#include "support/TestPaths.h"

#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

// "Muğla" as a UTF-16BE text string.
const QByteArray kMugla = "<FEFF004D0075011F006C0061>";

// A form of one choice field with these entries; two widgets put the
// entries on their parent field.
QByteArray choiceForm(const QByteArray& entries, int widgets = 1)
{
    PdfFormField field;
    field.type = "/Ch";
    field.name = "secim";
    field.entries = entries;
    field.widgets = widgets;
    PdfFormSpec spec;
    spec.fields << field;
    return formPdfBytes(spec);
}

struct ChoiceField {
    Qpdf qpdf;
    FieldChain chain;

    bool read(const QByteArray& bytes)
    {
        if (!qpdf.bindQpdf())
            return false;
        qpdf.readMemory(bytes);
        chain = fieldChainOf(qpdf, qpdf.arrayItem(qpdf.key(qpdf.page(0), "/Annots"), 0));
        return true;
    }
    QList<ChoiceValues::ChoiceOption> options() { return ChoiceValues::options(qpdf, chain).value(); }
};

} // namespace

class ChoiceValuesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
    }

    void optionsRead_data()
    {
        QTest::addColumn<QByteArray>("opt");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QStringList>("exports");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("plain and pairs") << QByteArray("[(a) [(x) " + kMugla + "]]") << true
                                         << QStringList{"a", "x"} << QStringList{"a", QString::fromUtf8("Muğla")};
        QTest::newRow("export of another kind") << QByteArray("[[5 (B)]]") << true << QStringList{""}
                                                << QStringList{"B"};
        QTest::newRow("empty") << QByteArray("[]") << true << QStringList{} << QStringList{};
        QTest::newRow("entry of three") << QByteArray("[[(a) (A) (x)]]") << false << QStringList{} << QStringList{};
        QTest::newRow("label no text") << QByteArray("[[(a) 1]]") << false << QStringList{} << QStringList{};
        QTest::newRow("not an array") << QByteArray("(a)") << false << QStringList{} << QStringList{};
        QByteArray many = "[";
        for (int i = 0; i < 257; ++i)
            many += " (o)";
        QTest::newRow("257 options") << many + ']' << false << QStringList{} << QStringList{};
    }

    void optionsRead()
    {
        QFETCH(QByteArray, opt);
        QFETCH(bool, readable);
        QFETCH(QStringList, exports);
        QFETCH(QStringList, labels);
        ChoiceField field;
        QVERIFY(field.read(choiceForm("/Opt " + opt)));
        const auto options = ChoiceValues::options(field.qpdf, field.chain);
        QCOMPARE(options.has_value(), readable);
        if (!readable)
            return;
        QStringList readExports;
        QStringList readLabels;
        for (const ChoiceValues::ChoiceOption& option : *options) {
            readExports << option.exportValue;
            readLabels << option.label;
        }
        QCOMPARE(readExports, exports);
        QCOMPARE(readLabels, labels);
    }

    void comboShowsItsValue_data()
    {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<int>("widgets");
        QTest::addColumn<QString>("shown");
        const QByteArray opt = "/Opt [(Ankara) [(m) " + kMugla + "]] ";
        const QString mugla = QString::fromUtf8("Muğla");
        QTest::newRow("export value") << opt + "/V (m)" << 1 << mugla;
        QTest::newRow("label") << opt + "/V " + kMugla << 1 << mugla;
        QTest::newRow("export value before label")
            << QByteArray("/Opt [[(x) (m)] [(m) " + kMugla + "]] /V (m)") << 1 << mugla;
        QTest::newRow("editable own text") << opt + "/V (Bodrum)" << 1 << QStringLiteral("Bodrum");
        QTest::newRow("no options") << QByteArray("/V (Bodrum)") << 1 << QStringLiteral("Bodrum");
        QTest::newRow("unreadable options") << QByteArray("/Opt 5 /V (Bodrum)") << 1 << QStringLiteral("Bodrum");
        QTest::newRow("value on the parent") << opt + "/V (m)" << 2 << mugla;
        QTest::newRow("no value") << opt << 1 << QString();
        QTest::newRow("value a name") << opt + "/V /m" << 1 << QString();
        QTest::newRow("value an array") << opt + "/V [(m)]" << 1 << QString();
    }

    void comboShowsItsValue()
    {
        QFETCH(QByteArray, entries);
        QFETCH(int, widgets);
        QFETCH(QString, shown);
        ChoiceField field;
        QVERIFY(field.read(choiceForm(entries, widgets)));
        const QList<ChoiceValues::ChoiceOption> options =
            ChoiceValues::options(field.qpdf, field.chain).value_or(QList<ChoiceValues::ChoiceOption>());
        QCOMPARE(ChoiceValues::shownComboText(field.qpdf, field.chain, options), shown);
    }

    void listSelectionFromIndicesOrValue_data()
    {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<QList<int>>("selection");
        const QByteArray opt = "/Opt [[(b) (Besiktas)] [(s) (Sisli)] (u)] ";
        QTest::newRow("indices") << opt + "/I [2 0] /V (s)" << QList<int>{0, 2};
        QTest::newRow("repeated index") << opt + "/I [1 1]" << QList<int>{1};
        QTest::newRow("index past the end") << opt + "/I [3] /V (s)" << QList<int>{1};
        QTest::newRow("negative index") << opt + "/I [-1] /V (s)" << QList<int>{1};
        QTest::newRow("fractional index") << opt + "/I [1.5] /V (b)" << QList<int>{0};
        QTest::newRow("index not a number") << opt + "/I [(1)] /V (b)" << QList<int>{0};
        QTest::newRow("no indices") << opt + "/I [] /V (u)" << QList<int>{2};
        QTest::newRow("value") << opt + "/V (s)" << QList<int>{1};
        QTest::newRow("values") << opt + "/V [(u) (b)]" << QList<int>{0, 2};
        QTest::newRow("values with a number") << opt + "/V [(s) 5]" << QList<int>{1};
        QTest::newRow("label is no export value") << opt + "/V (Sisli)" << QList<int>{};
        QTest::newRow("nothing stored") << opt << QList<int>{};
    }

    void listSelectionFromIndicesOrValue()
    {
        QFETCH(QByteArray, entries);
        QFETCH(QList<int>, selection);
        ChoiceField field;
        QVERIFY(field.read(choiceForm(entries)));
        QCOMPARE(ChoiceValues::storedListSelection(field.qpdf, field.chain, field.options()), selection);
    }
};

QTEST_GUILESS_MAIN(ChoiceValuesTest)
#include "ChoiceValuesTest.moc"
