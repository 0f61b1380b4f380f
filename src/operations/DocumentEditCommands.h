#pragma once

// The editing commands of the main window, from the user's choice to the
// task handed to the window's background runner: replacing or deleting an
// existing text object, choosing a shape before the tab's area pick, and
// saving the text, note or shape a document tab asks for. Each asks for the
// destination and starts its task without a cancellation flag.
//
// GUI thread. Created and owned (as a QObject child) by the main window,
// which connects its actions and its tabs' requests to the slots here and
// answers the host functions. Holds no document between commands.

#include "worker/runner/CancelFlag.h"
#include "operations/EditPrompts.h"
#include "document/core/PdfDocument.h"

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>

class QWidget;

namespace velk {

class NativeDocumentTab;

// What the commands need from the main window.
struct EditCommandHost {
    // True while a file-producing task runs.
    std::function<bool()> isBusy;
    // The current tab when it is a document tab, else null.
    std::function<NativeDocumentTab*()> currentDocumentTab;
    // Runs the task in the background; a task started while busy is dropped.
    std::function<void(const QString& outputPath, std::function<ExportResult()> task, CancelFlag cancel)>
        startExport;
};

class DocumentEditCommands : public QObject {
    Q_OBJECT

public:
    // window parents every dialog and owns this object.
    DocumentEditCommands(QWidget* window, EditCommandHost host, EditPrompts prompts = EditPrompts::dialogs());

public Q_SLOTS:
    // "Metni düzenle…"
    void editExistingText();
    // "Vurgulama veya şekil ekle…": the shape choice, then the area pick.
    void addShape();
    // A tab's editRequested.
    void saveTextOrNote(velk::PdfDocumentPtr document, int page, QPointF position, QString text, bool note,
                        double size);
    // A tab's annotationRequested; area is normalised to the displayed page.
    void saveAnnotation(velk::PdfDocumentPtr document, int page, QString kind, QRectF area);

private:
    // The open document of the current tab, when no task runs.
    NativeDocumentTab* editableTab() const;
    QString askDestination(const QString& title, const QString& proposedName) const;

    QWidget* m_window;
    EditCommandHost m_host;
    EditPrompts m_prompts;
};

} // namespace velk
