#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace MarrowbellCore {

/// The JSON keys of a model's `CodingKeys` enumeration, one text per case in case order.
/// Each model specialises it next to its declaration.
template <class Keys> struct CodingKeyTexts;

/// The JSON key of a coding key.
template <class Keys> constexpr std::string_view stringValue(Keys key) {
    return CodingKeyTexts<Keys>::texts[static_cast<std::size_t>(key)];
}

} // namespace MarrowbellCore
