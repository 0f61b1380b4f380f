#include "PdfFixtures.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

#include <algorithm>

namespace velk::test {

namespace {

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', 10);
}

QByteArray literalString(const QByteArray& text)
{
    QByteArray escaped;
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            escaped.append('\\');
        escaped.append(c);
    }
    return '(' + escaped + ')';
}

QByteArray reference(int object)
{
    return QByteArray::number(object) + " 0 R";
}

// Codes 128..133 of the Turkish font: WinAnsi otherwise, so Latin-1 keeps
// its own codes.
const char kTurkishDifferences[] = "128 /Gbreve /gbreve /Idotaccent /dotlessi /Scedilla /scedilla";
constexpr char16_t kTurkishLetters[] = u"ĞğİıŞş";

QByteArray turkishEncoded(const QString& line)
{
    QByteArray bytes;
    for (const QChar c : line) {
        const qsizetype turkish = QStringView(kTurkishLetters).indexOf(c);
        if (turkish >= 0)
            bytes.append(char(128 + turkish));
        else if (c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF))
            bytes.append(char(c.unicode()));
        else
            bytes.append('?');
    }
    return bytes;
}

// UTF-16BE with its byte-order mark, as a hexadecimal string; an empty text
// is the empty literal string.
QByteArray textString(const QString& text)
{
    if (text.isEmpty())
        return "()";
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QByteArray contentStream(const PdfPageSpec& page)
{
    QByteArray content;
    const double baseline = page.height > 60 ? page.height - 48 : page.height / 2;
    if (!page.text.isEmpty())
        content = "BT /F1 12 Tf 36 " + number(baseline) + " Td " + literalString(page.text) + " Tj ET\n";
    for (qsizetype i = 0; i < page.lines.size(); ++i) {
        const double y = baseline - 16 * double(i + (page.text.isEmpty() ? 0 : 1));
        content += "BT /F2 12 Tf 36 " + number(y) + " Td " + literalString(turkishEncoded(page.lines.at(i)))
                   + " Tj ET\n";
    }
    for (const PdfFill& fill : page.fills)
        content += number(fill.red) + ' ' + number(fill.green) + ' ' + number(fill.blue) + " rg "
                   + number(fill.rect.x()) + ' ' + number(fill.rect.y()) + ' ' + number(fill.rect.width()) + ' '
                   + number(fill.rect.height()) + " re f\n";
    content += page.content;
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream";
}

// Object numbers: 1 catalogue, 2 page tree, 3 font, then a page and its
// content per page, then the text field; then, only when used, each
// signature field with its signature dictionary, the Turkish font and the
// notes, page by page.
struct Layout {
    int pageCount;
    bool hasTextField;
    int signatureFields;
    bool hasLines;
    // The first note object of each page, and one past the last.
    QList<int> firstNote;

    explicit Layout(const PdfFixtureSpec& spec)
        : pageCount(int(spec.pages.size()))
        , hasTextField(!spec.formFieldName.isEmpty())
        , signatureFields(spec.signatureFields)
        , hasLines(std::any_of(spec.pages.begin(), spec.pages.end(),
                               [](const PdfPageSpec& page) { return !page.lines.isEmpty(); }))
    {
        int next = turkishFontObject() + (hasLines ? 1 : 0);
        for (const PdfPageSpec& page : spec.pages) {
            firstNote << next;
            next += int(page.notes.size());
        }
        firstNote << next;
    }
    bool hasForm() const { return hasTextField || signatureFields > 0; }
    int pageObject(int index) const { return 4 + 2 * index; }
    int contentObject(int index) const { return 5 + 2 * index; }
    int fieldObject() const { return 4 + 2 * pageCount; }
    int signatureFieldObject(int index) const { return fieldObject() + (hasTextField ? 1 : 0) + 2 * index; }
    int signatureValueObject(int index) const { return signatureFieldObject(index) + 1; }
    int turkishFontObject() const { return signatureFieldObject(signatureFields); }
    int noteObject(int page, int index) const { return firstNote.at(page) + index; }

    // The form's fields in order, as references.
    QByteArray fields() const
    {
        QList<QByteArray> references;
        if (hasTextField)
            references << reference(fieldObject());
        for (int i = 0; i < signatureFields; ++i)
            references << reference(signatureFieldObject(i));
        return references.join(' ');
    }
};

QByteArray pageResources(const Layout& layout)
{
    QByteArray fonts = "/F1 3 0 R";
    if (layout.hasLines)
        fonts += " /F2 " + reference(layout.turkishFontObject());
    return "<< /Font << " + fonts + " >> >>";
}

QByteArray pageAnnotations(const Layout& layout, const PdfPageSpec& page, int index)
{
    QList<QByteArray> annotations;
    if (index == 0 && layout.hasForm())
        annotations << layout.fields();
    for (int note = 0; note < page.notes.size(); ++note)
        annotations << reference(layout.noteObject(index, note));
    return annotations.isEmpty() ? QByteArray() : " /Annots [" + annotations.join(' ') + "]";
}

QByteArray noteBody(const Layout& layout, const PdfPageSpec& page, int pageIndex, int note)
{
    // Twenty-point icons in rows from the bottom left; where they sit
    // matters to nobody.
    const double x = 10 + 24 * (note % 20);
    const double y = 10 + 24 * ((note / 20) % 30);
    return "<< /Type /Annot /Subtype /Text /Rect [" + number(x) + ' ' + number(y) + ' ' + number(x + 20) + ' '
           + number(y + 20) + "] /Contents " + textString(page.notes.at(note)) + " /P "
           + reference(layout.pageObject(pageIndex)) + " >>";
}

QList<QByteArray> formBodies(const PdfFixtureSpec& spec, const Layout& layout)
{
    QList<QByteArray> bodies;
    if (layout.hasTextField) {
        bodies << "<< /Type /Annot /Subtype /Widget /FT /Tx /T " + literalString(spec.formFieldName) + " /V "
                      + literalString(spec.formFieldValue) + " /Rect [36 36 236 60] /F 4 /P "
                      + reference(layout.pageObject(0)) + " /DA (/Helv 12 Tf 0 g) >>";
    }
    for (int i = 0; i < layout.signatureFields; ++i) {
        // An invisible widget (hidden and print flags) holding a signature
        // dictionary whose contents are only zero bytes.
        bodies << "<< /Type /Annot /Subtype /Widget /FT /Sig /T (Signature" + QByteArray::number(i + 1)
                      + ") /V " + reference(layout.signatureValueObject(i)) + " /Rect [0 0 0 0] /F 132 /P "
                      + reference(layout.pageObject(0)) + " >>"
               << "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /adbe.pkcs7.detached /ByteRange [0 0 0 0] "
                  "/Contents <" + QByteArray(64, '0') + "> >>";
    }
    return bodies;
}

QList<QByteArray> objectBodies(const PdfFixtureSpec& spec)
{
    const Layout layout(spec);
    QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R";
    if (layout.hasForm())
        catalog += " /AcroForm << /Fields [" + layout.fields()
                   + "] /DA (/Helv 0 Tf 0 g) /DR << /Font << /Helv 3 0 R >> >> >>";
    QByteArray kids;
    for (int i = 0; i < layout.pageCount; ++i)
        kids += (i ? " " : "") + reference(layout.pageObject(i));

    QList<QByteArray> bodies{
        catalog + " >>",
        "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(layout.pageCount) + " >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    };
    for (int i = 0; i < layout.pageCount; ++i) {
        const PdfPageSpec& page = spec.pages.at(i);
        QByteArray body = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(page.width) + " "
                          + number(page.height) + "] /Resources " + pageResources(layout) + " /Contents "
                          + reference(layout.contentObject(i));
        if (page.rotate != 0)
            body += " /Rotate " + QByteArray::number(page.rotate);
        body += pageAnnotations(layout, page, i);
        bodies << body + " >>" << contentStream(page);
    }
    bodies << formBodies(spec, layout);
    if (layout.hasLines) {
        bodies << QByteArray("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Type /Encoding "
                             "/BaseEncoding /WinAnsiEncoding /Differences [")
                      + kTurkishDifferences + "] >> >>";
    }
    for (int i = 0; i < layout.pageCount; ++i) {
        for (int note = 0; note < spec.pages.at(i).notes.size(); ++note)
            bodies << noteBody(layout, spec.pages.at(i), i, note);
    }
    return bodies;
}

} // namespace

