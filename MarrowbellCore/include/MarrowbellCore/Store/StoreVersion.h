#pragma once

#include <cstdint>

namespace MarrowbellCore {

/// What tells whether the library file may have changed between two moments: a commit of another connection
/// changes `dataVersion`, every row this connection writes changes `ownChanges`. Equal versions mean that
/// what was read at the first moment still holds.
struct StoreVersion {
    std::int64_t dataVersion = 0;
    std::int64_t ownChanges = 0;

    bool operator==(const StoreVersion&) const = default;
};

} // namespace MarrowbellCore
