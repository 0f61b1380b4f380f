#pragma once

// PDF files for the reading tests: lines of text in Helvetica with Turkish
// letters and explicit glyph widths (so every reader places the glyphs
// alike), pages of any size and /Rotate, link annotations that go to a page
// or to a URI, and a nested outline with Unicode titles. Written by the
// tests themselves; raw bodies let a test damage what it likes.

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace velk::test {

struct ReadingPage {
    double width = 595;
    double height = 842;
    int rotate = 0;
    // Lines of 12-point text from the top left (x 72, baselines 60, 80, …
    // points below the top of the media box). Latin-1 and Ğ ğ İ ı Ş ş.
    QStringList lines;
};

struct ReadingLink {
    int page = 0;
    // Default user space: origin at the bottom left of the media box.
    QRectF rect;
    // A page index to go to (-1 for none), or a URI action, or an action
    // dictionary written as is (for damaged ones).
    int targetPage = -1;
    QByteArray uri;
    QByteArray rawAction;
};

struct ReadingOutlineItem {
    QString title;
    // -1 writes no destination.
    int targetPage = -1;
    QList<ReadingOutlineItem> children;
};

struct ReadingSpec {
    QList<ReadingPage> pages = {ReadingPage{}};
    QList<ReadingLink> links;
    QList<ReadingOutlineItem> outline;
};

QByteArray readingPdf(const ReadingSpec& spec);
bool writeReadingPdf(const QString& path, const ReadingSpec& spec);

// The baseline of a line of a page in default user space.
double lineBaseline(const ReadingPage& page, int line);

} // namespace velk::test
