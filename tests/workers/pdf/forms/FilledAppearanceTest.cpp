// Filled text, combo and list fields show every Turkish letter: the form is
// filled by the real worker in the real sandbox, read back through
// "fields", judged by qpdf, and drawn by the worker's "render" and by
// poppler's pdftoppm. Each of ğ ı İ ş leaves ink in its box that differs
// from its base letter, and filled text is as wide as the same text
// inserted by "addText" at the same size. Fields with two widgets, a
// rotated widget and a password field get their own appearances, also
// when the form asks readers to regenerate them; such a form's other
// fields keep showing the values they store; a form with only check boxes
// changed is saved as PDFium writes it.

#include "common/EngineLibrary.h"
#include "workers/pdf/edit/EditRun.h"
#include "edit/EmbeddedFont.h"
#include "FormFixture.h"
#include "workers/pdf/edit/IndependentJudges.h"
#include "qpdf/Qpdf.h"
#include "RenderedInk.h"
#include "RequestDispatcher.h"
#include "support/TestPaths.h"
#include "forms/appearance/TrueTypeFont.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kTurkish = QString::fromUtf8("Çağrı İşık ğüşıöç");
const QString kMeasured = QString::fromUtf8("Çağrı İşık");
const QString kSecretValue = QStringLiteral("SirDeger123");
const QStringList kLetters = {QString::fromUtf8("ğ"), QString::fromUtf8("ı"), QString::fromUtf8("İ"),
                              QString::fromUtf8("ş"), QStringLiteral("g"),   QStringLiteral("i"),
                              QStringLiteral("I"),    QStringLiteral("s")};
constexpr double kFontSize = 24;

// Annotation indices on page 0, in field order.
enum Widget {
    kText = 0,
    kMeasuredText,
    kFirstLetter,
    kCombo = kFirstLetter + 8,
    kList,
    kRotated,
    kSecret,
    kCheckBox,
    kTwoWidgets,
    kSecondWidget
};

const QRectF kMeasuredRect(40, 700, 300, 40);
const QRectF kComboRect(40, 540, 200, 30);
const QRectF kListRect(300, 480, 200, 90);
const QRectF kRotatedRect(520, 200, 50, 260);
const QRectF kTwoWidgetsRect(40, 300, 200, 30);

QRectF letterRect(int index)
{
    return QRectF(40 + 64 * index, 620, 56, 40);
}

