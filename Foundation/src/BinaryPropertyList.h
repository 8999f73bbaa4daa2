#pragma once

#include "Foundation/PropertyList.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Foundation::BinaryPropertyList {

/// Writes and reads the binary property-list format ("bplist00") for flat dictionaries: a root
/// dictionary whose values are strings, booleans, integers or reals. Values of other kinds in a document
/// read as PropertyListUnsupported. Malformed input throws PropertyListError, never reads out of bounds.

std::vector<std::uint8_t> encode(const std::vector<std::pair<std::string, PropertyListValue>>& entries);
std::vector<std::pair<std::string, PropertyListValue>> decode(std::span<const std::uint8_t> bytes);

} // namespace Foundation::BinaryPropertyList
