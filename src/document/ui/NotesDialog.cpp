#include "document/ui/NotesDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int kPageRole = Qt::UserRole;

} // namespace

NotesDialog::NotesDialog(const QList<PdfNote>& notes, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Belge notları"));
    resize(640, 460);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);

    auto* hint = new QLabel(QStringLiteral("Notun sayfasına gitmek için çift tıklayın."), this);
    layout->addWidget(hint);
    m_list = new QListWidget(this);
    m_list->setWordWrap(true);
    m_list->setAlternatingRowColors(true);
    for (const PdfNote& note : notes) {
        auto* item = new QListWidgetItem(noteEntryText(note), m_list);
        item->setData(kPageRole, note.page);
    }
    connect(m_list, &QListWidget::itemDoubleClicked, this, &NotesDialog::choose);
    connect(m_list, &QListWidget::itemActivated, this, &NotesDialog::choose);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void NotesDialog::choose(QListWidgetItem* item)
{
    if (!item)
        return;
    m_chosenPage = item->data(kPageRole).toInt();
    accept();
}

} // namespace velk
