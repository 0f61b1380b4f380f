#pragma once

// "Sayfaları düzenle ve ayır": the pages of the new PDF in order, each with
// an extra rotation, filled from a typed page range and then reordered by
// drag and drop or the move buttons, rotated and thinned out. GUI thread;
// modal, created on the stack by showOrganizeDialog; owns its widgets
// through Qt parenting.

#include "operations/OrganizeLayout.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace velk {

class OrganizeDialog : public QDialog {
    Q_OBJECT

public:
    explicit OrganizeDialog(int pageCount, QWidget* parent = nullptr);

    // The rows' pages and rotations in list order.
    organize::PageLayout layoutOfRows() const;

    // "Aralığı uygula": rebuilds the list from the line edit, or shows why not.
    void applyRange();
    // step is -90 or +90; applies to every selected row.
    void rotateSelected(int step);
    void removeSelected();

    QLineEdit* rangeEdit() const { return m_range; }
    QLabel* messageLabel() const { return m_message; }
    QListWidget* pageList() const { return m_list; }

    // "Sayfa 3" or "Sayfa 3  ·  90° döndürme".
    static QString rowCaption(int page, int rotation);

private:
    void buildRangeRow();
    void buildActionRow();
    static void setRow(QListWidgetItem* item, int page, int rotation);

    int m_pageCount;
    QLineEdit* m_range = nullptr;
    QLabel* m_message = nullptr;
    QListWidget* m_list = nullptr;
};

// The accepted layout, or nothing when cancelled.
std::optional<organize::PageLayout> showOrganizeDialog(QWidget* parent, int pageCount);

} // namespace velk
