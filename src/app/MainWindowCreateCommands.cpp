// The main window's creation and OCR commands: "&Boş PDF oluştur…",
// "&Görsellerden PDF…", the office conversion and "Metni tanı
// (OCR)…", handed to CreateCommands with this window as their host.

#include "app/MainWindow.h"

#include "operations/CreateCommands.h"

#include <QAction>
#include <QStatusBar>

namespace velk {

void MainWindow::connectCreateCommands()
{
    CreateCommandPrompts prompts{m_prompts.openFileName, m_prompts.openFileNames, m_prompts.saveFileName,
                                 m_prompts.warning};
    m_createCommands = new CreateCommands(this, commandHost(), std::move(prompts),
                                          [this](const QString& message) { statusBar()->showMessage(message); });
    connect(m_actions.blankPdf, &QAction::triggered, this, &MainWindow::createBlank);
    connect(m_actions.imagesToPdf, &QAction::triggered, this, &MainWindow::convertImages);
    connect(m_actions.officeToPdf, &QAction::triggered, this, &MainWindow::convertOffice);
    connect(m_actions.ocr, &QAction::triggered, this, &MainWindow::ocrDocument);
}

void MainWindow::createBlank()
{
    m_createCommands->createBlank();
}

void MainWindow::convertImages()
{
    m_createCommands->convertImages();
}

void MainWindow::convertOffice()
{
    m_createCommands->convertOffice();
}

void MainWindow::ocrDocument()
{
    m_createCommands->ocrDocument();
}

} // namespace velk
