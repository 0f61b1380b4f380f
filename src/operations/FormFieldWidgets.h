#pragma once

// One editing widget per "fields" entry and, on accept, the change the
// widget asks for: only values the user changed are sent. GUI thread.

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/FormsContract.h"

#include <QButtonGroup>
#include <QHash>
#include <QString>

#include <optional>

class QWidget;

namespace velk {

// Radio buttons of one field name share one exclusive group, owned by the
// dialog that owns this object.
class RadioGroups {
public:
    explicit RadioGroups(QObject* owner) : m_owner(owner) {}
    QButtonGroup* groupFor(const QString& name);

private:
    QObject* m_owner;
    QHash<QString, QButtonGroup*> m_groups;
};

namespace FormFieldWidgets {

inline constexpr int kMaxTextLength = SharedLimits::kMaxFieldTextUnits;

// The widget for entry, enabled only for fillable, writable fields, with
// its object name and "readOnlyField" property set.
QWidget* create(const FormFieldEntry& entry, RadioGroups& groups);
// The row label of entry.
QString rowLabel(const FormFieldEntry& entry, bool enabled);

// What the widget asks to change: nothing when unchanged or not fillable;
// tooLong is set when a text exceeds the limit.
std::optional<FieldChange> update(const FormFieldEntry& entry, const QWidget* widget, bool& tooLong);

} // namespace FormFieldWidgets

} // namespace velk
