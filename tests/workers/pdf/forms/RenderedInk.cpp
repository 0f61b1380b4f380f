#include "RenderedInk.h"

#include "workers/pdf/edit/EditRun.h"
#include "worker/runner/PagePixels.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

namespace velk::test {

namespace {

constexpr double kPageWidth = 595;
constexpr int kDark = 128;

bool isDark(const QImage& image, int x, int y)
{
    return image.valid(x, y) && qGray(image.pixel(x, y)) < kDark;
}

} // namespace

QImage workerRendering(const QString& path, int page)
{
    const WorkerReply reply = runEditSandboxed(QJsonObject{{QStringLiteral("operation"), QStringLiteral("render")},
                                                           {QStringLiteral("path"), path},
                                                           {QStringLiteral("page"), page},
                                                           {QStringLiteral("width"), kPageWidth * kInkPixelsPerPoint}});
    if (!reply.error.isEmpty())
        return {};
    return decodePagePixels(reply.json).image;
}

QImage popplerRendering(const QString& path, int page)
{
    QTemporaryDir directory;
    if (!directory.isValid())
        return {};
    const QString prefix = directory.filePath(QStringLiteral("page"));
    QProcess process;
    const QString pageNumber = QString::number(page + 1);
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QString::number(72 * kInkPixelsPerPoint), QStringLiteral("-f"), pageNumber,
                   QStringLiteral("-l"), pageNumber, QStringLiteral("-png"),
                   QStringLiteral("-singlefile"), path, prefix});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png"));
}

QRect pixelBox(const QRectF& pdfRect, double pageHeight)
{
    const QRectF normal = pdfRect.normalized();
    const int left = int(std::floor(normal.left() * kInkPixelsPerPoint));
    const int top = int(std::floor((pageHeight - normal.bottom()) * kInkPixelsPerPoint));
    const int right = int(std::ceil(normal.right() * kInkPixelsPerPoint));
    const int bottom = int(std::ceil((pageHeight - normal.top()) * kInkPixelsPerPoint));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

Ink inkIn(const QImage& image, const QRect& area)
{
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!isDark(image, x, y))
                continue;
            ++ink.pixels;
            ink.bounds |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

int differingPixels(const QImage& image, const QRect& first, const QRect& second)
{
    int count = 0;
    for (int dy = 0; dy < qMin(first.height(), second.height()); ++dy) {
        for (int dx = 0; dx < qMin(first.width(), second.width()); ++dx) {
            if (isDark(image, first.left() + dx, first.top() + dy)
                != isDark(image, second.left() + dx, second.top() + dy))
                ++count;
        }
    }
    return count;
}

} // namespace velk::test
