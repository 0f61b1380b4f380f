#pragma once

// The window that shows a verification's result texts: the development
// notice, the texts in a read-only view, and "Kapat". GUI thread; the
// caller owns the dialog.

#include <QDialog>
#include <QString>

#include <memory>

namespace velk {

std::unique_ptr<QDialog> createVerificationResultDialog(QWidget* parent, const QString& text);

} // namespace velk
