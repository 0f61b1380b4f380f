#include "operations/OrganizeDialog.h"

#include "operations/ListRowMoves.h"
#include "operations/PageRanges.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kDialogWidth = 660;
constexpr int kDialogHeight = 620;
constexpr int kMargin = 24;
constexpr int kSpacing = 12;
constexpr int kItemSpacing = 4;
constexpr int kPageRole = Qt::UserRole;
constexpr int kRotationRole = Qt::UserRole + 1;

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QPushButton* button(const QString& text, const QString& toolTip, QWidget* parent)
{
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setToolTip(toolTip);
    return pushButton;
}

} // namespace

OrganizeDialog::OrganizeDialog(int pageCount, QWidget* parent)
    : QDialog(parent)
    , m_pageCount(pageCount)
{
    setWindowTitle(QStringLiteral("Sayfaları düzenle ve ayır"));
    resize(kDialogWidth, kDialogHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    layout->addWidget(wrappedLabel(QStringLiteral("Sayfaları sürükleyerek sıralayın, seçtiklerinizi döndürün veya "
                                                  "kaldırın. Sonuç yeni bir PDF olarak kaydedilir."),
                                   this));
    buildRangeRow();
    m_message = wrappedLabel(QString(), this);
    layout->addWidget(m_message);

    m_list = new QListWidget(this);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSpacing(kItemSpacing);
    layout->addWidget(m_list, 1);
    layout->addLayout(createMoveButtons(m_list, this));
    buildActionRow();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("Farklı kaydet…"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    applyRange();
}

void OrganizeDialog::buildRangeRow()
{
    auto* row = new QHBoxLayout;
    m_range = new QLineEdit(QStringLiteral("1-%1").arg(m_pageCount), this);
    m_range->setPlaceholderText(QStringLiteral("Örn. 3,1-2 veya 5-1"));
    m_range->setToolTip(QStringLiteral("Yeni PDF'ye alınacak sayfalar ve sıraları"));
    row->addWidget(m_range, 1);
    QPushButton* apply = button(QStringLiteral("Aralığı uygula"),
                                QStringLiteral("Yazılan sayfa aralığıyla listeyi yeniden oluştur"), this);
    connect(apply, &QPushButton::clicked, this, &OrganizeDialog::applyRange);
    row->addWidget(apply);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void OrganizeDialog::buildActionRow()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    const QString rotateTip = QStringLiteral("Seçili sayfaları 90 derece döndür");
    QPushButton* left = button(QStringLiteral("Sola döndür"), rotateTip, this);
    QPushButton* right = button(QStringLiteral("Sağa döndür"), rotateTip, this);
    QPushButton* remove =
        button(QStringLiteral("Seçilileri kaldır"), QStringLiteral("Seçili sayfaları çıktı listesinden çıkar"), this);
    connect(left, &QPushButton::clicked, this, [this] { rotateSelected(-90); });
    connect(right, &QPushButton::clicked, this, [this] { rotateSelected(90); });
    connect(remove, &QPushButton::clicked, this, &OrganizeDialog::removeSelected);
    row->addWidget(left);
    row->addWidget(right);
    row->addWidget(remove);
    row->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

QString OrganizeDialog::rowCaption(int page, int rotation)
{
    const QString number = QString::number(qint64(page) + 1);
    if (rotation == 0)
        return QStringLiteral("Sayfa %1").arg(number);
    return QStringLiteral("Sayfa %1  ·  %2° döndürme").arg(number).arg(rotation);
}

void OrganizeDialog::setRow(QListWidgetItem* item, int page, int rotation)
{
    item->setData(kPageRole, page);
    item->setData(kRotationRole, rotation);
    item->setText(rowCaption(page, rotation));
}

void OrganizeDialog::applyRange()
{
    const PageRangeResult range = parsePageRanges(m_range->text(), m_pageCount);
    if (!range.error.isEmpty()) {
        m_message->setText(range.error);
        return;
    }
    m_message->clear();
    m_list->clear();
    for (const int page : range.pages)
        setRow(new QListWidgetItem(m_list), page, 0);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void OrganizeDialog::rotateSelected(int step)
{
    for (QListWidgetItem* item : m_list->selectedItems()) {
        const int rotation = (item->data(kRotationRole).toInt() + step + 360) % 360;
        setRow(item, item->data(kPageRole).toInt(), rotation);
    }
}

void OrganizeDialog::removeSelected()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (!selected.isEmpty() && selected.size() == m_list->count()) {
        m_message->setText(QStringLiteral("PDF'de en az bir sayfa kalmalı."));
        return;
    }
    qDeleteAll(selected);
    m_message->clear();
}

organize::PageLayout OrganizeDialog::layoutOfRows() const
{
    organize::PageLayout result;
    for (int row = 0; row < m_list->count(); ++row) {
        result.pages.append(m_list->item(row)->data(kPageRole).toInt());
        result.rotations.append(m_list->item(row)->data(kRotationRole).toInt());
    }
    return result;
}

std::optional<organize::PageLayout> showOrganizeDialog(QWidget* parent, int pageCount)
{
    OrganizeDialog dialog(pageCount, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.layoutOfRows();
}

} // namespace velk
