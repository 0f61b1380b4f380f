// The appearance rewrite in-process, against the real qpdf and the embedded
// font: every widget of a filled field gets one normal appearance in the
// one embedded Unicode font, with its box turned by /MK /R, the widget's
// other appearances dropped and its state kept, and readers are no longer
// asked to regenerate appearances; a form that asked has its other text and
// choice fields drawn with their stored values, a form that did not keeps
// every other appearance; documents it cannot read end in the one sentence
// and no bytes.

#include "forms/appearance/AppearanceRewrite.h"
#include "common/EngineLibrary.h"
#include "edit/EmbeddedFont.h"
#include "FormFixture.h"
#include "qpdf/Qpdf.h"
#include "support/TestPaths.h"

#include <QTest>

using namespace velk;
using namespace velk::test;

Q_DECLARE_METATYPE(velk::FilledWidget)

namespace {

const QString kFailure = QString::fromUtf8("Form alanı görünümü oluşturulamadı; çıktı kaydedilmedi.");

PdfFormField textField(const QByteArray& name, const QByteArray& entries, const QRectF& rect = {})
{
    PdfFormField field;
    field.type = "/Tx";
    field.name = name;
    field.entries = entries;
    field.rect = rect;
    return field;
}

// Annotation 0: a text field with an old down appearance and a state;
// 1 and 2: the two widgets of one field that takes its /DA from the form;
// 3: a combo box of two options; 4: a widget turned by 90 degrees.
QByteArray sampleBytes()
{
    PdfFormSpec spec;
    PdfFormField twoWidgets = textField("ikili", "/V <FEFF011F>");
    twoWidgets.widgets = 2;
    PdfFormField combo = textField("il", "/Opt [(Ankara) [(m) (Mugla)]] /DA (/Helv 9 Tf 0 g)");
    combo.type = "/Ch";
    combo.flags = 131072;
    spec.fields << textField("ad", "/V (Ali) /DA (/Helv 12 Tf 0 g) /AP << /N 5 0 R /D 4 0 R >> /AS /Yes")
                << twoWidgets << combo
                << textField("dik", "/V (Dik) /MK << /R 90 >> /DA (/Helv 10 Tf 0 g)", QRectF(100, 100, 50, 200));
    return formPdfBytes(spec);
}

// "Iğdır" and "Muğla" as UTF-16BE text strings.
const QByteArray kIgdir = "<FEFF0049011F006401310072>";
const QByteArray kMugla = "<FEFF004D0075011F006C0061>";
const QByteArray kStale = " /AP << /N 5 0 R >>";

// Annotation order of storedValuesForm().
enum StoredValueWidget {
    kFilledText = 0,
    kNoAppearance,   // "Muğla", no /AP
    kStaleText,      // "Iğdır", an empty /AP
    kStoredCombo,    // "m", shown as "Muğla"
    kStoredList,     // /I [1]
    kEmptyText,      // no value
    kEditableCombo,  // its own text, no options
    kReadOnlyText,
    kHiddenText,
    kSignature,
    kCheckBox,
    kStoredValueWidgets
};

// One filled field and the fields a tool gave values without drawing them.
QByteArray storedValuesForm(bool needAppearances)
{
    PdfFormSpec spec;
    spec.needAppearances = needAppearances;
    PdfFormField combo = textField("il", "/Opt [(Ankara) [(m) " + kMugla + "]] /V (m)" + kStale);
    combo.type = "/Ch";
    combo.flags = 131072;
    PdfFormField list = textField("ilce", "/Opt [(a) (b)] /I [1]" + kStale);
    list.type = "/Ch";
    PdfFormField editable = textField("serbest", "/V (Bodrum)" + kStale);
    editable.type = "/Ch";
    editable.flags = 131072 | 262144;
    PdfFormField readOnly = textField("sabit", "/V (x)" + kStale);
    readOnly.flags = 1;
    PdfFormField hidden = textField("gizli", "/V (y)" + kStale);
    hidden.annotationFlags = 6;
    PdfFormField signature = textField("imza", {});
    signature.type = "/Sig";
    PdfFormField check = textField("onay", {});
    check.type = "/Btn";
    check.states = {"Yes"};
    spec.fields << textField("ad", "/V (Ali)") << textField("mugla", "/V " + kMugla)
                << textField("igdir", "/V " + kIgdir + kStale) << combo << list << textField("bos", kStale)
                << editable << readOnly << hidden << signature << check;
    return formPdfBytes(spec);
}

FilledWidget filled(int annotation, WidgetKind kind = WidgetKind::Text, const QList<int>& selection = {},
                    int page = 0)
{
    return FilledWidget{page, annotation, kind, selection};
}

struct ReadBack {
    Qpdf qpdf;
    qpdf_oh page = 0;

