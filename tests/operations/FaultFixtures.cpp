#include "FaultFixtures.h"

#include "support/PdfFixtures.h"

#include <QImage>
#include <QRandomGenerator>

namespace velk::test {

namespace {

// Hexadecimal digits of random bytes: compresses to about half, never to
// nothing.
QByteArray randomHex(qint64 bytes)
{
    QByteArray raw(bytes / 2, Qt::Uninitialized);
    QRandomGenerator generator(20261211);
    for (char& byte : raw)
        byte = char(generator.generate() & 0xFF);
    return raw.toHex();
}

} // namespace

bool writeBulkyPdf(const QString& path, const QByteArray& label, int pages, qint64 bytes)
{
    PdfFixtureSpec spec;
    spec.pages.clear();
    const qint64 perPage = bytes / qMax(1, pages);
    for (int index = 0; index < pages; ++index) {
        PdfPageSpec page;
        page.text = label + ' ' + QByteArray::number(index + 1);
        // A comment runs to the end of its line: the page shows nothing of it.
        page.content = "% " + randomHex(perPage) + "\n";
        spec.pages << page;
    }
    return writePdf(path, spec);
}

bool writeNoiseImage(const QString& path, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator generator(side);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = 0xFF000000U | (generator.generate() & 0xFFFFFFU);
    }
    return image.save(path, "PNG");
}

} // namespace velk::test
