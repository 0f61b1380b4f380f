#include "update/FloorRecord.h"

#include "update/UpdateLimits.h"
#include "worker/contract/JsonFields.h"

#include <limits>

namespace velk {

namespace {

constexpr int kRecordVersion = 1;
constexpr qsizetype kManifestHashLength = 64;

// A stored integer, or -1 (which no range admits) when missing or not a
// whole number.
qint64 storedInteger(const QJsonObject& record, const char* key)
{
    return JsonFields::integer(record, QLatin1String(key), std::numeric_limits<qint64>::min(),
                               std::numeric_limits<qint64>::max())
        .value_or(-1);
}

} // namespace

QJsonObject FloorRecord::toRecord(const UpdateFloor& floor)
{
    return QJsonObject{{QStringLiteral("v"), kRecordVersion},
                       {QStringLiteral("sequence"), floor.sequence},
                       {QStringLiteral("highWater"), floor.highWater},
                       {QStringLiteral("manifestHash"), QString::fromLatin1(floor.manifestHash)}};
}

std::optional<UpdateFloor> FloorRecord::fromRecord(const QJsonObject& record)
{
    const qint64 version = storedInteger(record, "v");
    UpdateFloor floor;
    floor.sequence = storedInteger(record, "sequence");
    floor.highWater = storedInteger(record, "highWater");
    const std::optional<QString> hash =
        JsonFields::string(record, QStringLiteral("manifestHash"), kManifestHashLength);
    floor.manifestHash = hash.value_or(QString()).toLatin1();
    const bool hashValid = floor.sequence == 0 || (hash && floor.manifestHash.size() == kManifestHashLength);
    if (version != kRecordVersion || floor.sequence < 0 || floor.sequence > UpdateLimits::kMaxSequence
        || floor.highWater < 0 || floor.highWater > UpdateLimits::kMaxTimestamp || !hashValid)
        return std::nullopt;
    return floor;
}

} // namespace velk
