#include "signing/verification/SignatureReport.h"

namespace velk {

QString SignatureReport::statusWord(int status)
{
    if (status == kStatusGood)
        return QString::fromUtf8("GEÇERLİ");
    if (status == kStatusRevoked)
        return QString::fromUtf8("İPTAL");
    return QString::fromUtf8("BELİRSİZ");
}

} // namespace velk
