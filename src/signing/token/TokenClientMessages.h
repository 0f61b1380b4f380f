#pragma once

// The token client's sentences, shown to the user unchanged.

namespace velk::TokenClientMessages {

inline constexpr const char* kPinFrameInvalid = "Token PIN çerçevesi geçersiz.";
inline constexpr const char* kCancelled = "İşlem iptal edildi.";
inline constexpr const char* kNotStarted = "Token işleyicisi başlatılamadı.";
inline constexpr const char* kFrameTooLarge = "Token isteği sınırı aşıldı.";
inline constexpr const char* kNotDelivered = "Token isteği gönderilemedi veya iptal edildi.";
inline constexpr const char* kCancelledWhileRunning =
    "İşlem iptal edildi. Cihaz işlemi başlamışsa tamamlanmış olabilir; dosya kaydedilmedi.";
inline constexpr const char* kLimitExceeded = "Token işlemi süre/yanıt sınırını aştı; otomatik tekrar yapılmadı.";
inline constexpr const char* kInvalidReply = "Token işleyicisi geçersiz yanıt verdi veya kapandı.";
inline constexpr const char* kFailed = "Token işlemi başarısız.";

} // namespace velk::TokenClientMessages
