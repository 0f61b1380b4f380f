#include "operations/MergeOrderDialog.h"

#include "operations/ListRowMoves.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kDialogWidth = 660;
constexpr int kDialogHeight = 500;
constexpr int kMargin = 24;
constexpr int kSpacing = 16;
constexpr int kItemSpacing = 6;
constexpr int kPathRole = Qt::UserRole;

} // namespace

MergeOrderDialog::MergeOrderDialog(const QStringList& paths, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("PDF birleştirme sırası"));
    resize(kDialogWidth, kDialogHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    auto* label = new QLabel(
        QStringLiteral("Dosyaları sürükleyerek birleştirme sırasını belirleyin. Kaynak dosyalar korunur."), this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label);

    m_list = new QListWidget(this);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSpacing(kItemSpacing);
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_list);
        item->setData(kPathRole, path);
        item->setToolTip(path);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    layout->addWidget(m_list, 1);
    layout->addLayout(createMoveButtons(m_list, this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Birleştir…"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QStringList MergeOrderDialog::orderedPaths() const
{
    QStringList paths;
    for (int row = 0; row < m_list->count(); ++row)
        paths.append(m_list->item(row)->data(kPathRole).toString());
    return paths;
}

QStringList chooseMergeOrder(QWidget* parent, const QStringList& paths)
{
    MergeOrderDialog dialog(paths, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.orderedPaths();
}

} // namespace velk
