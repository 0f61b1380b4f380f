#include "operations/FormFillDialog.h"

#include "app/PrimaryWidget.h"

#include "worker/contract/operations/FormsContract.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 640;
constexpr int kMargin = 24;
constexpr int kSpacing = 12;
const QString kTitle = QStringLiteral("PDF formunu doldur");

QLabel* plainLabel(const QString& text, const QString& objectName = {})
{
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    return label;
}

} // namespace

FormFillDialog::FormFillDialog(QJsonArray fields, Message warning, Message information, QWidget* parent)
    : QDialog(parent)
    , m_fields(FieldsReply::fromJson(QJsonObject{{QStringLiteral("fields"), fields}}).fields)
    , m_warning(std::move(warning))
    , m_information(std::move(information))
    , m_groups(this)
{
    setWindowTitle(kTitle);
    resize(kWidth, kHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    layout->addWidget(plainLabel(kTitle, QStringLiteral("dialogTitle")));
    layout->addWidget(plainLabel(QStringLiteral("Alanları doldurun. Kaynak belge korunur; değişiklikler yeni PDF'ye "
                                                "kaydedilir. Belgenin komut dosyaları çalıştırılmaz."),
                                 QStringLiteral("dialogSubtitle")));
    layout->addWidget(buildRows(), 1);
    buildButtons();
}

QWidget* FormFillDialog::buildRows()
{
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    auto* content = new QWidget;
    auto* form = new QFormLayout(content);
    form->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    form->setSpacing(kSpacing);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const FormFieldEntry& entry : m_fields) {
        QWidget* widget = FormFieldWidgets::create(entry, m_groups);
        form->addRow(plainLabel(FormFieldWidgets::rowLabel(entry, widget->isEnabled())), widget);
        m_widgets << widget;
    }
    area->setWidget(content);
    return area;
}

void FormFillDialog::buildButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_apply = buttons->button(QDialogButtonBox::Save);
    m_apply->setText(QStringLiteral("Uygula ve farklı kaydet…"));
    setPrimary(m_apply);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("İptal"));
    connect(m_apply, &QPushButton::clicked, this, &FormFillDialog::apply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

void FormFillDialog::apply()
{
    FillFieldsRequest request;
    for (int i = 0; i < m_fields.size() && i < m_widgets.size(); ++i) {
        bool tooLong = false;
        const std::optional<FieldChange> change = FormFieldWidgets::update(m_fields.at(i), m_widgets.at(i), tooLong);
        if (tooLong) {
            m_warning(this, QStringLiteral("Form metni"),
                      QStringLiteral("Bir alanda en fazla 10000 karakter kullanılabilir."));
            return;
        }
        if (change)
            request.updates.append(*change);
    }
    if (request.updates.isEmpty()) {
        m_information(this, QStringLiteral("PDF formu"), QStringLiteral("Henüz bir alan değiştirilmedi."));
        return;
    }
    m_request = request.toJson();
    accept();
}

} // namespace velk
