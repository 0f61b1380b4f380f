#pragma once

// Release versions of the form major.minor.patch, each component a decimal
// number of at most six digits without leading zeros. Versions compare
// component by component from the left.

#include <QString>

#include <compare>
#include <optional>

namespace velk {

struct ReleaseVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;

    auto operator<=>(const ReleaseVersion&) const = default;
};

// The three components when the whole text matches the version form.
std::optional<ReleaseVersion> parseVersion(const QString& text);

} // namespace velk
