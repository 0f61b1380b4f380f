#include "signing/TokenWorker/TokenErrorMessage.h"

namespace velk {

QString tokenErrorMessage(CK_RV rv)
{
    switch (rv) {
    case CKR_DEVICE_REMOVED:
    case CKR_TOKEN_NOT_PRESENT:
        return QStringLiteral("Kart çıkarıldı veya cihaz bulunamadı.");
    case CKR_KEY_TYPE_INCONSISTENT:
    case CKR_MECHANISM_INVALID:
        return QStringLiteral("Cihaz gerekli imza algoritmasını desteklemiyor.");
    case CKR_PIN_INCORRECT:
        return QStringLiteral("PIN yanlış. Otomatik yeniden deneme yapılmadı.");
    case CKR_PIN_INVALID:
    case CKR_PIN_LEN_RANGE:
        return QStringLiteral("PIN biçimi veya uzunluğu uygun değil.");
    case CKR_PIN_EXPIRED:
        return QStringLiteral("PIN süresi dolmuş; üreticinin kart yönetimi aracını kullanın.");
    case CKR_PIN_LOCKED:
        return QStringLiteral("PIN kilitli; üreticinin kart yönetimi aracını kullanın.");
    default:
        return QStringLiteral("PKCS#11 işlemi başarısız (0x%1).").arg(quint64(rv), 0, 16);
    }
}

} // namespace velk
