#pragma once

// The anti-rollback floor as the secure store keeps it: a compact JSON
// object {"v": 1, "sequence", "highWater", "manifestHash"}.

#include "update/ReleaseInfo.h"

#include <QJsonObject>

#include <optional>

namespace velk {

class FloorRecord {
public:
    static QJsonObject toRecord(const UpdateFloor& floor);
    // The floor a stored record holds; nothing when the record is not a
    // floor of this version with every value in its range.
    static std::optional<UpdateFloor> fromRecord(const QJsonObject& record);
};

} // namespace velk
