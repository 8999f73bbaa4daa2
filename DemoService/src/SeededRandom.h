#pragma once

#include <cstddef>
#include <cstdint>

namespace DemoService {

/// SplitMix64: a small generator whose sequence is fixed by its seed on every platform, unlike the
/// standard distributions.
class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed)
        : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t value = (state_ += 0x9E3779B97F4A7C15ULL);
        value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
        value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
        return value ^ (value >> 31);
    }

    /// A number in [0, bound); 0 when bound is 0.
    std::uint64_t below(std::uint64_t bound) { return bound == 0 ? 0 : next() % bound; }

    std::int64_t between(std::int64_t lowest, std::int64_t highest) {
        return lowest + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(highest - lowest + 1)));
    }

    bool chance(unsigned percent) { return below(100) < percent; }

    template <class Container> const auto& pick(const Container& items) { return items[below(items.size())]; }

private:
    std::uint64_t state_;
};

} // namespace DemoService
