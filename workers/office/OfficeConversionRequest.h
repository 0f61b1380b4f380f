#pragma once

// Validates a Word/ODT/RTF conversion request exactly as a converter would.
// This build has no converter, so every request, valid or not, is refused;
// the validation still decides which sentence the caller gets.

#include <QJsonObject>
#include <QString>

namespace velk {

class OfficeConversionRequest {
public:
    static constexpr qint64 kMaxDocumentBytes = 52428800; // 50 MiB

    // The reply for one parsed request object (always "ok": false).
    static QJsonObject answer(const QJsonObject& request);

    // True when the paths name an acceptable conversion.
    static bool isAcceptable(const QString& path, const QString& output);
};

} // namespace velk
