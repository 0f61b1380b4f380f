#include "signatures/PageTreeCheck.h"

#include "signatures/SignatureLimits.h"

#include <QSet>

namespace velk {

namespace {

struct PageWalk {
    Qpdf& qpdf;
    QSet<int> seen;
    int visits = 0;

    void walk(qpdf_oh node, int depth)
    {
        if (++visits > SignatureLimits::kMaxPageTreeVisits || depth > SignatureLimits::kMaxPageTreeDepth)
            throw QpdfFailure("page tree");
        const int number = qpdf.objectNumber(node);
        if (number == 0 || seen.contains(number))
            throw QpdfFailure("page tree");
        seen.insert(number);
        if (qpdf.unparse(qpdf.key(node, "/Type")) != "/Pages")
            return;
        const qpdf_oh kids = qpdf.key(node, "/Kids");
        if (!qpdf.isArray(kids) || qpdf.arraySize(kids) > SignatureLimits::kMaxPageTreeKids)
            throw QpdfFailure("page tree");
        const int count = qpdf.arraySize(kids);
        for (int index = 0; index < count; ++index)
            walk(qpdf.arrayItem(kids, index), depth + 1);
    }
};

} // namespace

void PageTreeCheck::requireDistinctPages(Qpdf& qpdf, qpdf_oh catalog)
{
    PageWalk walk{qpdf, {}, 0};
    walk.walk(qpdf.key(catalog, "/Pages"), 0);
}

} // namespace velk
