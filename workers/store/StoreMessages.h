#pragma once

// Every sentence the secure store answers with. Each failure gets its own,
// so the user (and a support request) can tell them apart.

namespace velk::StoreMessages {

inline constexpr const char* kRecordFormatInvalid = "Güvenli kayıt biçimi geçersiz.";
inline constexpr const char* kRecordTooLarge = "Güvenli kayıt sınırı aşıldı.";
inline constexpr const char* kDirectoryUnavailable = "Güvenli depo dizini hazırlanamadı.";
inline constexpr const char* kKeyUnusable =
    "Güvenli depo anahtarı kullanılamıyor; dosyanın sahibi, izinleri veya boyutu uygun değil.";
inline constexpr const char* kKeyNotCreated = "Güvenli depo anahtarı oluşturulamadı.";
inline constexpr const char* kSealFailed = "Güvenli kayıt şifrelenemedi.";
inline constexpr const char* kWriteFailed = "Güvenli kayıt yazılamadı; önceki kayıt korundu.";
inline constexpr const char* kFileUnreadable = "Güvenli kayıt dosyası okunamadı.";
inline constexpr const char* kOpenFailed =
    "Güvenli kayıt açılamadı; başka bir hesaba ya da kullanıcıya ait veya bozulmuş.";
inline constexpr const char* kRecordDamaged = "Güvenli kayıt bozuk veya çok büyük.";
inline constexpr const char* kClearFailed = "Güvenli kayıt silinemedi.";

} // namespace velk::StoreMessages
