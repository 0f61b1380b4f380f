#include "document/ui/ThumbnailStrip.h"

#include "document/view/DocumentViewLimits.h"
#include "document/view/PageRendering.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace velk {

using namespace DocumentViewLimits;

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kPadding = 6;
constexpr int kLabelHeight = 18;
// Page shapes are bounded so that a freak page cannot make a freak item.
constexpr double kMinAspect = 0.25;
constexpr double kMaxAspect = 4.0;
const QColor kPlaceholder(0xee, 0xee, 0xee);

CancelFlag newCancelFlag()
{
    return std::make_shared<std::atomic<bool>>(false);
}

// Runs on the strip's pool thread: the page at the worker's bounds, then
// scaled down here to the picture's device size.
PdfRenderResult renderThumbnail(PdfDocumentPtr document, int page, QSize deviceSize, CancelFlag cancel)
{
    const int width = std::clamp(deviceSize.width(), kMinRenderWidth, kMaxRenderWidth);
    PdfRenderResult result = renderPage(std::move(document), page, width, std::move(cancel));
    if (!result.image.isNull())
        result.image = result.image.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return result;
}

// Paints the picture (or a grey placeholder while it is being made) with
// the page number under it; the current page shows as selected.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    explicit ThumbnailDelegate(ThumbnailStrip* strip)
        : QStyledItemDelegate(strip)
        , m_strip(strip)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int page = index.data(kPageRole).toInt();
        const QSize picture = index.data(Qt::SizeHintRole).toSize() - QSize(2 * kPadding, 2 * kPadding + kLabelHeight);
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const QRect target(option.rect.left() + (option.rect.width() - picture.width()) / 2,
                           option.rect.top() + kPadding, picture.width(), picture.height());
        if (const QImage* image = m_strip->thumbnail(page))
            painter->drawImage(target, *image);
        else
            painter->fillRect(target, kPlaceholder);
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawRect(target.adjusted(0, 0, -1, -1));
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect label(option.rect.left(), target.bottom() + 1, option.rect.width(), kLabelHeight);
        painter->drawText(label, Qt::AlignCenter, QString::number(page + 1));
    }

private:
    ThumbnailStrip* m_strip;
};

} // namespace

ThumbnailStrip::ThumbnailStrip(std::function<bool()> pageViewBusy, QWidget* parent)
    : QListWidget(parent)
    , m_pageViewBusy(std::move(pageViewBusy))
    , m_watcher(new QFutureWatcher<PdfRenderResult>(this))
    , m_cancel(newCancelFlag())
{
    setObjectName(QStringLiteral("thumbnailStrip"));
    setToolTip(QStringLiteral("Sayfalar"));
    m_pool.setMaxThreadCount(1);
    setItemDelegate(new ThumbnailDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumWidth(kThumbnailWidth / 2);
    connect(m_watcher, &QFutureWatcherBase::finished, this, &ThumbnailStrip::renderFinished);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ThumbnailStrip::schedule);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Q_EMIT pageChosen(item->data(kPageRole).toInt());
    });
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        Q_EMIT pageChosen(item->data(kPageRole).toInt());
    });
}

ThumbnailStrip::~ThumbnailStrip()
{
    // The pool waits for its thread: the render in flight stops first.
    m_cancel->exchange(true);
}

QSize ThumbnailStrip::pictureSize(int page) const
{
    const QSizeF size = m_document ? m_document->pageSizes.value(page) : QSizeF();
    const double aspect = size.width() > 0 ? std::clamp(size.height() / size.width(), kMinAspect, kMaxAspect) : 1.414;
    return QSize(kThumbnailWidth, int(std::lround(kThumbnailWidth * aspect)));
}

void ThumbnailStrip::setDocument(PdfDocumentPtr document)
{
    m_cancel->exchange(true);
    m_cancel = newCancelFlag();
    m_document = std::move(document);
    const int pageCount = m_document ? m_document->pageCount() : 0;
    m_queue.reset(pageCount);
    clear();
    for (int page = 0; page < pageCount; ++page) {
        auto* item = new QListWidgetItem(this);
        item->setData(kPageRole, page);
        item->setSizeHint(pictureSize(page) + QSize(2 * kPadding, 2 * kPadding + kLabelHeight));
        item->setToolTip(QStringLiteral("Sayfa %1").arg(page + 1));
    }
    schedule();
}

void ThumbnailStrip::setCurrentPage(int page)
{
    QListWidgetItem* current = item(page);
    if (!current)
        return;
    setCurrentItem(current);
    scrollToItem(current, QAbstractItemView::EnsureVisible);
    schedule();
}

QList<int> ThumbnailStrip::visiblePages() const
{
    QList<int> pages;
    const QRect area = viewport()->rect();
    for (int row = 0; row < count(); ++row) {
        const QRect rect = visualItemRect(item(row));
        if (rect.top() > area.bottom())
            break;
        if (rect.intersects(area))
            pages.append(row);
    }
    return pages;
}

void ThumbnailStrip::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    schedule();
}

void ThumbnailStrip::showEvent(QShowEvent* event)
{
    QListWidget::showEvent(event);
    schedule();
}

void ThumbnailStrip::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        requestNext();
    });
}

void ThumbnailStrip::requestNext()
{
    // A hidden or folded-away strip shows nothing, so it asks for nothing.
    if (!m_document || !isVisible() || width() <= 0)
        return;
    m_queue.setWanted(visiblePages());
    const std::optional<int> page = m_queue.takeNext(m_pageViewBusy && m_pageViewBusy());
    if (!page)
        return;
    const QSize device = pictureSize(*page) * devicePixelRatioF();
    m_watcher->setFuture(QtConcurrent::run(&m_pool, renderThumbnail, m_document, *page, device, m_cancel));
    Q_EMIT thumbnailRequested(*page);
}

void ThumbnailStrip::renderFinished()
{
    const QFuture<PdfRenderResult> future = m_watcher->future();
    PdfRenderResult result = future.resultCount() > 0 ? future.result() : PdfRenderResult{};
    const int page = m_queue.inFlight();
    if (page < 0)
        return;
    result.image.setDevicePixelRatio(devicePixelRatioF());
    m_queue.finish(page, result.image);
    if (QListWidgetItem* done = item(page)) {
        if (!result.error.isEmpty())
            done->setToolTip(QStringLiteral("Sayfa %1: %2").arg(page + 1).arg(result.error));
        viewport()->update(visualItemRect(done));
    }
    schedule();
}

} // namespace velk
