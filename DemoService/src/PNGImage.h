#pragma once

#include <cstdint>
#include <string>

namespace DemoService {

/// A PNG file (8-bit RGB) of the given size: a diagonal gradient between two colours derived from
/// `seed`, so that each item has its own recognisable picture.
std::string makeGradientPNG(std::uint32_t width, std::uint32_t height, std::uint64_t seed);

} // namespace DemoService
