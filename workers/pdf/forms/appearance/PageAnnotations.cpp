#include "forms/appearance/PageAnnotations.h"

#include "forms/appearance/AppearanceRewriteLimits.h"

#include <QList>

namespace velk {

namespace {

using namespace AppearanceRewriteLimits;

[[noreturn]] void tooLarge()
{
    throw QpdfFailure("page tree limit");
}

// Direct annotations cannot belong to a field elsewhere and are left out.
void addAnnotations(Qpdf& qpdf, qpdf_oh page, QSet<int>& numbers)
{
    const qpdf_oh annots = qpdf.key(page, "/Annots");
    if (!qpdf.isArray(annots))
        return;
    const int count = qpdf.arraySize(annots);
    if (count > kMaxPageAnnotations || numbers.size() + count > kMaxDocumentAnnotations)
        tooLarge();
    for (int index = 0; index < count; ++index) {
        const int number = qpdf.objectNumber(qpdf.arrayItem(annots, index));
        if (number != 0)
            numbers.insert(number);
    }
}

} // namespace

QSet<int> annotationsOnPages(Qpdf& qpdf)
{
    QSet<int> numbers;
    QSet<int> seen;
    QList<qpdf_oh> pending{qpdf.key(qpdf.root(), "/Pages")};
    int visited = 0;
    while (!pending.isEmpty()) {
        const qpdf_oh node = pending.takeLast();
        const int number = qpdf.objectNumber(node);
        if (!qpdf.isDictionary(node) || (number != 0 && seen.contains(number)))
            continue;
        seen.insert(number);
        if (++visited > kMaxPageTreeNodes)
            tooLarge();
        const qpdf_oh kids = qpdf.key(node, "/Kids");
        if (!qpdf.isArray(kids)) {
            addAnnotations(qpdf, node, numbers);
            continue;
        }
        const int count = qpdf.arraySize(kids);
        if (pending.size() + count > kMaxPageTreeNodes)
            tooLarge();
        for (int index = 0; index < count; ++index)
            pending << qpdf.arrayItem(kids, index);
    }
    return numbers;
}

} // namespace velk
