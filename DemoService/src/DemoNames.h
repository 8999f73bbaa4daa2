#pragma once

#include "SeededRandom.h"

#include <string>

namespace DemoService {

/// Names for generated items, mixing plain ASCII with accents, other scripts, emoji, quotes and
/// backslashes so that every layer that carries a name meets them.
struct DemoNames {
    static std::string songTitle(SeededRandom& random);
    static std::string albumTitle(SeededRandom& random);
    static std::string artistName(SeededRandom& random);
    static std::string playlistName(SeededRandom& random, std::size_t index);
    static std::string editorialPlaylistName(SeededRandom& random);
    static std::string genre(SeededRandom& random);
};

} // namespace DemoService
