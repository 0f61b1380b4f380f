#include "document/ui/NotesDialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velk {

NotesDialog::NotesDialog(const QString& notesText, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Belge notları"));
    resize(640, 460);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);

    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setPlainText(notesText);
    layout->addWidget(m_text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString NotesDialog::text() const
{
    return m_text->toPlainText();
}

} // namespace velk
