#include "operations/FillForm.h"

#include "operations/DocumentQueryProgress.h"
#include "operations/FormFillDialog.h"

#include "worker/contract/operations/FormsContract.h"

#include <QJsonArray>

namespace velk {

namespace {

const QString kTitle = QStringLiteral("PDF formu");

} // namespace

std::optional<QJsonObject> fillFormDialog(QWidget* parent, PdfDocumentPtr document)
{
    return fillFormDialog(parent, std::move(document), EditPrompts::dialogs(),
                          [](FormFillDialog& dialog) { return dialog.exec(); });
}

std::optional<QJsonObject> fillFormDialog(QWidget* parent, PdfDocumentPtr document, const EditPrompts& given,
                                          const FormDialogRunner& run)
{
    const EditPrompts prompts = EditPrompts::completed(given);
    const WorkerReply reply = query(parent, std::move(document), QStringLiteral("fields"), 0);
    if (!reply.error.isEmpty()) {
        prompts.warning(parent, kTitle, reply.error);
        return std::nullopt;
    }
    const QJsonArray fields = FieldsReply::fromJson(reply.json).fieldsJson();
    if (fields.isEmpty()) {
        prompts.information(parent, kTitle, QStringLiteral("Belgede standart doldurulabilir form alanı bulunamadı."));
        return std::nullopt;
    }
    FormFillDialog dialog(fields, prompts.warning, prompts.information, parent);
    if (!run || run(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.request();
}

} // namespace velk
