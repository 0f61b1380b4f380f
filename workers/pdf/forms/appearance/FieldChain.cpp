#include "forms/appearance/FieldChain.h"

#include "forms/appearance/AppearanceRewriteLimits.h"
#include "forms/appearance/FormObjectValues.h"

#include <QSet>

namespace velk {

namespace {

using namespace AppearanceRewriteLimits;

[[noreturn]] void unreadable()
{
    throw QpdfFailure("unreadable widget");
}

bool isWidget(Qpdf& qpdf, qpdf_oh dictionary)
{
    return FormObjectValues::name(qpdf, qpdf.key(dictionary, "/Subtype")) == "/Widget";
}

} // namespace

qpdf_oh FieldChain::inherited(Qpdf& qpdf, const char* key) const
{
    for (const qpdf_oh dictionary : dictionaries) {
        if (qpdf.hasKey(dictionary, key))
            return dictionary;
    }
    return 0;
}

FieldChain fieldChainOf(Qpdf& qpdf, qpdf_oh widget)
{
    if (!qpdf.isDictionary(widget))
        unreadable();
    FieldChain chain;
    QSet<int> seen;
    qpdf_oh current = widget;
    while (true) {
        const int number = qpdf.objectNumber(current);
        // A direct dictionary cannot be met again; an indirect one twice is
        // a cycle.
        if (number != 0) {
            if (seen.contains(number))
                unreadable();
            seen.insert(number);
        }
        chain.dictionaries << current;
        if (!qpdf.hasKey(current, "/Parent"))
            break;
        if (chain.dictionaries.size() > kMaxFieldDepth)
            unreadable();
        current = qpdf.key(current, "/Parent");
        if (!qpdf.isDictionary(current))
            unreadable();
    }
    for (qsizetype index = 0; index < chain.dictionaries.size(); ++index) {
        if (qpdf.hasKey(chain.dictionaries.at(index), "/T")) {
            chain.field = int(index);
            return chain;
        }
    }
    unreadable();
}

QList<qpdf_oh> widgetsOf(Qpdf& qpdf, qpdf_oh field)
{
    if (isWidget(qpdf, field))
        return {field};
    const qpdf_oh kids = qpdf.key(field, "/Kids");
    if (!qpdf.isArray(kids))
        unreadable();
    const int count = qpdf.arraySize(kids);
    if (count > kMaxFieldWidgets)
        unreadable();
    QList<qpdf_oh> widgets;
    for (int index = 0; index < count; ++index) {
        const qpdf_oh kid = qpdf.arrayItem(kids, index);
        if (qpdf.isDictionary(kid) && !qpdf.hasKey(kid, "/T") && isWidget(qpdf, kid))
            widgets << kid;
    }
    if (widgets.isEmpty())
        unreadable();
    return widgets;
}

} // namespace velk
