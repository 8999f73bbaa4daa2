#pragma once

#include <Foundation/PropertyList.h>
#include <optional>
#include <string>
#include <string_view>

namespace Foundation {
class JSONValue;
}

namespace MarrowbellCore {

/// A song's play parameters as the music service's JSON and the stored property list carry them.
/// "id" and "kind" are required; the other keys are optional. A value of the wrong kind fails the
/// decoding, also for an optional key; keys outside these seven are not read.
struct RemotePlayParameters {
    std::string id;
    std::string kind;
    std::optional<bool> isLibrary;
    std::optional<bool> reporting;
    std::optional<std::string> catalogId;
    std::optional<std::string> purchasedId;
    std::optional<std::string> reportingId;

    bool operator==(const RemotePlayParameters&) const = default;

    /// Throws Foundation::DecodingError.
    static RemotePlayParameters decode(const Foundation::JSONValue& object);
    static RemotePlayParameters decode(const Foundation::PropertyListDictionary& dictionary);
    static RemotePlayParameters decodeJSON(std::string_view json);

    /// A JSON object with "id" and "kind", and each optional member only when present (never null).
    std::string encodedJSON() const;
};

} // namespace MarrowbellCore
