#include "support/ReadingFixtures.h"

#include "support/PdfFixtures.h"

#include <QFile>
#include <QHash>

namespace velk::test {

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;

// Helvetica's widths (thousandths of the size) for what the tests write.
int widthOf(int code)
{
    static const QHash<int, int> kWidths = {
        {' ', 278}, {'f', 278}, {'t', 278}, {'i', 222}, {'j', 222}, {'l', 222}, {'r', 333}, {'m', 833},
        {'w', 722}, {'c', 500}, {'k', 500}, {'s', 500}, {'v', 500}, {'x', 500}, {'y', 500}, {'z', 500},
        {'I', 278}, {'J', 500}, {'M', 833}, {'W', 944}, {'C', 722}, {'D', 722}, {'H', 722}, {'N', 722},
        {'R', 722}, {'U', 722}, {'G', 778}, {'O', 778}, {'Q', 778}, {'F', 611}, {'T', 611}, {'Z', 611},
        {'L', 556}, {'.', 278}, {',', 278}, {':', 278}, {'/', 278}, {'-', 333}, {'(', 333}, {')', 333},
        {128, 778}, {129, 556}, {130, 278}, {131, 278}, {132, 667}, {133, 500}, {0xE7, 500}, {0xC7, 722},
        {0xD6, 778}, {0xDC, 722}};
    if (code >= 'A' && code <= 'Z')
        return kWidths.value(code, 667);
    return kWidths.value(code, 556);
}

QByteArray encoded(const QString& line)
{
    QByteArray bytes;
    for (const QChar c : line) {
        switch (c.unicode()) {
        case 0x011E: bytes += char(128); break;
        case 0x011F: bytes += char(129); break;
        case 0x0130: bytes += char(130); break;
        case 0x0131: bytes += char(131); break;
        case 0x015E: bytes += char(132); break;
        case 0x015F: bytes += char(133); break;
        default:
            bytes += c.unicode() >= 32 && c.unicode() <= 255 && (c.unicode() < 128 || c.unicode() > 159)
                         ? char(c.unicode())
                         : '?';
        }
    }
    QByteArray escaped;
    for (const char byte : bytes) {
        if (byte == '(' || byte == ')' || byte == '\\')
            escaped += '\\';
        escaped += byte;
    }
    return "(" + escaped + ")";
}

QByteArray utf16Hex(const QString& text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + ">";
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 3);
}

QByteArray ref(int object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray fontBody()
{
    QByteArray widths = "[";
    for (int code = kFirstCode; code <= kLastCode; ++code)
        widths += " " + QByteArray::number(widthOf(code));
    return "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /FirstChar " + QByteArray::number(kFirstCode)
           + " /LastChar " + QByteArray::number(kLastCode) + " /Widths " + widths
           + " ] /Encoding << /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences [128 /Gbreve /gbreve "
             "/Idotaccent /dotlessi /Scedilla /scedilla] >> >>";
}

struct Numbers {
    int pageCount = 0;
    int linkCount = 0;
    int page(int index) const { return 4 + 2 * index; }
    int content(int index) const { return 5 + 2 * index; }
    int link(int index) const { return 4 + 2 * pageCount + index; }
    int firstOutline() const { return 4 + 2 * pageCount + linkCount; }
};

QByteArray actionOf(const ReadingLink& link, const Numbers& numbers)
{
    if (!link.rawAction.isEmpty())
        return " /A " + link.rawAction;
    if (!link.uri.isEmpty())
        return " /A << /S /URI /URI " + encoded(QString::fromLatin1(link.uri)) + " >>";
    if (link.targetPage >= 0)
        return " /Dest [" + ref(numbers.page(link.targetPage)) + " /XYZ null null null]";
    return {};
}

// Outline items in depth-first order after the outline dictionary (slot 0
// of bodies, numbered base); gives the numbers of the items of this level.
QList<int> addItems(const QList<ReadingOutlineItem>& items, int parent, QList<QByteArray>& bodies, int base,
                    const Numbers& numbers)
{
    QList<int> own;
    for (const ReadingOutlineItem& item : items) {
        const qsizetype slot = bodies.size();
        own.append(base + int(slot));
        bodies.append(QByteArray());
        QByteArray body = "<< /Title " + utf16Hex(item.title) + " /Parent " + ref(parent);
        if (item.targetPage >= 0)
            body += " /Dest [" + ref(numbers.page(item.targetPage)) + " /Fit]";
        const QList<int> children = addItems(item.children, own.last(), bodies, base, numbers);
        if (!children.isEmpty())
            body += " /First " + ref(children.first()) + " /Last " + ref(children.last()) + " /Count "
                    + QByteArray::number(children.size());
        bodies[slot] = body;
    }
    for (qsizetype i = 0; i < own.size(); ++i) {
        QByteArray& body = bodies[own.at(i) - base];
        if (i > 0)
            body += " /Prev " + ref(own.at(i - 1));
        if (i + 1 < own.size())
            body += " /Next " + ref(own.at(i + 1));
        body += " >>";
    }
    return own;
}

} // namespace

