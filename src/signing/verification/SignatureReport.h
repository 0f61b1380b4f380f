#pragma once

// What verification (and the checks before and after signing) found out
// about one signature or document time stamp: independent facts, filled by
// the integrity, time-stamp, chain, revocation and permission checks, from
// which the shown verdict is derived. A plain value, copied freely.

#include <QByteArray>
#include <QList>
#include <QString>

namespace velk {

// Revocation status values.
inline constexpr int kStatusUndetermined = 0; // BELİRSİZ
inline constexpr int kStatusGood = 1;         // GEÇERLİ
inline constexpr int kStatusRevoked = 2;      // İPTAL

struct SignatureReport {
    int number = 0;
    bool integrityValid = false;
    bool coversWholeFile = false;
    bool chainTrusted = false;
    bool purposeValid = false;
    QList<QByteArray> chain; // DER, signer first
    QString signerName;
    QString verdict;
    QString declaredSigningTime;
    bool hasTimestamp = false;
    bool timestampValid = false;
    QString timestampTime; // ISO-8601 UTC
    QByteArray timestampToken;
    int tsaRevocationStatus = kStatusUndetermined;
    int revocationStatus = kStatusUndetermined;
    QString revocationText;
    bool nesQualified = false;
    QString nesText;
    QString permissionsText;
    bool permissionViolation = false;
    bool revisionUncertain = false;
    int historicalStatus = kStatusUndetermined;
    QString historicalText;
    qint64 coveredLength = 0;
    bool isDocumentTimestamp = false;
    bool archiveCovered = false;
    QString archiveText;
    QByteArray signerCertificate;
    QList<QByteArray> certificates;
    QList<QByteArray> ocspResponses;
    QList<QByteArray> crls;

    // "GEÇERLİ", "İPTAL", or "BELİRSİZ" for anything else.
    static QString statusWord(int status);
    // The verdict of the integrity, chain and purpose facts: chain
    // undetermined, verified, or trusted but not meant for signing.
    static QString verdictSentence(const SignatureReport& report);
};

} // namespace velk
