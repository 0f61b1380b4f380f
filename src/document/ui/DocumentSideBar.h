#pragma once

// The side bar of a document tab: "Sayfalar" (page thumbnails) above
// "İçindekiler" (the outline, shown only when the document has one), in a
// splitter so that either can be given more room. Both go to a page on a
// click and follow the page view's current page. Owned by the tab; GUI
// thread.

#include "document/core/PdfDocument.h"

#include <QSplitter>

namespace velk {

class OutlinePanel;
class PdfCanvas;
class ThumbnailStrip;

class DocumentSideBar : public QSplitter {
    Q_OBJECT

public:
    DocumentSideBar(PdfCanvas* view, QWidget* parent = nullptr);

    void setDocument(PdfDocumentPtr document);

    OutlinePanel* outline() const { return m_outline; }
    ThumbnailStrip* thumbnails() const { return m_thumbnails; }

private:
    void goToPage(int page);

    PdfCanvas* m_view;
    OutlinePanel* m_outline = nullptr;
    ThumbnailStrip* m_thumbnails = nullptr;
};

} // namespace velk
