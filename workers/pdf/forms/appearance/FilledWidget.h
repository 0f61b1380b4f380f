#pragma once

// One widget that "fillFields" changed through the form-fill layer and
// whose field gets new appearances afterwards. The text itself is read
// again from the saved document's field value; choices keep the option
// indices the request selected.

#include "forms/appearance/WidgetLook.h"

#include <QList>

namespace velk {

struct FilledWidget {
    int page = 0;
    // Position in the page's /Annots array, as the form-fill layer counts.
    int annotation = 0;
    WidgetKind kind = WidgetKind::Text;
    // Combo and list boxes: the selected option indices, as requested.
    QList<int> selection;
};

} // namespace velk
