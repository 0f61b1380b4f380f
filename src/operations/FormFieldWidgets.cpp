#include "operations/FormFieldWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>

namespace velk {

namespace {

constexpr int kMultilineMaxHeight = 120;
constexpr int kListMaxHeight = 140;

bool isFillable(const FormFieldEntry& entry)
{
    return entry.type >= FormFieldType::CheckBox && entry.type <= FormFieldType::TextField && !entry.readOnly;
}

QList<FieldOption> optionsOf(const FormFieldEntry& entry)
{
    return entry.options.value_or(QList<FieldOption>());
}

QList<qint64> listedSelection(const FormFieldEntry& entry)
{
    QList<qint64> selection;
    const QList<FieldOption> options = optionsOf(entry);
    for (int i = 0; i < options.size(); ++i) {
        if (options.at(i).selected)
            selection << i;
    }
    return selection;
}

// The text with each line break (\r\n, \r or \n) spelled \n, as the
// multi-line editor gives it back: the worker may list a multi-line value
// with \r\n breaks.
QString withUniformLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QWidget* textWidget(const FormFieldEntry& entry)
{
    const QString value = entry.value.value_or(QString());
    const bool password = entry.password;
    if (entry.multiline && !password) {
        auto* editor = new QPlainTextEdit;
        editor->setPlainText(value);
        editor->setMaximumHeight(kMultilineMaxHeight);
        return editor;
    }
    auto* edit = new QLineEdit(value);
    edit->setMaxLength(FormFieldWidgets::kMaxTextLength);
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget* radioWidget(const FormFieldEntry& entry, RadioGroups& groups)
{
    auto* radio = new QRadioButton(entry.exportValue.value_or(QStringLiteral("Bu seçeneği seç")));
    radio->setChecked(entry.checked);
    groups.groupFor(entry.name)->addButton(radio);
    return radio;
}

QWidget* choiceWidget(const FormFieldEntry& entry)
{
    const QList<FieldOption> options = optionsOf(entry);
    if (entry.type == FormFieldType::ComboBox) {
        auto* combo = new QComboBox;
        for (const FieldOption& option : options)
            combo->addItem(option.label);
        const QList<qint64> selected = listedSelection(entry);
        combo->setCurrentIndex(selected.isEmpty() ? -1 : int(selected.last()));
        return combo;
    }
    auto* list = new QListWidget;
    list->setMaximumHeight(kListMaxHeight);
    list->setSelectionMode(entry.multiSelect ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    for (const FieldOption& option : options) {
        auto* item = new QListWidgetItem(option.label, list);
        item->setSelected(option.selected);
    }
    return list;
}

QWidget* widgetFor(const FormFieldEntry& entry, RadioGroups& groups)
{
    switch (entry.type) {
    case FormFieldType::TextField:
        return textWidget(entry);
    case FormFieldType::CheckBox: {
        auto* box = new QCheckBox(QStringLiteral("Seçili"));
        box->setChecked(entry.checked);
        return box;
    }
    case FormFieldType::RadioButton:
        return radioWidget(entry, groups);
    case FormFieldType::ComboBox:
    case FormFieldType::ListBox:
        return choiceWidget(entry);
    case FormFieldType::Signature:
        return new QLabel(QStringLiteral("İmza alanı — E-imza menüsünü kullanın"));
    default:
        return new QLabel(QStringLiteral("Bu alan türü salt okunur"));
    }
}

// The change of entry's widget with nothing set yet.
FieldChange changeOf(const FormFieldEntry& entry)
{
    FieldChange change;
    change.page = entry.page;
    change.annotation = entry.annotation;
    return change;
}

std::optional<FieldChange> textUpdate(const FormFieldEntry& entry, const QWidget* widget, bool& tooLong)
{
    QString text;
    QString listed = entry.value.value_or(QString());
    bool edited = true;
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        text = edit->text();
        edited = edit->isModified();
    } else if (const auto* editor = qobject_cast<const QPlainTextEdit*>(widget)) {
        // The editor gives every line break back as \n; a listed \r\n
        // alone is no change.
        text = editor->toPlainText();
        listed = withUniformLineBreaks(listed);
    }
    if (entry.password ? !edited : text == listed)
        return std::nullopt;
    if (text.size() > FormFieldWidgets::kMaxTextLength) {
        tooLong = true;
        return std::nullopt;
    }
    FieldChange change = changeOf(entry);
    change.value = text;
    return change;
}

std::optional<FieldChange> choiceUpdate(const FormFieldEntry& entry, const QWidget* widget)
{
    QList<qint64> chosen;
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        if (combo->currentIndex() >= 0)
            chosen << combo->currentIndex();
    } else if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->isSelected())
                chosen << i;
        }
    }
    if (chosen == listedSelection(entry))
        return std::nullopt;
    FieldChange change = changeOf(entry);
    change.selection = chosen;
    return change;
}

} // namespace

QButtonGroup* RadioGroups::groupFor(const QString& name)
{
    QButtonGroup*& group = m_groups[name];
    if (!group)
        group = new QButtonGroup(m_owner);
    return group;
}

namespace FormFieldWidgets {

QWidget* create(const FormFieldEntry& entry, RadioGroups& groups)
{
    QWidget* widget = widgetFor(entry, groups);
    const bool enabled = isFillable(entry);
    widget->setEnabled(enabled);
    widget->setProperty("readOnlyField", !enabled);
    widget->setObjectName(QStringLiteral("formField_%1_%2").arg(entry.page).arg(entry.annotation));
    return widget;
}

QString rowLabel(const FormFieldEntry& entry, bool enabled)
{
    QString label = QStringLiteral("Sayfa %1 · %2").arg(entry.page + 1).arg(entry.name);
    if (entry.type == FormFieldType::RadioButton)
        label += QStringLiteral(" · Alan %1").arg(entry.annotation + 1);
    if (!enabled)
        label += QStringLiteral(" · Salt okunur");
    return label;
}

std::optional<FieldChange> update(const FormFieldEntry& entry, const QWidget* widget, bool& tooLong)
{
    if (entry.readOnly)
        return std::nullopt;
    FieldChange change = changeOf(entry);
    switch (entry.type) {
    case FormFieldType::TextField:
        return textUpdate(entry, widget, tooLong);
    case FormFieldType::CheckBox: {
        const auto* box = qobject_cast<const QCheckBox*>(widget);
        if (!box || box->isChecked() == entry.checked)
            return std::nullopt;
        change.checked = box->isChecked();
        return change;
    }
    case FormFieldType::RadioButton: {
        const auto* radio = qobject_cast<const QRadioButton*>(widget);
        if (!radio || !radio->isChecked() || entry.checked)
            return std::nullopt;
        change.checked = true;
        return change;
    }
    case FormFieldType::ComboBox:
    case FormFieldType::ListBox:
        return choiceUpdate(entry, widget);
    default:
        return std::nullopt;
    }
}

} // namespace FormFieldWidgets

} // namespace velk
