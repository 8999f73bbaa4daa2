#pragma once

#include <Foundation/PropertyList.h>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Foundation {
class JSONValue;
}

namespace MusicKit {

/// What the player needs to play an item. It reads from and writes to the same keys as the
/// service's play parameters: "id" and "kind" always, and "isLibrary", "reporting", "catalogId",
/// "purchasedId" and "reportingId" when present.
struct PlayParameters {
    std::string id;
    std::string kind;
    std::optional<bool> isLibrary;
    std::optional<bool> reporting;
    std::optional<std::string> catalogId;
    std::optional<std::string> purchasedId;
    std::optional<std::string> reportingId;

    bool operator==(const PlayParameters&) const = default;

    Foundation::PropertyListDictionary propertyListDictionary() const;
    /// The binary property list ("bplist00"). Throws Foundation::PropertyListError.
    std::vector<std::uint8_t> propertyListEncoded() const;

    /// "id" and "kind" must be texts; the other keys are read when they hold the expected kind of
    /// value and ignored otherwise. Throws Foundation::DecodingError.
    static PlayParameters decode(const Foundation::PropertyListDictionary& dictionary);
    /// Reads a JSON object holding the same keys, with the same leniency. Throws Foundation::DecodingError.
    static PlayParameters decode(const Foundation::JSONValue& object);
    static PlayParameters decodeJSON(std::string_view json);
};

} // namespace MusicKit
