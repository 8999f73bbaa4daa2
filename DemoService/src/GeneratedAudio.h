#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace DemoService {

/// A song's audio as a WAV file (16-bit mono PCM) that exists only as a formula: any byte range can
/// be produced without the rest, so that the file can be served in ranges however long it is. The
/// tune depends on `seed`, so that songs sound different.
class GeneratedAudio {
public:
    static constexpr std::uint32_t sampleRate = 16000;

    GeneratedAudio(std::int64_t durationInMillis, std::uint64_t seed);

    /// Header and samples together.
    std::size_t size() const;
    /// The bytes [offset, offset + length) of the file; shorter at its end.
    std::string bytes(std::size_t offset, std::size_t length) const;

private:
    std::int16_t sample(std::size_t index) const;

    std::size_t sampleCount_;
    std::uint64_t seed_;
};

} // namespace DemoService