double lineBaseline(const ReadingPage& page, int line)
{
    return page.height - 60 - 20.0 * line;
}

QByteArray readingPdf(const ReadingSpec& spec)
{
    Numbers numbers;
    numbers.pageCount = int(spec.pages.size());
    numbers.linkCount = int(spec.links.size());
    const bool hasOutline = !spec.outline.isEmpty();
    QList<QByteArray> bodies;
    bodies << "<< /Type /Catalog /Pages 2 0 R"
                  + (hasOutline ? " /Outlines " + ref(numbers.firstOutline()) + " /PageMode /UseOutlines" : QByteArray())
                  + " >>";
    QByteArray kids;
    for (int i = 0; i < numbers.pageCount; ++i)
        kids += ref(numbers.page(i)) + " ";
    bodies << "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(numbers.pageCount) + " >>";
    bodies << fontBody();
    for (int i = 0; i < numbers.pageCount; ++i) {
        const ReadingPage& page = spec.pages.at(i);
        QByteArray annots;
        for (int l = 0; l < numbers.linkCount; ++l) {
            if (spec.links.at(l).page == i)
                annots += ref(numbers.link(l)) + " ";
        }
        bodies << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(page.width) + " " + number(page.height)
                      + "] /Resources << /Font << /F1 3 0 R >> >> /Contents " + ref(numbers.content(i))
                      + (page.rotate ? " /Rotate " + QByteArray::number(page.rotate) : QByteArray())
                      + (annots.isEmpty() ? QByteArray() : " /Annots [" + annots + "]") + " >>";
        QByteArray content;
        for (qsizetype line = 0; line < page.lines.size(); ++line)
            content += "BT /F1 12 Tf 72 " + number(lineBaseline(page, int(line))) + " Td "
                       + encoded(page.lines.at(line)) + " Tj ET\n";
        bodies << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream";
    }
    for (const ReadingLink& link : spec.links) {
        const QRectF& r = link.rect;
        bodies << "<< /Type /Annot /Subtype /Link /Rect [" + number(r.left()) + " " + number(r.top()) + " "
                      + number(r.right()) + " " + number(r.bottom()) + "] /Border [0 0 0]"
                      + actionOf(link, numbers) + " >>";
    }
    if (hasOutline) {
        QList<QByteArray> outline{QByteArray()};
        const QList<int> top = addItems(spec.outline, numbers.firstOutline(), outline, numbers.firstOutline(), numbers);
        outline[0] = "<< /Type /Outlines /First " + ref(top.first()) + " /Last " + ref(top.last()) + " /Count "
                     + QByteArray::number(top.size()) + " >>";
        bodies += outline;
    }
    return pdfFromObjects(bodies);
}

bool writeReadingPdf(const QString& path, const ReadingSpec& spec)
{
    QFile file(path);
    const QByteArray bytes = readingPdf(spec);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace velk::test
