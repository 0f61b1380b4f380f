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

// The update service.
inline constexpr const char* kNotConfiguredStatus =
    "Bu geliştirme sürümünde üretim güncelleme anahtarı ve HTTPS yayın kanalı henüz yapılandırılmadı. "
    "İmzasız paket yüklenmez.";
inline constexpr const char* kReadyStatus = "Güncellemeleri denetlemek için kontrol düğmesini kullanın.";
inline constexpr const char* kNotConfigured =
    "Üretim güncelleme anahtarı veya yayın kanalı yapılandırılmamış; ağ isteği gönderilmedi.";
inline constexpr const char* kReadingFloor = "Güvenli güncelleme kaydı okunuyor…";
inline constexpr const char* kCancelled = "Güncelleme işlemi iptal edildi.";
inline constexpr const char* kFloorDamaged = "Güvenli güncelleme kaydı bozuk; otomatik güncelleme kapalı.";
inline constexpr const char* kClockBehind = "Saat geri alınmış; güncelleme kontrolü için saati düzeltin.";
inline constexpr const char* kFetching = "İmzalı yayın bilgisi alınıyor…";
inline constexpr const char* kDescriptionNotFetched =
    "Güncelleme yayın bilgisi alınamadı. Yönlendirme, eksik veya aşırı büyük yanıt kullanılmadı.";
inline constexpr const char* kSavingFloor = "Yayın sırası güvenli depoya kaydediliyor…";
inline constexpr const char* kUpToDate = "İmzalı yayın bilgisine göre bu sürüm güncel.";
inline constexpr const char* kAvailable =
    "%1 sürümünün yayın imzası ve güvenli sıra kaydı doğrulandı. Kurulum paketi henüz indirilmedi.";
// Another check of this user holds the floor and could not be waited for.
inline constexpr const char* kLockUnavailable = "Güncelleme kaydı kilidi alınamadı.";

// The package.
inline constexpr const char* kCacheDirectoryFailed = "Güncelleme çalışma dizini oluşturulamadı.";
inline constexpr const char* kPackageFileFailed = "Güncelleme paketi için özel çalışma dosyası açılamadı.";
inline constexpr const char* kDownloading =
    "Kurulum paketi indiriliyor; imza ve özet kontrolü bitmeden açılmaz.";
inline constexpr const char* kPackageVerified =
    "Kurulum paketi doğrulandı. Yükleyici yalnız sizin düğmeye basmanızla açılır.";
inline constexpr const char* kPackageUnreadable = "Paket okunamadı.";
inline constexpr const char* kDownloadFailed =
    "Güncelleme paketi eksik, bozuk veya özeti uyuşmuyor; yükleyici açılmadı.";
inline constexpr const char* kPackageSize = "Paket dosyası eksik veya boyutu uyuşmuyor.";
inline constexpr const char* kPackageFormat = "İndirilen dosya beklenen kurulum biçiminde değil.";
inline constexpr const char* kPackageReadFailed = "Paket dosyası okunamadı.";
inline constexpr const char* kPackageDigest = "Paket özeti uyuşmuyor. Yükleyici açılmadı.";
inline constexpr const char* kNoVerifiedPackage = "Önce doğrulanmış kurulum paketi indirin.";
inline constexpr const char* kPackageOpenFailed = "İndirilen paket açılamadı.";

// The installer hand-off.
inline constexpr const char* kInstallerNotOpenedTitle = "Yükleyici açılmadı";
inline constexpr const char* kOpenPackageTitle = "Kurulum paketini aç";
inline constexpr const char* kOpenPackageQuestion =
    "Doğrulanmış kurulum paketi işletim sisteminizin yükleyicisinde açılacak. Devam etmeden önce diğer "
    "işlerinizin tamamlandığından emin olun.";
inline constexpr const char* kOpenInstaller = "Yükleyiciyi aç";
inline constexpr const char* kDecline = "Vazgeç";
inline constexpr const char* kInstallerRequested =
    "Yükleyici açılma isteği gönderildi. Sürüm, kurulum tamamlanıp uygulama yeniden açıldığında değişir.";
inline constexpr const char* kInstallTitle = "Kurulum";
inline constexpr const char* kInstallerFailed =
    "İşletim sistemi yükleyicisi açılamadı. Doğrulanan paketi sisteminizin paket yöneticisiyle açın.";

} // namespace velk::UpdateMessages
