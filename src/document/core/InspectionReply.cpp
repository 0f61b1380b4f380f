#include "document/core/InspectionReply.h"

#include "worker/runner/RunnerMessages.h"

#include "worker/contract/operations/InspectContract.h"

namespace velk {

QString InspectionReply::apply(const QJsonObject& reply, PdfDocument& document)
{
    const Decoded<InspectReply> read = InspectReply::fromJson(reply);
    if (!read.value)
        return read.error.isEmpty() ? RunnerMessages::replyInvalid() : read.error;
    document.pageSizes = read.value->pageSizes;
    document.signatureCount = read.value->signatureCount;
    document.protection = read.value->protection;
    return {};
}

} // namespace velk
