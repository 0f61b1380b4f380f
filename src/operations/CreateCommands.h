#pragma once

// The main window's creation and OCR commands, from the user's choices to
// the task handed to the window's background runner: "&Boş PDF oluştur…",
// "&Görsellerden PDF…", the office conversion and "Metni tanı
// (OCR)…". Only OCR and the office conversion can be cancelled.
//
// GUI thread. Created and owned (as a QObject child) by the main window,
// which connects its actions here and answers the host functions. Holds no
// document between commands.

#include "operations/DocumentEditCommands.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace velk {

// The file questions and the warning box, as replaceable functions (tests
// answer them directly); the page counts and ranges are asked with Qt's
// input dialogs parented to the window.
struct CreateCommandPrompts {
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)> openFileName;
    std::function<QStringList(QWidget* parent, const QString& title, const QString& filter)> openFileNames;
    std::function<QString(QWidget* parent, const QString& title, const QString& proposedName,
                          const QString& filter)>
        saveFileName;
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
};

class CreateCommands : public QObject {
    Q_OBJECT

public:
    // window parents every dialog and owns this object; showStatus puts a
    // message in the window's status bar.
    CreateCommands(QWidget* window, EditCommandHost host, CreateCommandPrompts prompts,
                   std::function<void(const QString& message)> showStatus);

public Q_SLOTS:
    void createBlank();
    void convertImages();
    void convertOffice();
    void ocrDocument();

private:
    void startOcr(const PdfDocumentPtr& document, const QList<int>& pages, const QString& destination);

    QWidget* m_window;
    EditCommandHost m_host;
    CreateCommandPrompts m_prompts;
    std::function<void(const QString& message)> m_showStatus;
};

} // namespace velk
