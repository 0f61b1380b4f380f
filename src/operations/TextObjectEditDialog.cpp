#include "operations/TextObjectEditDialog.h"

#include "operations/OperationLimits.h"
#include "app/PrimaryWidget.h"

#include "worker/contract/operations/TextObjectsContract.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kDialogWidth = 740;
constexpr int kDialogHeight = 600;
constexpr int kMargin = 24;
constexpr int kSpacing = 12;
constexpr int kSplitterHandleWidth = 12;
constexpr int kListMinimumWidth = 200;
constexpr int kEditorMinimumWidth = 240;

QLabel* plainLabel(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(objectName);
    return label;
}

QLabel* wrappedLabel(const QString& text, const QString& objectName, QWidget* parent)
{
    QLabel* label = plainLabel(text, objectName, parent);
    label->setWordWrap(true);
    return label;
}

// A titled pane of the splitter: section label above its content, which
// the pane's layout adopts.
QWidget* pane(const QString& title, QWidget* content)
{
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plainLabel(title, QStringLiteral("sectionTitle"), widget));
    layout->addWidget(content, 1);
    return widget;
}

} // namespace

TextObjectEditDialog::TextObjectEditDialog(int page, QList<TextObjectEntry> entries, Warning warning,
                                           QWidget* parent)
    : QDialog(parent)
    , m_page(page)
    , m_entries(std::move(entries))
    , m_warning(std::move(warning))
{
    const QString pageNumber = QString::number(qint64(page) + 1);
    setWindowTitle(QStringLiteral("Mevcut metni düzenle — Sayfa %1").arg(pageNumber));
    resize(kDialogWidth, kDialogHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    layout->addWidget(
        wrappedLabel(QStringLiteral("Mevcut metni düzenle · Sayfa %1").arg(pageNumber), QStringLiteral("dialogTitle"), this));
    layout->addWidget(wrappedLabel(QStringLiteral("Metin nesnesini seçin. Değiştirilen metin, aynı konum ve boyutta "
                                                  "gömülü Roboto yazı tipiyle yeniden oluşturulur. Diğer nesneler "
                                                  "yerinde kalır."),
                                   QStringLiteral("dialogSubtitle"), this));
    layout->addWidget(buildPanes(), 1);

    m_delete = new QCheckBox(QStringLiteral("Seçilen metin nesnesini sil"), this);
    connect(m_delete, &QCheckBox::toggled, m_editor, [this](bool checked) { m_editor->setEnabled(!checked); });
    layout->addWidget(m_delete);
    buildButtons();

    for (const TextObjectEntry& entry : std::as_const(m_entries))
        m_list->addItem(TextObjectEntries::rowText(entry.text));
    connect(m_list, &QListWidget::currentRowChanged, this, &TextObjectEditDialog::showEntry);
    if (!m_entries.isEmpty())
        m_list->setCurrentRow(0);
}

QWidget* TextObjectEditDialog::buildPanes()
{
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(kSplitterHandleWidth);
    splitter->setChildrenCollapsible(false);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("textObjectList"));
    m_list->setMinimumWidth(kListMinimumWidth);
    m_editor = new QPlainTextEdit;
    m_editor->setObjectName(QStringLiteral("textObjectEditor"));
    m_editor->setMinimumWidth(kEditorMinimumWidth);

    splitter->addWidget(pane(QStringLiteral("Sayfadaki metin nesneleri"), m_list));
    splitter->addWidget(pane(QStringLiteral("Seçilen nesnenin metni"), m_editor));
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({280, 400});
    return splitter;
}

void TextObjectEditDialog::buildButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_apply = buttons->button(QDialogButtonBox::Save);
    m_apply->setText(QStringLiteral("Uygula ve farklı kaydet…"));
    setPrimary(m_apply);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setText(QStringLiteral("İptal"));
    connect(m_apply, &QPushButton::clicked, this, &TextObjectEditDialog::apply);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

void TextObjectEditDialog::showEntry(int row)
{
    if (row >= 0 && row < m_entries.size())
        m_editor->setPlainText(m_entries.at(row).text);
}

void TextObjectEditDialog::apply()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    const QString text = m_editor->toPlainText();
    const bool deleting = m_delete->isChecked();
    if (!deleting && (text.trimmed().isEmpty() || text.size() > OperationLimits::kMaxEditorTextUnits)) {
        if (m_warning)
            m_warning(this, QStringLiteral("Metin"), QStringLiteral("1–10000 karakter girin veya nesneyi silmeyi seçin."));
        return;
    }
    TextObjectEditRequest request;
    request.deleting = deleting;
    request.page = m_page;
    request.object = m_entries.at(row).object;
    request.text = text;
    m_request = request.toJson();
    accept();
}

} // namespace velk
