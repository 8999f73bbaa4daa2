#pragma once

#include "MarrowbellCore/Store/RemotePlayParameters.h"

#include <MusicKit/PlayParameters.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace MarrowbellCore {

/// A song's play parameters as the store holds them: their property-list bytes, decoded only when asked for,
/// so that a list of many songs neither pays for decoding every song nor holds the decoded models. Copies
/// share the bytes. Immutable; any thread.
class PlayParameterBytes {
public:
    /// No bytes: no play parameters.
    PlayParameterBytes() = default;
    /// The bytes `bytes`, which `owner` keeps alive; the songs of one read share one owner.
    PlayParameterBytes(std::shared_ptr<const void> owner, std::span<const std::uint8_t> bytes);
    /// A copy of `bytes` of its own.
    static PlayParameterBytes copying(std::span<const std::uint8_t> bytes);

    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }

    /// The player's model; nothing without bytes, and nothing (logged on the "parameters" logger) when the
    /// bytes do not decode as that model.
    std::optional<MusicKit::PlayParameters> playParameters() const;
    /// The service's model, decoded and logged the same way.
    std::optional<RemotePlayParameters> remotePlayParameters() const;
    /// Whether playParameters() gives a value, told without logging a failure.
    bool decodesAsPlayParameters() const;

private:
    std::shared_ptr<const std::uint8_t> data_;
    std::size_t size_ = 0;
};

} // namespace MarrowbellCore