    bool read(const QByteArray& bytes)
    {
        if (!qpdf.bindQpdf())
            return false;
        qpdf.readMemory(bytes);
        page = qpdf.page(0);
        return true;
    }
    qpdf_oh annotation(int index) { return qpdf.arrayItem(qpdf.key(page, "/Annots"), index); }
    qpdf_oh normalAppearance(int index) { return qpdf.key(qpdf.key(annotation(index), "/AP"), "/N"); }
    qpdf_oh fontOf(qpdf_oh stream)
    {
        return qpdf.key(qpdf.key(qpdf.key(qpdf.streamDictionary(stream), "/Resources"), "/Font"), "/VelkUnicode");
    }
    QByteArray entry(qpdf_oh dictionary, const char* key) { return qpdf.unparse(qpdf.key(dictionary, key)); }
    bool drawnByUs(qpdf_oh widget)
    {
        const qpdf_oh stream = qpdf.key(qpdf.key(widget, "/AP"), "/N");
        return qpdf.isStream(stream) && entry(fontOf(stream), "/Subtype") == "/Type0";
    }
    // The widget's appearances as text, streams by their dictionaries, so
    // that documents numbered differently compare.
    QByteArray appearances(qpdf_oh widget) { return described(qpdf.key(widget, "/AP")); }
    QByteArray described(qpdf_oh object)
    {
        if (qpdf.isStream(object))
            return "stream " + qpdf.unparseResolved(qpdf.streamDictionary(object));
        if (!qpdf.isDictionary(object))
            return qpdf.unparseResolved(object);
        QByteArray text = "<<";
        for (const QByteArray& key : qpdf.keys(object, 8))
            text += ' ' + key + ' ' + described(qpdf.key(object, key.constData()));
        return text + " >>";
    }
    QByteArray needAppearances() { return entry(qpdf.key(qpdf.root(), "/AcroForm"), "/NeedAppearances"); }
};

// A form asking for regeneration: the filled text field 4, another field 5
// whose widget (6) hangs below it as given, the page listing 4 and 6.
QByteArray oddTreeForm(const QByteArray& field, const QByteArray& widget, const QByteArray& annots = "4 0 R 6 0 R",
                       const QByteArray& further = {})
{
    QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [4 0 R 5 0 R] /NeedAppearances true >> >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Annots [" + annots + "] >>",
        "<< /Type /Annot /Subtype /Widget /FT /Tx /T (a) /V (x) /Rect [0 0 50 20] >>",
        field,
        widget};
    if (!further.isEmpty())
        objects << further;
    return pdfFromObjects(objects);
}

} // namespace

class AppearanceRewriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
    }

    void everyWidgetOfTheFieldGetsOneNormalAppearance()
    {
        const RewrittenPdf result = rewriteAppearances(sampleBytes(), {filled(1)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        for (const int widget : {1, 2}) {
            const qpdf_oh stream = back.normalAppearance(widget);
            QVERIFY(back.qpdf.isStream(stream));
            const qpdf_oh dictionary = back.qpdf.streamDictionary(stream);
            QCOMPARE(back.entry(dictionary, "/Subtype"), QByteArray("/Form"));
            QCOMPARE(back.entry(dictionary, "/BBox"), QByteArray("[ 0 0 130 20 ]"));
            QCOMPARE(back.entry(dictionary, "/Matrix"), QByteArray("[ 1 0 0 1 0 0 ]"));
        }
        // The untouched field keeps what it had.
        QCOMPARE(back.qpdf.keys(back.qpdf.key(back.annotation(0), "/AP"), 8),
                 QList<QByteArray>({"/D", "/N"}));
    }

    void oneEmbeddedUnicodeFontServesEveryWidget()
    {
        const RewrittenPdf result = rewriteAppearances(sampleBytes(), {filled(0), filled(1), filled(3, WidgetKind::Combo, {1})});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        const QByteArray reference = back.qpdf.unparse(back.fontOf(back.normalAppearance(0)));
        for (const int widget : {1, 2, 3})
            QCOMPARE(back.qpdf.unparse(back.fontOf(back.normalAppearance(widget))), reference);

        const qpdf_oh font = back.fontOf(back.normalAppearance(0));
        QCOMPARE(back.entry(font, "/Subtype"), QByteArray("/Type0"));
        QCOMPARE(back.entry(font, "/Encoding"), QByteArray("/Identity-H"));
        QVERIFY(back.qpdf.isStream(back.qpdf.key(font, "/ToUnicode")));
        const qpdf_oh descendants = back.qpdf.key(font, "/DescendantFonts");
        QCOMPARE(back.qpdf.arraySize(descendants), 1);
        const qpdf_oh cidFont = back.qpdf.arrayItem(descendants, 0);
        QCOMPARE(back.entry(cidFont, "/Subtype"), QByteArray("/CIDFontType2"));
        QCOMPARE(back.entry(cidFont, "/CIDToGIDMap"), QByteArray("/Identity"));
        QVERIFY(back.qpdf.isArray(back.qpdf.key(cidFont, "/W")));
        const qpdf_oh file = back.qpdf.key(back.qpdf.key(cidFont, "/FontDescriptor"), "/FontFile2");
        QVERIFY(back.qpdf.isStream(file));
        QCOMPARE(back.entry(back.qpdf.streamDictionary(file), "/Length1"),
                 QByteArray::number(EmbeddedFont::read().size()));
    }

    void oldAppearancesGoAndTheStateStays()
    {
        const RewrittenPdf result = rewriteAppearances(sampleBytes(), {filled(0)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        QCOMPARE(back.qpdf.keys(back.qpdf.key(back.annotation(0), "/AP"), 8), QList<QByteArray>{"/N"});
        QCOMPARE(back.entry(back.annotation(0), "/AS"), QByteArray("/Yes"));
    }

    void turnedWidgetTurnsItsBox()
    {
        const RewrittenPdf result = rewriteAppearances(sampleBytes(), {filled(4)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        const qpdf_oh dictionary = back.qpdf.streamDictionary(back.normalAppearance(4));
        QCOMPARE(back.entry(dictionary, "/BBox"), QByteArray("[ 0 0 200 50 ]"));
        QCOMPARE(back.entry(dictionary, "/Matrix"), QByteArray("[ 0 1 -1 0 50 0 ]"));
    }

    void regenerationRequestTurnedOff_data()
    {
        QTest::addColumn<bool>("requested");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("form asks for regeneration") << true << QByteArray("false");
        QTest::newRow("form does not ask") << false << QByteArray("null");
    }

    void regenerationRequestTurnedOff()
    {
        QFETCH(bool, requested);
        QFETCH(QByteArray, written);
        PdfFormSpec spec;
        spec.fields << textField("ad", "/V (Ali) /DA (/Helv 12 Tf 0 g)");
        spec.needAppearances = requested;
        const RewrittenPdf result = rewriteAppearances(formPdfBytes(spec), {filled(0)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        QCOMPARE(back.entry(back.qpdf.key(back.qpdf.root(), "/AcroForm"), "/NeedAppearances"), written);
    }

    void storedValuesDrawnOnlyWhenFormAsks_data()
    {
        QTest::addColumn<bool>("needAppearances");
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("form asks for regeneration")
            << true
            << QList<int>{kFilledText, kNoAppearance, kStaleText, kStoredCombo, kStoredList, kEmptyText, kEditableCombo}
            << QByteArray("false");
        QTest::newRow("form does not ask") << false << QList<int>{kFilledText} << QByteArray("null");
    }

    void storedValuesDrawnOnlyWhenFormAsks()
    {
        QFETCH(bool, needAppearances);
        QFETCH(QList<int>, drawn);
        QFETCH(QByteArray, written);
        const QByteArray form = storedValuesForm(needAppearances);
        const RewrittenPdf result = rewriteAppearances(form, {filled(kFilledText)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        // The form as qpdf writes it unchanged, so that streams compare.
        ReadBack unchanged;
        QVERIFY(unchanged.read(form));
        ReadBack before;
        QVERIFY(before.read(unchanged.qpdf.writeToMemory()));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        QCOMPARE(back.needAppearances(), written);
        for (int widget = 0; widget < kStoredValueWidgets; ++widget) {
            const QByteArray row = "widget " + QByteArray::number(widget);
            if (drawn.contains(widget)) {
                QVERIFY2(back.drawnByUs(back.annotation(widget)), row.constData());
                QCOMPARE(back.qpdf.keys(back.qpdf.key(back.annotation(widget), "/AP"), 8), QList<QByteArray>{"/N"});
            } else {
                QVERIFY2(!back.drawnByUs(back.annotation(widget)), row.constData());
                QCOMPARE(back.appearances(back.annotation(widget)), before.appearances(before.annotation(widget)));
            }
        }
    }

    void oddFieldTreesLeaveTheirWidgets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("drawn");
        const QByteArray widget = "<< /Type /Annot /Subtype /Widget /Parent 5 0 R /Rect [0 0 50 20] >>";
        QTest::newRow("widget on no page") << oddTreeForm("<< /FT /Tx /T (b) /V (y) /Kids [6 0 R] >>", widget, "4 0 R")
                                           << false;
        QTest::newRow("kids in a cycle")
            << oddTreeForm("<< /FT /Tx /T (b) /V (y) /Kids [6 0 R 5 0 R] >>",
                           "<< /Type /Annot /Subtype /Widget /Parent 5 0 R /Rect [0 0 50 20] /Kids [5 0 R] >>")
            << true;
        QTest::newRow("unreadable rectangle")
            << oddTreeForm("<< /FT /Tx /T (b) /V (y) /Kids [6 0 R] >>",
                           "<< /Type /Annot /Subtype /Widget /Parent 5 0 R /Rect [0 0 50] >>")
            << false;
        QTest::newRow("widget of no field")
            << oddTreeForm("<< /FT /Tx /V (y) /Kids [6 0 R] >>", widget) << false;
        QTest::newRow("list without options")
            << oddTreeForm("<< /FT /Ch /T (b) /V (y) /Kids [6 0 R] >>", widget) << false;
        // 5 gives the type, 6 is the field, 7 its widget.
        QTest::newRow("type inherited from above")
            << oddTreeForm("<< /FT /Tx /Kids [6 0 R] >>", "<< /T (b) /V (y) /Parent 5 0 R /Kids [7 0 R] >>",
                           "4 0 R 7 0 R",
                           "<< /Type /Annot /Subtype /Widget /Parent 6 0 R /Rect [0 0 50 20] >>")
            << true;
    }

    void oddFieldTreesLeaveTheirWidgets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, drawn);
        const RewrittenPdf result = rewriteAppearances(bytes, {filled(0)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        ReadBack back;
        QVERIFY(back.read(result.bytes));
        QCOMPARE(back.needAppearances(), QByteArray("false"));
        QVERIFY(back.drawnByUs(back.annotation(0)));
        const qpdf_oh fields = back.qpdf.key(back.qpdf.key(back.qpdf.root(), "/AcroForm"), "/Fields");
        const qpdf_oh field = back.qpdf.arrayItem(fields, 1);
        qpdf_oh widget = back.qpdf.arrayItem(back.qpdf.key(field, "/Kids"), 0);
        if (!back.qpdf.hasKey(widget, "/Subtype"))
            widget = back.qpdf.arrayItem(back.qpdf.key(widget, "/Kids"), 0);
        QCOMPARE(back.drawnByUs(widget), drawn);
    }

    void formsBeyondTheFieldLimitFail_data()
    {
        QTest::addColumn<int>("fields");
        QTest::addColumn<bool>("rewritten");
        // One filled field and the others drawn with their stored values.
        QTest::newRow("1000 others") << 1001 << true;
        QTest::newRow("1001 others") << 1002 << false;
    }

    void formsBeyondTheFieldLimitFail()
    {
        QFETCH(int, fields);
        QFETCH(bool, rewritten);
        PdfFormSpec spec = textFields(fields);
        spec.needAppearances = true;
        const RewrittenPdf result = rewriteAppearances(formPdfBytes(spec), {filled(0)});
        QCOMPARE(result.error.isEmpty(), rewritten);
        QCOMPARE(result.bytes.isEmpty(), !rewritten);
        if (!rewritten)
            QCOMPARE(result.error, kFailure);
    }

    void unreadableDocumentsFail_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<FilledWidget>("widget");
        const QByteArray sample = sampleBytes();
        QTest::newRow("not a PDF") << QByteArray("%PDF-1.7 nothing") << filled(0);
        QTest::newRow("empty") << QByteArray() << filled(0);
        QTest::newRow("annotation past the end") << sample << filled(5);
        QTest::newRow("negative annotation") << sample << filled(-1);
        QTest::newRow("page past the end") << sample << filled(0, WidgetKind::Text, {}, 1);
        QTest::newRow("option past the end") << sample << filled(3, WidgetKind::Combo, {2});
        QTest::newRow("combo without a choice") << sample << filled(3, WidgetKind::Combo, {});
        QTest::newRow("list without options") << sample << filled(0, WidgetKind::List, {0});
        const QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R >>";
        const QByteArray pages = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";
        const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Annots [4 0 R] >>";
        QTest::newRow("parents in a cycle")
            << pdfFromObjects({catalog, pages, page,
                               "<< /Type /Annot /Subtype /Widget /Rect [0 0 10 10] /Parent 5 0 R >>",
                               "<< /Kids [4 0 R] /Parent 6 0 R >>", "<< /Kids [5 0 R] /Parent 5 0 R >>"})
            << filled(0);
        QTest::newRow("widget of no field")
            << pdfFromObjects({catalog, pages, page, "<< /Type /Annot /Subtype /Widget /Rect [0 0 10 10] >>"})
            << filled(0);
        QTest::newRow("rectangle of three numbers")
            << pdfFromObjects({catalog, pages, page,
                               "<< /Type /Annot /Subtype /Widget /FT /Tx /T (a) /Rect [0 0 10] >>"})
            << filled(0);
        QList<QByteArray> chain{catalog, pages, page,
                                "<< /Type /Annot /Subtype /Widget /FT /Tx /T (a) /Rect [0 0 10 10] /Parent 5 0 R >>"};
        for (int level = 0; level < 32; ++level)
            chain << "<< /Parent " + QByteArray::number(6 + level) + " 0 R >>";
        chain << "<< /T (kok) >>";
        QTest::newRow("33 parents") << pdfFromObjects(chain) << filled(0);
    }

    void unreadableDocumentsFail()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(FilledWidget, widget);
        const RewrittenPdf result = rewriteAppearances(bytes, {widget});
        QCOMPARE(result.error, kFailure);
        QVERIFY(result.bytes.isEmpty());
    }

    void thirtyTwoParentsAreRead()
    {
        const QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R >>";
        QList<QByteArray> chain{catalog, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Annots [4 0 R] >>",
                                "<< /Type /Annot /Subtype /Widget /FT /Tx /T (a) /V (x) /Rect [0 0 10 10] /Parent 5 0 R >>"};
        for (int level = 0; level < 31; ++level)
            chain << "<< /Parent " + QByteArray::number(6 + level) + " 0 R >>";
        chain << "<< /T (kok) >>";
        const RewrittenPdf result = rewriteAppearances(pdfFromObjects(chain), {filled(0)});
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    }
};

QTEST_GUILESS_MAIN(AppearanceRewriteTest)
#include "AppearanceRewriteTest.moc"
