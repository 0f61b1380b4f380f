#pragma once

// The sentences of the update client, shown to the user unchanged.

namespace velk::UpdateMessages {

inline constexpr const char* kAnchorUnconfigured =
    "Üretim güncelleme anahtarı ve HTTPS kanalı bu derlemede yapılandırılmamış.";
inline constexpr const char* kInputsInvalid =
    "Güncelleme kaydı, saat veya metadata boyutu geçersiz. Saati kontrol edin.";
inline constexpr const char* kMetadataInvalid = "Güncelleme metadata'sı geçersiz.";
inline constexpr const char* kEnvelopeInvalid = "Güncelleme imza zarfı geçersiz.";
inline constexpr const char* kSignatureInvalid = "Güncelleme imzası doğrulanamadı. Paket indirilmedi.";
inline constexpr const char* kPayloadInvalid = "İmzalı güncelleme içeriği geçersiz.";
inline constexpr const char* kReleaseUnsuitable =
    "Güncellemenin ürün, platform, sürüm veya boyut bilgisi uygun değil; eski sürüm yüklenmez.";
inline constexpr const char* kOutsideTimeWindow =
    "Güncelleme metadata'sı zaman sınırları dışında veya süresi dolmuş.";
inline constexpr const char* kDigestInvalid = "Paket özeti geçersiz.";
inline constexpr const char* kPackageAddressInvalid =
    "Güncelleme paketi adresi veya biçimi güvenilen kanalla uyuşmuyor.";
inline constexpr const char* kRollback =
    "Eski veya aynı sıra numarasıyla değiştirilmiş güncelleme metadata'sı reddedildi.";

// The secure-store client.
inline constexpr const char* kStoreCancelled = "İşlem iptal edildi.";
inline constexpr const char* kStoreNotStarted = "Güvenli depo başlatılamadı.";
inline constexpr const char* kStoreRequestTooLarge = "Güvenli kayıt sınırı aşıldı.";
inline constexpr const char* kStoreNoAnswer =
    "Güvenli depo yanıt vermedi veya işlem iptal edildi. Düz metin kayıt yapılmadı.";
inline constexpr const char* kStoreInvalidReply = "Güvenli depo geçersiz yanıt verdi.";

} // namespace velk::UpdateMessages
