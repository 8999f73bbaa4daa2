#pragma once

#include "MarrowbellCore/Store/RemotePlayParameters.h"

#include <MusicKit/PlayParameters.h>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace MarrowbellCore::StoredPlayParameters {

/// The play parameters read from one `playParameters` column, as the player's model or as the service's
/// model. Each reading succeeds or fails on its own; a failure is logged on the "parameters" logger. No bytes
/// decode to nothing, without a log line.
std::optional<MusicKit::PlayParameters> decodePlayParameters(std::span<const std::uint8_t> bytes);
std::optional<RemotePlayParameters> decodeRemotePlayParameters(std::span<const std::uint8_t> bytes);
std::optional<MusicKit::PlayParameters>
decodePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes);
std::optional<RemotePlayParameters>
decodeRemotePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes);
/// Whether decodePlayParameters() gives a value, told without logging.
bool decodesAsPlayParameters(std::span<const std::uint8_t> bytes);

/// The binary property list of `parameters`, or nothing (logged) when it cannot be encoded.
std::optional<std::vector<std::uint8_t>> encode(const MusicKit::PlayParameters& parameters);
std::optional<std::vector<std::uint8_t>> encode(const Foundation::PropertyListDictionary& dictionary);

} // namespace MarrowbellCore::StoredPlayParameters
