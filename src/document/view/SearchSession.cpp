#include "document/view/SearchSession.h"

namespace velk {

void SearchSession::reset()
{
    m_page = -1;
    m_hit = 0;
}

SearchStart SearchSession::next(int currentPage) const
{
    if (m_page < 0)
        return SearchStart{currentPage, std::nullopt, false};
    return SearchStart{m_page, m_hit + 1, false};
}

SearchStart SearchSession::previous(int currentPage) const
{
    if (m_page < 0)
        return SearchStart{currentPage, std::nullopt, true};
    // -1 passes over the page: the hit before the first is on an earlier one.
    return SearchStart{m_page, m_hit - 1, true};
}

void SearchSession::found(const PdfSearchResult& result)
{
    if (result.page < 0)
        return;
    m_page = result.page;
    m_hit = result.hit;
}

QString SearchSession::statusText(const PdfSearchResult& result, int pageCount, bool backward)
{
    QString text = QStringLiteral("Sayfa %1 / %2: %3. sonuç")
                       .arg(QString::number(result.page + 1), QString::number(pageCount),
                            QString::number(result.hit + 1));
    if (result.wrapped)
        text += backward ? QStringLiteral(" · Belgenin başına gelindi, aramaya sondan devam edildi.")
                         : QStringLiteral(" · Belgenin sonuna gelindi, aramaya baştan devam edildi.");
    return text;
}

} // namespace velk
