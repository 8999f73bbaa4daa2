#pragma once

#include <Foundation/Text.h>
#include <cstddef>
#include <functional>

namespace MarrowbellCore {

/// Records of one kind are the same item exactly when their identifiers are canonically equal,
/// whatever their other fields hold; they hash by the identifier alone.
template <class Record> bool sameIdentifier(const Record& lhs, const Record& rhs) {
    return Foundation::canonicallyEqual(lhs.identifier, rhs.identifier);
}

template <class Record> struct IdentifierHash {
    std::size_t operator()(const Record& record) const noexcept {
        return Foundation::canonicalHash(record.identifier);
    }
};

} // namespace MarrowbellCore

/// Declares std::hash for a record type that hashes by its identifier.
#define MARROWBELL_HASH_BY_IDENTIFIER(Record)                                                                \
    template <>                                                                                              \
    struct std::hash<MarrowbellCore::Record> : MarrowbellCore::IdentifierHash<MarrowbellCore::Record> {}
