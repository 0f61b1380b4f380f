#include "app/ToolActions.h"

#include "app/ActionIcon.h"

#include <QAction>
#include <QIcon>

#include <utility>

namespace velk {

void setActionIcons(const ToolActions& actions)
{
    const QIcon folder(drawActionIcon(ActionIconKind::Folder));
    const QIcon page(drawActionIcon(ActionIconKind::PageWithPlus));
    const QIcon picture(drawActionIcon(ActionIconKind::Picture));
    const std::pair<QAction*, const QIcon*> assignment[] = {
        {actions.open, &folder},
        {actions.blankPdf, &page},
        {actions.imagesToPdf, &picture},
        {actions.officeToPdf, &page},
        {actions.editText, &page},
        {actions.fillForm, &page},
        {actions.organizePages, &page},
        {actions.merge, &picture},
        {actions.ocr, &page},
    };
    for (const auto& [action, icon] : assignment) {
        if (action)
            action->setIcon(*icon);
    }
}

} // namespace velk
