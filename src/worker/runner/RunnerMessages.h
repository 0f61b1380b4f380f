#pragma once

// The sentences the runner shows; the sandbox's internal English texts are
// never shown, they all become sandboxFailed().

#include <QString>

namespace velk::RunnerMessages {

inline QString workerMissing() { return QStringLiteral("PDF işleyicisi bulunamadı."); }
inline QString requestTooLarge() { return QStringLiteral("PDF işlem isteği sınırı aşıldı."); }
inline QString sandboxFailed()
{
    return QStringLiteral("PDF işleyicisi yalıtılmış ortamda tamamlanamadı. "
                          "Sistem yalıtım desteğini ve süre sınırını kontrol edin.");
}
inline QString replyTooLarge() { return QStringLiteral("PDF işleyicisi çıktı sınırını aştı."); }
inline QString replyInvalid() { return QStringLiteral("PDF işleyicisi geçersiz yanıt verdi."); }
inline QString operationIncomplete() { return QStringLiteral("PDF işlemi tamamlanamadı."); }
inline QString workerReportedError() { return QStringLiteral("PDF işleyicisi hata bildirdi."); }
inline QString pagePixelsInvalid() { return QStringLiteral("İşleyici sayfa pikselleri geçersiz veya sınır dışında."); }

} // namespace velk::RunnerMessages
