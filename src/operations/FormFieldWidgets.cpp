#include "operations/FormFieldWidgets.h"

#include "worker/contract/PdfiumCodes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>

namespace velk {

namespace {

constexpr int kCheckBox = int(FormFieldType::CheckBox);
constexpr int kRadioButton = int(FormFieldType::RadioButton);
constexpr int kComboBox = int(FormFieldType::ComboBox);
constexpr int kListBox = int(FormFieldType::ListBox);
constexpr int kTextField = int(FormFieldType::TextField);
constexpr int kSignature = int(FormFieldType::Signature);
constexpr int kMultilineMaxHeight = 120;
constexpr int kListMaxHeight = 140;

int typeOf(const QJsonObject& entry)
{
    return entry.value(QStringLiteral("type")).toInt(0);
}

bool isFillable(const QJsonObject& entry)
{
    const int type = typeOf(entry);
    return type >= kCheckBox && type <= kTextField && !entry.value(QStringLiteral("readOnly")).toBool();
}

QJsonArray optionsOf(const QJsonObject& entry)
{
    return entry.value(QStringLiteral("options")).toArray();
}

QList<int> listedSelection(const QJsonObject& entry)
{
    QList<int> selection;
    const QJsonArray options = optionsOf(entry);
    for (int i = 0; i < options.size(); ++i) {
        if (options.at(i).toObject().value(QStringLiteral("selected")).toBool())
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

QWidget* textWidget(const QJsonObject& entry)
{
    const QString value = entry.value(QStringLiteral("value")).toString();
    const bool password = entry.value(QStringLiteral("password")).toBool();
    if (entry.value(QStringLiteral("multiline")).toBool() && !password) {
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

QWidget* radioWidget(const QJsonObject& entry, RadioGroups& groups)
{
    const QJsonValue caption = entry.value(QStringLiteral("exportValue"));
    auto* radio = new QRadioButton(caption.isString() ? caption.toString() : QStringLiteral("Bu seçeneği seç"));
    radio->setChecked(entry.value(QStringLiteral("checked")).toBool());
    groups.groupFor(entry.value(QStringLiteral("name")).toString())->addButton(radio);
    return radio;
}

QWidget* choiceWidget(const QJsonObject& entry)
{
    const QJsonArray options = optionsOf(entry);
    if (typeOf(entry) == kComboBox) {
        auto* combo = new QComboBox;
        for (const QJsonValue& option : options)
            combo->addItem(option.toObject().value(QStringLiteral("label")).toString());
        const QList<int> selected = listedSelection(entry);
        combo->setCurrentIndex(selected.isEmpty() ? -1 : selected.last());
        return combo;
    }
    auto* list = new QListWidget;
    list->setMaximumHeight(kListMaxHeight);
    list->setSelectionMode(entry.value(QStringLiteral("multiSelect")).toBool() ? QAbstractItemView::MultiSelection
                                                                              : QAbstractItemView::SingleSelection);
    for (const QJsonValue& option : options) {
        auto* item = new QListWidgetItem(option.toObject().value(QStringLiteral("label")).toString(), list);
        item->setSelected(option.toObject().value(QStringLiteral("selected")).toBool());
    }
    return list;
}

QWidget* widgetFor(const QJsonObject& entry, RadioGroups& groups)
{
    switch (typeOf(entry)) {
    case kTextField:
        return textWidget(entry);
    case kCheckBox: {
        auto* box = new QCheckBox(QStringLiteral("Seçili"));
        box->setChecked(entry.value(QStringLiteral("checked")).toBool());
        return box;
    }
    case kRadioButton:
        return radioWidget(entry, groups);
    case kComboBox:
    case kListBox:
        return choiceWidget(entry);
    case kSignature:
        return new QLabel(QStringLiteral("İmza alanı — E-imza menüsünü kullanın"));
    default:
        return new QLabel(QStringLiteral("Bu alan türü salt okunur"));
    }
}

std::optional<QJsonObject> textUpdate(const QJsonObject& entry, const QWidget* widget, bool& tooLong)
{
    QString text;
    QString listed = entry.value(QStringLiteral("value")).toString();
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
    if (entry.value(QStringLiteral("password")).toBool() ? !edited : text == listed)
        return std::nullopt;
    if (text.size() > FormFieldWidgets::kMaxTextLength) {
        tooLong = true;
        return std::nullopt;
    }
    return QJsonObject{{QStringLiteral("value"), text}};
}

std::optional<QJsonObject> choiceUpdate(const QJsonObject& entry, const QWidget* widget)
{
    QList<int> chosen;
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
    QJsonArray selection;
    for (const int index : chosen)
        selection.append(index);
    return QJsonObject{{QStringLiteral("selection"), selection}};
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

QWidget* create(const QJsonObject& entry, RadioGroups& groups)
{
    QWidget* widget = widgetFor(entry, groups);
    const bool enabled = isFillable(entry);
    widget->setEnabled(enabled);
    widget->setProperty("readOnlyField", !enabled);
    widget->setObjectName(QStringLiteral("formField_%1_%2")
                              .arg(entry.value(QStringLiteral("page")).toInt())
                              .arg(entry.value(QStringLiteral("annotation")).toInt()));
    return widget;
}

QString rowLabel(const QJsonObject& entry, bool enabled)
{
    QString label = QStringLiteral("Sayfa %1 · %2")
                        .arg(entry.value(QStringLiteral("page")).toInt() + 1)
                        .arg(entry.value(QStringLiteral("name")).toString());
    if (typeOf(entry) == kRadioButton)
        label += QStringLiteral(" · Alan %1").arg(entry.value(QStringLiteral("annotation")).toInt() + 1);
    if (!enabled)
        label += QStringLiteral(" · Salt okunur");
    return label;
}

std::optional<QJsonObject> update(const QJsonObject& entry, const QWidget* widget, bool& tooLong)
{
    if (entry.value(QStringLiteral("readOnly")).toBool())
        return std::nullopt;
    const bool checked = entry.value(QStringLiteral("checked")).toBool();
    switch (typeOf(entry)) {
    case kTextField:
        return textUpdate(entry, widget, tooLong);
    case kCheckBox: {
        const auto* box = qobject_cast<const QCheckBox*>(widget);
        if (!box || box->isChecked() == checked)
            return std::nullopt;
        return QJsonObject{{QStringLiteral("checked"), box->isChecked()}};
    }
    case kRadioButton: {
        const auto* radio = qobject_cast<const QRadioButton*>(widget);
        if (!radio || !radio->isChecked() || checked)
            return std::nullopt;
        return QJsonObject{{QStringLiteral("checked"), true}};
    }
    case kComboBox:
    case kListBox:
        return choiceUpdate(entry, widget);
    default:
        return std::nullopt;
    }
}

} // namespace FormFieldWidgets

} // namespace velk
