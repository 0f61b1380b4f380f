#include "signing/verification/VerificationText.h"

namespace velk {

namespace {

QString timestampText(const SignatureReport& report)
{
    if (report.timestampValid)
        return QStringLiteral("İmza/zincir doğrulandı — %1; TSA iptal durumu: %2")
            .arg(report.timestampTime, SignatureReport::statusWord(report.tsaRevocationStatus));
    if (report.hasTimestamp)
        return QStringLiteral("Var, doğrulanamadı");
    return QStringLiteral("Yok");
}

} // namespace

QString VerificationText::block(const SignatureReport& report)
{
    // Filled one placeholder at a time: a report text holding "%1" must
    // stay as it is.
    const QString head =
        QStringLiteral("İmza %1\nİmzacı: ").arg(report.number) + report.signerName + QStringLiteral("\nBütünlük: ")
        + (report.integrityValid ? QStringLiteral("Doğrulandı") : QStringLiteral("Doğrulanamadı"))
        + QStringLiteral("\nGüncel dosyanın tamamını kapsıyor: ")
        + (report.coversWholeFile ? QStringLiteral("Evet") : QStringLiteral("Hayır — imzadan sonra belgeye veri eklenmiş"))
        + QStringLiteral("\n") + report.verdict;
    const QString middle =
        QStringLiteral("\nBeyan edilen imza zamanı: ")
        + (report.declaredSigningTime.isEmpty() ? QStringLiteral("Yok") : report.declaredSigningTime)
        + QStringLiteral(" (cihaz saati; güvenilir zaman değildir)\nZaman damgası: ") + timestampText(report)
        + QStringLiteral("\nİptal durumu: ") + SignatureReport::statusWord(report.revocationStatus)
        + QStringLiteral("\nNES: ") + report.nesText + QStringLiteral("\nİzinler: ") + report.permissionsText;
    const QString tail = QStringLiteral("\nTarihsel doğrulama: ") + report.historicalText + QStringLiteral("\nArşiv: ")
                         + report.archiveText;
    return head + middle + tail;
}

QStringList VerificationText::texts(const SignatureReports& reports)
{
    if (!reports.error.isEmpty())
        return {reports.error};
    if (reports.reports.isEmpty())
        return {QStringLiteral("Bu belgede kriptografik PDF imzası bulunamadı.")};
    QStringList blocks;
    for (const SignatureReport& report : reports.reports)
        blocks.append(block(report));
    return blocks;
}

QString VerificationText::text(const SignatureReports& reports)
{
    return texts(reports).join(QStringLiteral("\n\n"));
}

} // namespace velk
