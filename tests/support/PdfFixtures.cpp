#include "PdfFixtures.h"

#include <QFile>
#include <QProcess>

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

QByteArray contentStream(const PdfPageSpec& page)
{
    QByteArray content;
    if (!page.text.isEmpty()) {
        const double baseline = page.height > 60 ? page.height - 48 : page.height / 2;
        content = "BT /F1 12 Tf 36 " + number(baseline) + " Td " + literalString(page.text) + " Tj ET\n";
    }
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream";
}

// Object numbers: 1 catalogue, 2 page tree, 3 font, then a page and its
// content per page, then the form field.
struct Layout {
    int pageCount;
    int pageObject(int index) const { return 4 + 2 * index; }
    int contentObject(int index) const { return 5 + 2 * index; }
    int fieldObject() const { return 4 + 2 * pageCount; }
};

QList<QByteArray> objectBodies(const PdfFixtureSpec& spec)
{
    const Layout layout{int(spec.pages.size())};
    const bool hasForm = !spec.formFieldName.isEmpty();
    QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R";
    if (hasForm)
        catalog += " /AcroForm << /Fields [" + reference(layout.fieldObject())
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
                          + number(page.height) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents "
                          + reference(layout.contentObject(i));
        if (page.rotate != 0)
            body += " /Rotate " + QByteArray::number(page.rotate);
        if (hasForm && i == 0)
            body += " /Annots [" + reference(layout.fieldObject()) + "]";
        bodies << body + " >>" << contentStream(page);
    }
    if (hasForm) {
        bodies << "<< /Type /Annot /Subtype /Widget /FT /Tx /T " + literalString(spec.formFieldName) + " /V "
                      + literalString(spec.formFieldValue) + " /Rect [36 36 236 60] /F 4 /P "
                      + reference(layout.pageObject(0)) + " /DA (/Helv 12 Tf 0 g) >>";
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
    // The second line marks the file as binary for tools that sniff it.
    QByteArray pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    const QList<QByteArray> bodies = objectBodies(spec);
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

} // namespace velk::test
