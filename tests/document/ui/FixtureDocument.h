#pragma once

// A document as the page view and the tab receive it, made from a fixture
// without asking the worker to inspect it: the working copy sits in its own
// workspace and the page sizes are the fixture's. For tests whose subject
// is not the open itself.

#include "document/core/PdfDocument.h"
#include "support/PdfFixtures.h"

#include <QByteArray>
#include <QSize>

namespace velk { class PdfCanvas; }

namespace velk::test {

struct FixtureFlags {
    int signatureCount = 0;
    bool encrypted = false;
};

// A page of this size with the fixture's default text.
PdfPageSpec pageOfSize(double width, double height);

PdfDocumentPtr fixtureDocument(const PdfFixtureSpec& spec, const FixtureFlags& flags = {});

// A working copy holding these bytes, described as having these pages.
PdfDocumentPtr documentWithBytes(const QByteArray& bytes, const QList<QSizeF>& pageSizes);

// Shows the canvas with a viewport of exactly this size.
void showWithViewport(PdfCanvas& canvas, const QSize& viewport);

} // namespace velk::test
