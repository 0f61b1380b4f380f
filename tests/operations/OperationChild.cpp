// velk-test-operation OPERATION DESTINATION INPUT...: runs one GUI-side
// operation the way a task of velk-pdf runs it (working copies, workspace,
// the real worker in its sandbox, publication) and answers "ok" or the
// failure's sentence on standard output, so that tests can kill it at any
// step or run two of them at once. Lives beside the worker, as velk-pdf
// does. OPERATION: "merge" (the inputs in order), "edit" (a note added to
// the first page of the input), "ocr" (the input's first page recognised),
// "save" (a copy of the input's working copy), "open" (only the working
// copy and its inspection; DESTINATION is not used).

#include "operations/AddTextOrNote.h"
#include "document/core/DocumentOpen.h"
#include "operations/OcrTask.h"
#include "operations/PageTasks.h"

#include <QCoreApplication>

#include <cstdio>

using namespace velk;

namespace {

constexpr int kUsageStatus = 64;

ExportResult onDocument(const QString& operation, const QString& input, const QString& destination)
{
    const PdfOpenResult opened = openPdfDocument(input, QString(), nullptr);
    if (!opened.document)
        return {false, opened.error};
    if (operation == QStringLiteral("open"))
        return {true, QString()};
    if (operation == QStringLiteral("edit"))
        return addTextOrNote(opened.document, 0, QPointF(0.2, 0.2), QStringLiteral("Not"), true, 12, destination);
    if (operation == QStringLiteral("ocr"))
        return recognizeDocument(opened.document, {0}, destination, nullptr);
    return copyWorkingCopy(opened.document, destination);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() < 3)
        return kUsageStatus;
    const QString& operation = arguments.at(0);
    const QString& destination = arguments.at(1);
    const QStringList inputs = arguments.mid(2);

    ExportResult result;
    if (operation == QStringLiteral("merge"))
        result = mergePdfFiles(inputs, destination);
    else if (operation == QStringLiteral("edit") || operation == QStringLiteral("ocr")
             || operation == QStringLiteral("save") || operation == QStringLiteral("open"))
        result = onDocument(operation, inputs.at(0), destination);
    else
        return kUsageStatus;

    const QByteArray answer = result.ok ? QByteArray("ok") : result.message.toUtf8();
    std::fwrite(answer.constData(), 1, size_t(answer.size()), stdout);
    std::fflush(stdout);
    return result.ok ? 0 : 1;
}
