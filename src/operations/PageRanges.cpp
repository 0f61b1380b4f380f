#include "operations/PageRanges.h"

#include <QRegularExpression>

#include <cstdlib>

namespace velk {

namespace {

constexpr int kMaxPageCount = 10000;
constexpr qsizetype kMaxTextUnits = 64000;
constexpr qint64 kMaxListedPages = 10000;

PageRangeResult refused(const QString& message)
{
    return PageRangeResult{{}, message};
}

} // namespace

PageRangeResult parsePageRanges(const QString& text, int pageCount)
{
    if (pageCount < 1 || pageCount > kMaxPageCount || text.size() > kMaxTextUnits)
        return refused(QStringLiteral("Sayfa aralığı sınırı geçersiz."));

    static const QRegularExpression kPart(QStringLiteral("^([0-9]+)(?:\\s*-\\s*([0-9]+))?$"));
    PageRangeResult result;
    for (const QString& rawPart : text.split(QLatin1Char(','), Qt::KeepEmptyParts)) {
        const QRegularExpressionMatch match = kPart.match(rawPart.trimmed());
        if (!match.hasMatch())
            return refused(QStringLiteral("Örnek sayfa aralığı: 1,3,5-7 veya 3-1."));
        bool fromFits = false;
        bool toFits = true;
        const int from = match.captured(1).toInt(&fromFits);
        const int to = match.hasCaptured(2) ? match.captured(2).toInt(&toFits) : from;
        if (!fromFits || !toFits || from < 1 || to < 1 || from > pageCount || to > pageCount)
            return refused(QStringLiteral("Sayfa numarası belge sınırları dışında."));
        const qint64 span = std::llabs(qint64(to) - qint64(from)) + 1;
        if (qint64(result.pages.size()) + span > kMaxListedPages)
            return refused(QStringLiteral("En fazla 10000 sayfa seçilebilir."));
        const int step = from <= to ? 1 : -1;
        for (int page = from;; page += step) {
            result.pages.append(page - 1);
            if (page == to)
                break;
        }
    }
    return result;
}

} // namespace velk
