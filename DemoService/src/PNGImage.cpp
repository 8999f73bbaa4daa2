#include "PNGImage.h"

#include <stdexcept>
#include <vector>
#include <zlib.h>

namespace DemoService {
namespace {

void appendBigEndian(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void appendChunk(std::string& png, const char* type, const std::string& data) {
    appendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string typeAndData = std::string(type, 4) + data;
    png += typeAndData;
    const auto* bytes = reinterpret_cast<const Bytef*>(typeAndData.data());
    appendBigEndian(png, static_cast<std::uint32_t>(
                             crc32(crc32(0, nullptr, 0), bytes, static_cast<uInt>(typeAndData.size()))));
}

/// Rows of RGB pixels, each preceded by filter type 0 (none).
std::vector<Bytef> gradientScanlines(std::uint32_t width, std::uint32_t height, std::uint64_t seed) {
    const std::uint8_t from[3] = {static_cast<std::uint8_t>(seed), static_cast<std::uint8_t>(seed >> 8),
                                  static_cast<std::uint8_t>(seed >> 16)};
    const std::uint8_t to[3] = {static_cast<std::uint8_t>(seed >> 24), static_cast<std::uint8_t>(seed >> 32),
                                static_cast<std::uint8_t>(seed >> 40)};
    std::vector<Bytef> rows;
    rows.reserve((std::size_t{width} * 3 + 1) * height);
    const std::uint64_t span = std::uint64_t{width} + height;
    for (std::uint32_t y = 0; y < height; ++y) {
        rows.push_back(0);
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint64_t position = x + y;
            for (int channel = 0; channel < 3; ++channel) {
                rows.push_back(
                    static_cast<Bytef>((from[channel] * (span - position) + to[channel] * position) / span));
            }
        }
    }
    return rows;
}

} // namespace

std::string makeGradientPNG(std::uint32_t width, std::uint32_t height, std::uint64_t seed) {
    const std::vector<Bytef> rows = gradientScanlines(width, height, seed);
    uLongf compressedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string compressed(compressedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &compressedSize, rows.data(),
                  static_cast<uLong>(rows.size()), Z_BEST_SPEED) != Z_OK) {
        throw std::runtime_error("Cannot compress the image.");
    }
    compressed.resize(compressedSize);

    std::string header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header += std::string{8, 2, 0, 0, 0}; // 8 bits per channel, RGB, deflate, no filter set, no interlace

    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace DemoService
