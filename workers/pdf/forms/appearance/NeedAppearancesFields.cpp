#include "forms/appearance/NeedAppearancesFields.h"

#include "forms/appearance/AppearanceRewriteLimits.h"
#include "forms/appearance/FieldChain.h"
#include "forms/appearance/FormObjectValues.h"
#include "forms/appearance/PageAnnotations.h"
#include "forms/appearance/WidgetLookReader.h"

#include "worker/contract/PdfiumCodes.h"

#include <optional>

namespace velk {

namespace {

using namespace AppearanceRewriteLimits;
using namespace FormObjectValues;

constexpr int kReadOnlyFlag = FormFieldFlags::kReadOnly;
constexpr int kComboFlag = FormFieldFlags::kCombo;
constexpr int kHiddenAnnotationFlag = 2;

[[noreturn]] void tooLarge()
{
    throw QpdfFailure("form limit");
}

struct TreeNode {
    qpdf_oh dictionary = 0;
    int depth = 0;
};

void appendKids(Qpdf& qpdf, qpdf_oh kids, int depth, QList<TreeNode>& nodes)
{
    if (!qpdf.isArray(kids))
        return;
    const int count = qpdf.arraySize(kids);
    if (nodes.size() + count > kMaxFieldTreeNodes)
        tooLarge();
    for (int index = 0; index < count; ++index)
        nodes << TreeNode{qpdf.arrayItem(kids, index), depth};
}

// The widgets of the form's field tree that some page lists, in tree
// order. Each node is walked once; deeper than a field chain may reach,
// nothing is walked (those widgets have no readable field anyway).
QList<qpdf_oh> widgetsOnPages(Qpdf& qpdf, qpdf_oh acroForm)
{
    QList<TreeNode> nodes;
    appendKids(qpdf, qpdf.key(acroForm, "/Fields"), 0, nodes);
    if (nodes.isEmpty())
        return {};
    const QSet<int> onPages = annotationsOnPages(qpdf);
    QSet<int> seen;
    QList<qpdf_oh> widgets;
    for (qsizetype index = 0; index < nodes.size(); ++index) {
        const TreeNode node = nodes.at(index);
        const int number = qpdf.objectNumber(node.dictionary);
        if (!qpdf.isDictionary(node.dictionary) || (number != 0 && seen.contains(number)))
            continue;
        seen.insert(number);
        if (name(qpdf, qpdf.key(node.dictionary, "/Subtype")) == "/Widget" && onPages.contains(number))
            widgets << node.dictionary;
        if (node.depth < kMaxFieldDepth)
            appendKids(qpdf, qpdf.key(node.dictionary, "/Kids"), node.depth + 1, nodes);
    }
    return widgets;
}

int fieldFlags(Qpdf& qpdf, const FieldChain& chain)
{
    const qpdf_oh owner = chain.inherited(qpdf, "/Ff");
    return owner ? integer(qpdf, qpdf.key(owner, "/Ff")).value_or(0) : 0;
}

// Text and choice widgets a reader would show and a user could change.
std::optional<WidgetKind> redrawnKind(Qpdf& qpdf, qpdf_oh widget, const FieldChain& chain)
{
    const int flags = fieldFlags(qpdf, chain);
    const int annotationFlags = integer(qpdf, qpdf.key(widget, "/F")).value_or(0);
    if ((flags & kReadOnlyFlag) != 0 || (annotationFlags & kHiddenAnnotationFlag) != 0)
        return std::nullopt;
    const qpdf_oh owner = chain.inherited(qpdf, "/FT");
    const QByteArray type = owner ? name(qpdf, qpdf.key(owner, "/FT")) : QByteArray();
    if (type == "/Tx")
        return WidgetKind::Text;
    if (type == "/Ch")
        return (flags & kComboFlag) != 0 ? WidgetKind::Combo : WidgetKind::List;
    return std::nullopt;
}

struct FieldWidget {
    StoredWidget stored;
    // Object number of the field; 0 for a direct field.
    int field = 0;
};

// Nothing for a widget left alone or one that cannot be read: a form's
// stray broken field does not stop the others from being drawn. A failure
// of qpdf itself leaves the layer failed, so the rewrite still ends in it.
std::optional<FieldWidget> readFieldWidget(Qpdf& qpdf, qpdf_oh widget, qpdf_oh acroForm)
{
    try {
        const FieldChain chain = fieldChainOf(qpdf, widget);
        const std::optional<WidgetKind> kind = redrawnKind(qpdf, widget, chain);
        if (!kind)
            return std::nullopt;
        return FieldWidget{{widget, readStoredWidgetLook(qpdf, widget, chain, acroForm, *kind)},
                           qpdf.objectNumber(chain.fieldDictionary())};
    } catch (const QpdfFailure&) {
        return std::nullopt;
    }
}

} // namespace

bool asksForAppearances(Qpdf& qpdf, qpdf_oh acroForm)
{
    return qpdf.isDictionary(acroForm) && qpdf.boolValue(qpdf.key(acroForm, "/NeedAppearances")).value_or(false);
}

QList<StoredWidget> storedValueWidgets(Qpdf& qpdf, qpdf_oh acroForm, const QSet<int>& drawn)
{
    QList<StoredWidget> stored;
    QSet<int> fields;
    int directFields = 0;
    for (const qpdf_oh widget : widgetsOnPages(qpdf, acroForm)) {
        if (drawn.contains(qpdf.objectNumber(widget)))
            continue;
        const std::optional<FieldWidget> read = readFieldWidget(qpdf, widget, acroForm);
        if (!read)
            continue;
        if (read->field == 0)
            ++directFields;
        else
            fields.insert(read->field);
        if (fields.size() + directFields > kMaxStoredFields || stored.size() >= kMaxStoredWidgets)
            tooLarge();
        stored << read->stored;
    }
    return stored;
}

} // namespace velk
