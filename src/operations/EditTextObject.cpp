#include "operations/EditTextObject.h"

#include "operations/DocumentQueryProgress.h"
#include "operations/TextObjectEditDialog.h"
#include "operations/TextObjectEntries.h"

namespace velk {

namespace {

const QString kTitle = QStringLiteral("Metin düzenleme");

} // namespace

std::optional<QJsonObject> editTextObjectDialog(QWidget* parent, PdfDocumentPtr document, int page)
{
    return editTextObjectDialog(parent, std::move(document), page, EditPrompts::dialogs());
}

std::optional<QJsonObject> editTextObjectDialog(QWidget* parent, PdfDocumentPtr document, int page,
                                                const EditPrompts& given)
{
    const EditPrompts prompts = EditPrompts::completed(given);
    const WorkerReply reply = query(parent, std::move(document), QStringLiteral("textObjects"), page);
    if (!reply.error.isEmpty()) {
        prompts.warning(parent, kTitle, reply.error);
        return std::nullopt;
    }
    QList<TextObjectEntry> entries = TextObjectEntries::read(reply.json);
    if (entries.isEmpty()) {
        prompts.information(parent, kTitle,
                            QStringLiteral("Bu sayfada düzenlenebilir doğrudan metin nesnesi bulunamadı. Taranmış "
                                           "görüntü ve iç içe grafik metinleri bu araçla değiştirilemez."));
        return std::nullopt;
    }
    TextObjectEditDialog dialog(page, std::move(entries), prompts.warning, parent);
    if (prompts.runTextObjectDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.request();
}

} // namespace velk
