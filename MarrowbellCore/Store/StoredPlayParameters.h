#pragma once

#include "MarrowbellCore/Store/RemotePlayParameters.h"

#include <MusicKit/PlayParameters.h>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace MarrowbellCore::StoredPlayParameters {

/// The play parameters read from one `playParameters` column, both as the player's model and as the
/// service's model. Each reading succeeds or fails on its own; a failure is logged on the "parameters"
/// logger. The bytes are parsed once for both.
struct Decoded {
    std::optional<MusicKit::PlayParameters> playParameters;
    std::optional<RemotePlayParameters> remotePlayParameters;
};

/// No bytes (an empty span) decode to nothing, without a log line.
Decoded decode(std::span<const std::uint8_t> bytes);
std::optional<MusicKit::PlayParameters>
decodePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes);
std::optional<RemotePlayParameters>
decodeRemotePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes);

/// The binary property list of `parameters`, or nothing (logged) when it cannot be encoded.
std::optional<std::vector<std::uint8_t>> encode(const MusicKit::PlayParameters& parameters);
std::optional<std::vector<std::uint8_t>> encode(const Foundation::PropertyListDictionary& dictionary);
/// The service's model read from the dictionary the player's model writes.
std::optional<RemotePlayParameters>
decodeRemotePlayParameters(const Foundation::PropertyListDictionary& dictionary);

} // namespace MarrowbellCore::StoredPlayParameters
