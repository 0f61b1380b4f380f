#include "document/ui/ReadingControls.h"

#include "document/ui/DocumentToolbars.h"
#include "document/view/PageLayout.h"
#include "document/ui/PdfCanvas.h"
#include "document/view/ZoomSteps.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>

namespace velk {

namespace {

void addShortcut(QWidget* tab, const QKeySequence& keys, const std::function<void()>& slot)
{
    auto* shortcut = new QShortcut(keys, tab);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, tab, slot);
}

void returnFocusAfterChoice(QComboBox* combo, PdfCanvas* view)
{
    QObject::connect(combo, &QComboBox::activated, view, [view] { view->setFocus(Qt::OtherFocusReason); });
}

} // namespace

void ReadingControls::install(QWidget* tab, const DocumentToolbars& bars, PdfCanvas* view,
                              std::function<void(const QString&)> message)
{
    returnFocusAfterChoice(bars.zoomCombo, view);
    returnFocusAfterChoice(bars.viewModeCombo, view);
    returnFocusAfterChoice(bars.filterCombo, view);
    // Enter in the page box; leaving it for another control keeps that one.
    QObject::connect(bars.pageSpin, &QAbstractSpinBox::editingFinished, view, [spin = bars.pageSpin, view] {
        if (spin->hasFocus())
            view->setFocus(Qt::OtherFocusReason);
    });

    QObject::connect(bars.zoomCombo->lineEdit(), &QLineEdit::returnPressed, view,
                     [combo = bars.zoomCombo, view, message] {
        const std::optional<double> factor = ZoomSteps::parse(combo->currentText());
        if (!factor) {
            message(QStringLiteral("Yakınlaştırma %25 ile %400 arasında bir yüzde olmalı."));
            return;
        }
        view->setZoomFactor(*factor);
        view->setFocus(Qt::OtherFocusReason);
    });
    QObject::connect(view, &PdfCanvas::zoomFactorChanged, bars.zoomCombo,
                     [combo = bars.zoomCombo](double factor) { showZoomFactor(combo, factor); });

    addShortcut(tab, QKeySequence::ZoomIn, [view] { view->zoomIn(); });
    // Ctrl+= is where plus sits without Shift on many layouts.
    addShortcut(tab, QKeySequence(Qt::CTRL | Qt::Key_Equal), [view] { view->zoomIn(); });
    addShortcut(tab, QKeySequence::ZoomOut, [view] { view->zoomOut(); });
    addShortcut(tab, QKeySequence(Qt::CTRL | Qt::Key_0), [combo = bars.zoomCombo, view] {
        if (combo->currentIndex() == ZoomMode::kFitWidth)
            view->setZoomMode(ZoomMode::kFitWidth);
        else
            combo->setCurrentIndex(ZoomMode::kFitWidth);
    });
    addShortcut(tab, QKeySequence::Find, [edit = bars.searchEdit] {
        edit->setFocus(Qt::ShortcutFocusReason);
        edit->selectAll();
    });
}

void ReadingControls::showZoomFactor(QComboBox* zoomCombo, double factor)
{
    // No item stands for the factor: choosing any item afterwards is a change.
    const QSignalBlocker blocker(zoomCombo);
    zoomCombo->setCurrentIndex(-1);
    zoomCombo->setEditText(ZoomSteps::text(factor));
}

} // namespace velk
