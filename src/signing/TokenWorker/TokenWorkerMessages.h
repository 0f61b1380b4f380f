#pragma once

// The token worker's sentences, shown to the user unchanged.

namespace velk::TokenWorkerMessages {

inline constexpr const char* kModulePathRequired = "Yerel üretici PKCS#11 modülü için mutlak dosya yolu gerekli.";
inline constexpr const char* kModuleUnreadable = "PKCS#11 modülü okunamıyor.";
inline constexpr const char* kModuleChanged = "PKCS#11 modülü onaylanan dosyadan farklı; yeniden seçin.";
inline constexpr const char* kModuleNotLoaded =
    "PKCS#11 modülü yüklenemedi; uygulama ve sürücü mimarilerini kontrol edin.";
inline constexpr const char* kFunctionListUnusable = "PKCS#11 işlev tablosu uyumsuz.";
inline constexpr const char* kNoToken = "Takılı token/akıllı kart bulunamadı.";
inline constexpr const char* kSlotGone = "Seçilen kart artık takılı değil; yeniden tarayın.";
inline constexpr const char* kPinBlocked = "PIN kilitli veya son denemede; kart yönetimi aracıyla kontrol edin.";
inline constexpr const char* kPinRequired = "Geçerli bir PIN gerekli.";
inline constexpr const char* kKeyNotFound =
    "Seçilen sertifikaya ait tek bir özel anahtar bulunamadı; kartı yeniden tarayın.";
inline constexpr const char* kAlgorithmInvalid = "İmza algoritması veya özet geçersiz.";
inline constexpr const char* kEcdsaLength = "Cihaz ECDSA imzası beklenen uzunlukta değil.";
inline constexpr const char* kEcdsaConversion = "ECDSA imzası dönüştürülemedi.";

} // namespace velk::TokenWorkerMessages
