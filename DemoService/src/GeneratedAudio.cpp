#include "GeneratedAudio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace DemoService {
namespace {

constexpr std::size_t headerSize = 44;
constexpr std::size_t bytesPerSample = 2;
constexpr std::size_t samplesPerNote = GeneratedAudio::sampleRate / 4;
/// A pentatonic scale, so that any run of notes sounds tolerable.
constexpr std::array<double, 5> scale = {1.0, 9.0 / 8.0, 5.0 / 4.0, 3.0 / 2.0, 5.0 / 3.0};

void putLittleEndian(std::string& out, std::uint32_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string header(std::size_t sampleCount) {
    const auto dataSize = static_cast<std::uint32_t>(sampleCount * bytesPerSample);
    std::string out = "RIFF";
    putLittleEndian(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, 1, 2); // mono
    putLittleEndian(out, GeneratedAudio::sampleRate, 4);
    putLittleEndian(out, GeneratedAudio::sampleRate * bytesPerSample, 4);
    putLittleEndian(out, bytesPerSample, 2);
    putLittleEndian(out, 16, 2);
    out += "data";
    putLittleEndian(out, dataSize, 4);
    return out;
}

std::uint64_t mixed(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

} // namespace

GeneratedAudio::GeneratedAudio(std::int64_t durationInMillis, std::uint64_t seed)
    : sampleCount_(static_cast<std::size_t>(std::max<std::int64_t>(durationInMillis, 0)) * sampleRate / 1000)
    , seed_(seed) {}

std::size_t GeneratedAudio::size() const {
    return headerSize + sampleCount_ * bytesPerSample;
}

std::int16_t GeneratedAudio::sample(std::size_t index) const {
    const std::uint64_t note = mixed(seed_ + index / samplesPerNote);
    const double base = 220.0 + static_cast<double>(seed_ % 220);
    const double frequency = base * scale[note % scale.size()];
    // A short fade at both ends of each note keeps the joins free of clicks.
    const double withinNote = static_cast<double>(index % samplesPerNote) / samplesPerNote;
    const double envelope = std::min({1.0, withinNote * 20.0, (1.0 - withinNote) * 20.0});
    const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(index) / sampleRate;
    return static_cast<std::int16_t>(6000.0 * envelope * std::sin(phase));
}

std::string GeneratedAudio::bytes(std::size_t offset, std::size_t length) const {
    const std::size_t end = std::min(size(), offset + length);
    std::string out;
    if (offset >= end) {
        return out;
    }
    out.reserve(end - offset);
    const std::string head = header(sampleCount_);
    for (std::size_t position = offset; position < std::min(end, headerSize); ++position) {
        out += head[position];
    }
    for (std::size_t position = std::max(offset, headerSize); position < end; ++position) {
        const std::size_t byteInData = position - headerSize;
        const auto value = static_cast<std::uint16_t>(sample(byteInData / bytesPerSample));
        out += static_cast<char>(byteInData % 2 == 0 ? value & 0xFF : value >> 8);
    }
    return out;
}

} // namespace DemoService
