// velk-sample-pdf OUTPUT: writes a small three-page A4 document with Turkish
// text, for looking at the main window with a document open
// (scripts/screenshot.sh --with-document). A developer tool, never
// installed. Exit status 0 when the file was written, 1 otherwise.

#include "support/PdfFixtures.h"

#include <QCoreApplication>
#include <QStringList>

using namespace velk::test;

namespace {

PdfPageSpec samplePage(int number)
{
    PdfPageSpec page(595, 842, 0, "Velk PDF - ornek belge");
    // Only letters the renderer's built-in Helvetica has: it draws no
    // glyph for Ğ ğ İ Ş ş of a font that is not embedded.
    page.lines = {QStringLiteral("Sayfa %1 / 3").arg(number),
                  QStringLiteral("Bu belge ekran görüntüsü için yazıldı."),
                  QStringLiteral("Belge içerikleri bu bilgisayarda kalır.")};
    // A heading band and two paragraphs' worth of grey bars.
    page.fills.append({QRectF(36, 700, 523, 6), 0.19, 0.36, 0.55});
    for (int i = 0; i < 14; ++i)
        page.fills.append({QRectF(36, 660 - 22 * i, i % 5 == 4 ? 300 : 523, 9), 0.82, 0.84, 0.87});
    page.fills.append({QRectF(36, 280, 240, 140), 0.87, 0.29, 0.29});
    return page;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return 1;
    PdfFixtureSpec spec;
    spec.pages = {samplePage(1), samplePage(2), samplePage(3)};
    return writePdf(arguments.at(1), spec) ? 0 : 1;
}
