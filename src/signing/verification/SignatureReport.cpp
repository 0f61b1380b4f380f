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

QString SignatureReport::verdictSentence(const SignatureReport& report)
{
    if (!report.chainTrusted)
        return QString::fromUtf8("Belge bütünlüğü doğru; güven zinciri BELİRSİZ.");
    if (report.isDocumentTimestamp || report.purposeValid)
        return QString::fromUtf8("Belge bütünlüğü ve sertifika zinciri doğrulandı.");
    return QString::fromUtf8("UYARI: Zincir güvenilir ama sertifika belge imzalama amaçlı değil. Sonuç: BELİRSİZ.");
}

} // namespace velk