// A text string in UTF-16BE with its byte order mark, as forms carry
// letters outside PDFDocEncoding.
QByteArray unicodeString(const QString& text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar unit : text) {
        bytes += char(unit.unicode() >> 8);
        bytes += char(unit.unicode() & 0xFF);
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

PdfFormField field(const QByteArray& type, const QByteArray& name, int flags, const QByteArray& entries,
                   const QRectF& rect)
{
    PdfFormField result;
    result.type = type;
    result.name = name;
    result.flags = flags;
    result.entries = entries;
    result.rect = rect;
    return result;
}

PdfFormSpec appearanceForm()
{
    const QByteArray da24 = "/DA (/Helv 24 Tf 0 g)";
    PdfFormSpec spec;
    spec.fields << field("/Tx", "metin", 0, da24, QRectF(40, 770, 520, 40))
                << field("/Tx", "olcu", 0, da24, kMeasuredRect);
    for (int i = 0; i < kLetters.size(); ++i)
        spec.fields << field("/Tx", "harf" + QByteArray::number(i), 0, da24, letterRect(i));
    spec.fields << field("/Ch", "il", 131072,
                         "/Opt [(Ankara) " + unicodeString(QString::fromUtf8("Muğla")) + " (Izmir)] /DA (/Helv 14 Tf 0 g)",
                         kComboRect)
                << field("/Ch", "ilce", 0,
                         "/Opt [" + unicodeString(QString::fromUtf8("Beşiktaş")) + ' '
                             + unicodeString(QString::fromUtf8("Şişli")) + ' '
                             + unicodeString(QString::fromUtf8("Üsküdar")) + "] /DA (/Helv 14 Tf 0 g)",
                         kListRect)
                << field("/Tx", "dondur", 0, "/MK << /R 90 >> /DA (/Helv 18 Tf 0 g)", kRotatedRect)
                << field("/Tx", "gizli", 8192, "/DA (/Helv 14 Tf 0 g)", QRectF(40, 420, 200, 30));
    PdfFormField check = field("/Btn", "onay", 0, {}, QRectF(300, 420, 20, 20));
    check.states = {"Yes"};
    PdfFormField twoWidgets = field("/Tx", "ikili", 0, "/DA (/Helv 18 Tf 0 g)", kTwoWidgetsRect);
    twoWidgets.widgets = 2;
    spec.fields << check << twoWidgets;
    return spec;
}

// A form asking readers to regenerate appearances, whose fields a tool gave
// values without drawing them. The field the test fills is on the first
// page; the others are on the second, which the form-fill layer never
// opens (it redraws the widgets of the pages it opens itself), in
// annotation order: "Muğla" without an appearance, "Mugla" without one,
// "Iğdır" with an empty one, a combo box holding the export value of
// "Muğla" with an empty one, and a field without a value.
enum StoredValueWidget { kMugla = 0, kMuglaBase, kIgdir, kStoredCombo, kNoValue };
const QRectF kFilledHereRect(40, 740, 200, 40);

QRectF storedValueRect(int widget)
{
    return QRectF(40, 680 - 60 * widget, 200, 40);
}

PdfFormField onSecondPage(PdfFormField field)
{
    field.page = 1;
    return field;
}

PdfFormSpec storedValueForm()
{
    const QByteArray da = " /DA (/Helv 18 Tf 0 g)";
    const QByteArray stale = " /AP << /N 5 0 R >>";
    const QByteArray mugla = unicodeString(QString::fromUtf8("Muğla"));
    PdfFormSpec spec;
    spec.pages = 2;
    spec.needAppearances = true;
    const QList<PdfFormField> others{
        field("/Tx", "mugla", 0, "/V " + mugla + da, storedValueRect(kMugla)),
        field("/Tx", "mugla_g", 0, "/V (Mugla)" + da, storedValueRect(kMuglaBase)),
        field("/Tx", "igdir", 0, "/V " + unicodeString(QString::fromUtf8("Iğdır")) + stale + da,
              storedValueRect(kIgdir)),
        field("/Ch", "il", 131072, "/Opt [(Ankara) [(m) " + mugla + "]] /V (m)" + stale + da,
              storedValueRect(kStoredCombo)),
        field("/Tx", "bos", 0, da, storedValueRect(kNoValue))};
    spec.fields << field("/Tx", "ad", 0, da, kFilledHereRect);
    for (const PdfFormField& other : others)
        spec.fields << onSecondPage(other);
    return spec;
}

// The form's own entry, as qpdf reads the file; empty when unreadable.
QByteArray needAppearancesOf(const QString& path)
{
    try {
        Qpdf qpdf;
        if (!qpdf.bindQpdf())
            return {};
        qpdf.readFile(path);
        return qpdf.unparseResolved(qpdf.key(qpdf.key(qpdf.root(), "/AcroForm"), "/NeedAppearances"));
    } catch (const QpdfFailure&) {
        return {};
    }
}

QJsonArray selection(int index)
{
    return QJsonArray{index};
}

QJsonArray allUpdates()
{
    QJsonArray updates{update(kText, "value", kTurkish), update(kMeasuredText, "value", kMeasured)};
    for (int i = 0; i < kLetters.size(); ++i)
        updates.append(update(kFirstLetter + i, "value", kLetters.at(i)));
    updates << update(kCombo, "selection", selection(1)) << update(kList, "selection", selection(1))
            << update(kRotated, "value", QString::fromUtf8("Dikey yazı")) << update(kSecret, "value", kSecretValue)
            << update(kCheckBox, "checked", true) << update(kTwoWidgets, "value", QString::fromUtf8("İki görünüş"));
    return updates;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The decoded data of one object's stream, by qpdf.
QByteArray streamData(const QString& path, const QString& reference)
{
    QProcess process;
    process.start(QStringLiteral("qpdf"), {QStringLiteral("--show-object=") + reference.section(u' ', 0, 0),
                                           QStringLiteral("--filtered-stream-data"), path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QRectF rectOf(const QJsonObject& annotation)
{
    const QList<double> r = numbers(annotation.value(QStringLiteral("/Rect")));
    return r.size() == 4 ? QRectF(QPointF(r.at(0), r.at(1)), QPointF(r.at(2), r.at(3))).normalized() : QRectF();
}

} // namespace

class FilledAppearanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_outputs = 0;
    QString m_form;
    QString m_filled;
    QImage m_worker;
    QImage m_poppler;

    QString freshOutput() { return freshOutputIn(m_dir.path(), m_outputs, QStringLiteral("out.pdf")); }
    const QImage& rendering(const QString& renderer) const { return renderer == "worker" ? m_worker : m_poppler; }

    static void addRenderers()
    {
        QTest::addColumn<QString>("renderer");
        QTest::newRow("worker render") << QStringLiteral("worker");
        QTest::newRow("pdftoppm") << QStringLiteral("poppler");
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Engines come from the application directory, not from beside the test.
        EngineLibrary::setDefaultDirectory(velk::test::applicationDirectory());
        QVERIFY(m_dir.isValid());
        m_form = m_dir.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(m_form, appearanceForm()));
        m_filled = freshOutput();
        QCOMPARE(withoutIsolation(runEditSandboxed(fillRequest(m_form, m_filled, allUpdates())).json),
                 QJsonObject({{"ok", true}}));
        m_worker = workerRendering(m_filled);
        m_poppler = popplerRendering(m_filled);
        QVERIFY(!m_worker.isNull());
        QVERIFY(!m_poppler.isNull());
        QCOMPARE(m_worker.size(), m_poppler.size());
    }

    void filledValuesReadBackExactly()
    {
        QVERIFY(qpdfAccepts(m_filled));
        const QJsonObject listed =
            withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("fields"), m_filled, {})).json);
        QCOMPARE(entryAt(listed, 0, kText).value("value").toString(), kTurkish);
        QCOMPARE(entryAt(listed, 0, kMeasuredText).value("value").toString(), kMeasured);
        for (int i = 0; i < kLetters.size(); ++i)
            QCOMPARE(entryAt(listed, 0, kFirstLetter + i).value("value").toString(), kLetters.at(i));
        QCOMPARE(entryAt(listed, 0, kCombo).value("value").toString(), QString::fromUtf8("Muğla"));
        const QJsonArray options = entryAt(listed, 0, kList).value("options").toArray();
        QCOMPARE(options.size(), 3);
        QCOMPARE(options.at(1).toObject().value("label").toString(), QString::fromUtf8("Şişli"));
        for (int i = 0; i < options.size(); ++i)
            QCOMPARE(options.at(i).toObject().value("selected").toBool(), i == 1);
        QCOMPARE(entryAt(listed, 0, kRotated).value("value").toString(), QString::fromUtf8("Dikey yazı"));
        QVERIFY(entryAt(listed, 0, kCheckBox).value("checked").toBool());
        QCOMPARE(entryAt(listed, 0, kTwoWidgets).value("value").toString(), QString::fromUtf8("İki görünüş"));
        QCOMPARE(entryAt(listed, 0, kSecondWidget).value("value").toString(), QString::fromUtf8("İki görünüş"));
    }

    void turkishLettersShowInk_data()
    {
        QTest::addColumn<QString>("renderer");
        QTest::addColumn<int>("letter");
        for (const QString& renderer : {QStringLiteral("worker"), QStringLiteral("poppler")}) {
            for (int i = 0; i < 4; ++i) {
                const QByteArray row = renderer.toUtf8() + ' ' + kLetters.at(i).toUtf8();
                QTest::newRow(row.constData()) << renderer << i;
            }
        }
    }

    void turkishLettersShowInk()
    {
        QFETCH(QString, renderer);
        QFETCH(int, letter);
        const QImage& image = rendering(renderer);
        const QRect turkish = pixelBox(letterRect(letter));
        const QRect base = pixelBox(letterRect(letter + 4));
        QVERIFY2(inkIn(image, turkish).pixels > 50, "no letter drawn");
        QVERIFY(inkIn(image, base).pixels > 50);
        const int differing = differingPixels(image, turkish, base);
        QVERIFY2(differing > 15, qPrintable(QStringLiteral("only %1 pixels differ").arg(differing)));
    }

    void filledTextAsWideAsInsertedText_data() { addRenderers(); }

    void filledTextAsWideAsInsertedText()
    {
        QFETCH(QString, renderer);
        const QString blank = m_dir.filePath(QStringLiteral("blank.pdf"));
        if (!QFile::exists(blank))
            QVERIFY(writePdf(blank, fixtureOf({PdfPageSpec{595, 842, 0, ""}})));
        const QString inserted = freshOutput();
        QCOMPARE(withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("addText"), blank, inserted,
                                                               {{"page", 0},
                                                                {"text", kMeasured},
                                                                {"x", 0.1},
                                                                {"y", 0.5},
                                                                {"size", kFontSize}}))
                                      .json),
                 QJsonObject({{"ok", true}}));
        const QImage reference = renderer == "worker" ? workerRendering(inserted) : popplerRendering(inserted);
        QVERIFY(!reference.isNull());
        const Ink expected = inkIn(reference, reference.rect());
        const Ink filled = inkIn(rendering(renderer), pixelBox(kMeasuredRect));
        QVERIFY(expected.pixels > 200);
        QVERIFY2(qAbs(filled.bounds.width() - expected.bounds.width()) <= 4,
                 qPrintable(QStringLiteral("filled %1 px, inserted %2 px")
                                .arg(filled.bounds.width())
                                .arg(expected.bounds.width())));
        QVERIFY(qAbs(filled.bounds.height() - expected.bounds.height()) <= 4);
    }

    void choicesShowTheirLabels_data() { addRenderers(); }

    void choicesShowTheirLabels()
    {
        QFETCH(QString, renderer);
        const QImage& image = rendering(renderer);
        QVERIFY(inkIn(image, pixelBox(kComboRect)).pixels > 100);
        // Every option line of the list shows its label.
        const QRect list = pixelBox(kListRect);
        QVERIFY(inkIn(image, list).pixels > 300);
        QVERIFY(inkIn(image, list.adjusted(0, 0, 0, -list.height() * 2 / 3)).pixels > 50);
    }

    void rotatedWidgetWritesUpwards_data() { addRenderers(); }

    void rotatedWidgetWritesUpwards()
    {
        QFETCH(QString, renderer);
        const Ink ink = inkIn(rendering(renderer), pixelBox(kRotatedRect));
        QVERIFY(ink.pixels > 100);
        QVERIFY2(ink.bounds.height() > 2 * ink.bounds.width(),
                 qPrintable(QStringLiteral("%1 x %2").arg(ink.bounds.width()).arg(ink.bounds.height())));
    }

    void everyWidgetOfAFieldGetsTheAppearance_data() { addRenderers(); }

    void everyWidgetOfAFieldGetsTheAppearance()
    {
        QFETCH(QString, renderer);
        const QList<QJsonObject> annotations = qpdfAnnotations(m_filled, 0);
        QCOMPARE(annotations.size(), int(kSecondWidget) + 1);
        for (const int widget : {int(kTwoWidgets), int(kSecondWidget)}) {
            const QJsonObject appearance = annotations.at(widget).value("/AP").toObject();
            QCOMPARE(appearance.keys(), QStringList{"/N"});
            QVERIFY(inkIn(rendering(renderer), pixelBox(rectOf(annotations.at(widget)))).pixels > 100);
        }
    }

    void passwordAppearanceHidesTheValue()
    {
        const QList<QJsonObject> annotations = qpdfAnnotations(m_filled, 0);
        QVERIFY(annotations.size() > kSecret);
        const QString reference = annotations.at(kSecret).value("/AP").toObject().value("/N").toString();
        const QByteArray content = streamData(m_filled, reference);
        QVERIFY2(content.contains("Tj") || content.contains("TJ"), content.constData());
        QVERIFY(!content.contains(kSecretValue.toLatin1()));
        // Nor the glyphs that would spell it.
        const std::optional<TrueTypeFont> font = TrueTypeFont::parse(EmbeddedFont::read());
        QVERIFY(font.has_value());
        QByteArray glyphs;
        for (const QChar letter : kSecretValue.left(3))
            glyphs += QByteArray::number(font->glyphFor(letter.unicode()), 16).rightJustified(4, '0');
        QVERIFY(!content.toLower().contains(glyphs.toLower()));
        QVERIFY(!popplerText(m_filled, 0).contains(kSecretValue));
    }

    // A form asking readers to regenerate appearances would have both draw
    // the filled fields in its simple font again.
    void regeneratingFormKeepsTheLetters()
    {
        PdfFormSpec spec;
        for (const int letter : {0, 4})
            spec.fields << field("/Tx", "harf" + QByteArray::number(letter), 0, "/DA (/Helv 24 Tf 0 g)",
                                 letterRect(letter));
        spec.needAppearances = true;
        const QString form = m_dir.filePath(QStringLiteral("regenerating.pdf"));
        QVERIFY(writeFormPdf(form, spec));
        const QString output = freshOutput();
        const QJsonArray updates{update(0, "value", kLetters.at(0)), update(1, "value", kLetters.at(4))};
        QCOMPARE(withoutIsolation(runEditSandboxed(fillRequest(form, output, updates)).json),
                 QJsonObject({{"ok", true}}));
        for (const QImage& image : {workerRendering(output), popplerRendering(output)}) {
            QVERIFY(!image.isNull());
            QVERIFY(inkIn(image, pixelBox(letterRect(0))).pixels > 50);
            QVERIFY(differingPixels(image, pixelBox(letterRect(0)), pixelBox(letterRect(4))) > 15);
        }
    }

    // Values the form stored without drawing them stay in view once readers
    // no longer regenerate appearances, in the embedded font.
    void storedValuesStayVisible_data() { addRenderers(); }

    void storedValuesStayVisible()
    {
        QFETCH(QString, renderer);
        const QString form = m_dir.filePath(QStringLiteral("stored.pdf"));
        const QString output = m_dir.filePath(QStringLiteral("stored-filled.pdf"));
        if (!QFile::exists(output)) {
            QVERIFY(writeFormPdf(form, storedValueForm()));
            QCOMPARE(withoutIsolation(
                         runEditSandboxed(fillRequest(form, output, {update(0, "value", kLetters.at(3))})).json),
                     QJsonObject({{"ok", true}}));
        }
        QVERIFY(qpdfAccepts(output));
        QVERIFY(QList<QByteArray>({"false", "null"}).contains(needAppearancesOf(output)));
        const bool worker = renderer == "worker";
        const QImage filled = worker ? workerRendering(output) : popplerRendering(output);
        QVERIFY(!filled.isNull());
        QVERIFY(inkIn(filled, pixelBox(kFilledHereRect)).pixels > 50);
        const QImage image = worker ? workerRendering(output, 1) : popplerRendering(output, 1);
        QVERIFY(!image.isNull());
        for (int widget = kMugla; widget < kNoValue; ++widget) {
            const int ink = inkIn(image, pixelBox(storedValueRect(widget))).pixels;
            QVERIFY2(ink > 100, qPrintable(QStringLiteral("widget %1: %2 dark pixels").arg(widget).arg(ink)));
        }
        QCOMPARE(inkIn(image, pixelBox(storedValueRect(kNoValue))).pixels, 0);
        const int differing =
            differingPixels(image, pixelBox(storedValueRect(kMugla)), pixelBox(storedValueRect(kMuglaBase)));
        QVERIFY2(differing > 15, qPrintable(QStringLiteral("only %1 pixels differ").arg(differing)));
    }

    // Refusals after filling, in-process: nothing reaches the output.
    void failuresAfterFillingWriteNothing_data()
    {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<bool>("outputExists");
        QTest::addColumn<QString>("error");
        // An option of three entries is no [export display] pair; the
        // form-fill layer still offers it.
        QTest::newRow("option that is no pair") << QByteArray("[[(a) (A) (x)] (b)]") << false
                                                << QString::fromUtf8(
                                                       "Form alanı görünümü oluşturulamadı; çıktı kaydedilmedi.");
        QTest::newRow("output already there") << QByteArray("[(a) (b)]") << true
                                              << QString::fromUtf8("Yeni bir çıktı dosyası gerekli.");
    }

    void failuresAfterFillingWriteNothing()
    {
        QFETCH(QByteArray, options);
        QFETCH(bool, outputExists);
        QFETCH(QString, error);
        PdfFormSpec spec;
        spec.fields << field("/Ch", "secenek", 131072, "/Opt " + options + " /DA (/Helv 12 Tf 0 g)", kComboRect);
        const QString form = m_dir.filePath(QStringLiteral("failing.pdf"));
        QVERIFY(writeFormPdf(form, spec));
        const QString output = freshOutput();
        if (outputExists)
            QVERIFY(writePdf(output));
        const QStringList before = entriesIn(QFileInfo(output).path());
        QCOMPARE(dispatchRequest(fillRequest(form, output, {update(0, "selection", selection(1))})), refusal(error));
        QCOMPARE(entriesIn(QFileInfo(output).path()), before);
    }

    void checkBoxesOnlyAreSavedAsBefore()
    {
        const QString output = freshOutput();
        QCOMPARE(withoutIsolation(
                     runEditSandboxed(fillRequest(m_form, output, {update(kCheckBox, "checked", true)})).json),
                 QJsonObject({{"ok", true}}));
        QVERIFY(qpdfAccepts(output));
        QVERIFY(!fileBytes(output).contains("/VelkUnicode"));
        QVERIFY(fileBytes(m_filled).contains("/VelkUnicode"));
        const QJsonObject listed =
            withoutIsolation(runEditSandboxed(editRequest(QStringLiteral("fields"), output, {})).json);
        QVERIFY(entryAt(listed, 0, kCheckBox).value("checked").toBool());
    }
};

QTEST_GUILESS_MAIN(FilledAppearanceTest)
#include "FilledAppearanceTest.moc"