PdfFixtureSpec PdfFixtureSpec::withPages(int count, const PdfPageSpec& page)
{
    PdfFixtureSpec spec;
    spec.pages = QList<PdfPageSpec>(count, page);
    return spec;
}

QByteArray pdfBytes(const PdfFixtureSpec& spec)
{
    return pdfFromObjects(objectBodies(spec));
}

QByteArray pdfFromObjects(const QList<QByteArray>& bodies)
{
    // The second line marks the file as binary for tools that sniff it.
    QByteArray pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < bodies.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + bodies.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(bodies.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(bodies.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

bool writePdf(const QString& path, const PdfFixtureSpec& spec)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = pdfBytes(spec);
    return file.write(bytes) == bytes.size() && file.flush();
}

bool runQpdf(const QStringList& arguments)
{
    QProcess qpdf;
    qpdf.setProgram(QStringLiteral("qpdf"));
    qpdf.setArguments(arguments);
    qpdf.setProcessChannelMode(QProcess::MergedChannels);
    qpdf.start();
    if (!qpdf.waitForStarted() || !qpdf.waitForFinished(120000))
        return false;
    return qpdf.exitStatus() == QProcess::NormalExit && qpdf.exitCode() == 0;
}

bool qpdfAccepts(const QString& path)
{
    return runQpdf({QStringLiteral("--check"), path});
}

bool writeEncryptedCopy(const QString& input, const QString& output, const QString& userPassword,
                        const QString& ownerPassword)
{
    return runQpdf({QStringLiteral("--encrypt"), userPassword, ownerPassword, QStringLiteral("256"),
                    QStringLiteral("--"), input, output});
}

QByteArray withBrokenStartXref(const QByteArray& pdf)
{
    const qsizetype at = pdf.lastIndexOf("startxref\n");
    if (at < 0)
        return pdf;
    const qsizetype end = pdf.indexOf('\n', at + 10);
    return pdf.left(at + 10) + "17" + pdf.mid(end);
}

QJsonObject qpdfJson(const QString& path)
{
    QProcess qpdf;
    qpdf.setProgram(QStringLiteral("qpdf"));
    qpdf.setArguments({QStringLiteral("--json=2"), path});
    qpdf.start();
    if (!qpdf.waitForStarted() || !qpdf.waitForFinished(120000) || qpdf.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(qpdf.readAllStandardOutput()).object();
}

} // namespace velk::test
