#include "app/PrimaryWidget.h"

#include <QStyle>
#include <QWidget>

namespace velk {

void setPrimary(QWidget* widget)
{
    if (!widget)
        return;
    widget->setProperty("primary", true);
    QStyle* style = widget->style();
    style->unpolish(widget);
    style->polish(widget);
    widget->update();
}

} // namespace velk
