#pragma once

#include "CodingKeys.h"

#include <cstdint>
#include <string>

namespace Foundation {
class JSONValue;
}

namespace MarrowbellCore {

/// A library page's metadata.
struct Meta {
    enum class CodingKeys { total };

    /// The number of resources of the whole listing, over all pages.
    std::int64_t total = 0;

    /// Throws Foundation::DecodingError.
    static Meta decode(const Foundation::JSONValue& object);
    std::string encodedJSON() const;
};

template <> struct CodingKeyTexts<Meta::CodingKeys> {
    static constexpr std::array<std::string_view, 1> texts{"total"};
};

} // namespace MarrowbellCore
