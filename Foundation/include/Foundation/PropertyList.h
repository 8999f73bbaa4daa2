#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace Foundation {

/// A failure to read bytes as a binary property list of the expected shape.
class PropertyListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One value of a flat property-list dictionary. Kinds our lists never use (data, dates, arrays,
/// nested dictionaries) are kept as `Unsupported` so that decoders can report a type mismatch.
struct PropertyListUnsupported {
    bool operator==(const PropertyListUnsupported&) const = default;
};
using PropertyListValue = std::variant<PropertyListUnsupported, std::string, bool, std::int64_t, double>;

/// A flat dictionary in a binary property list ("bplist00"), entries kept in insertion order.
class PropertyListDictionary {
public:
    void set(std::string key, PropertyListValue value);
    /// The value under `key`, or null when the key is absent.
    const PropertyListValue* find(std::string_view key) const;
    const std::vector<std::pair<std::string, PropertyListValue>>& entries() const { return entries_; }

    std::vector<std::uint8_t> binaryEncoded() const;
    /// Throws PropertyListError when the bytes are not a property list whose root is a dictionary.
    static PropertyListDictionary decodeBinary(std::span<const std::uint8_t> bytes);

private:
    std::vector<std::pair<std::string, PropertyListValue>> entries_;
};

} // namespace Foundation
