#include "MarrowbellCore/Store/PlayParameterBytes.h"

#include "StoredPlayParameters.h"

#include <algorithm>

namespace MarrowbellCore {

PlayParameterBytes::PlayParameterBytes(std::shared_ptr<const void> owner, std::span<const std::uint8_t> bytes)
    : data_(std::move(owner), bytes.data())
    , size_(bytes.size()) {}

PlayParameterBytes PlayParameterBytes::copying(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return {};
    }
    std::shared_ptr<std::uint8_t[]> copy = std::make_shared_for_overwrite<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return {copy, {copy.get(), bytes.size()}};
}

std::optional<MusicKit::PlayParameters> PlayParameterBytes::playParameters() const {
    return StoredPlayParameters::decodePlayParameters(bytes());
}

std::optional<RemotePlayParameters> PlayParameterBytes::remotePlayParameters() const {
    return StoredPlayParameters::decodeRemotePlayParameters(bytes());
}

bool PlayParameterBytes::decodesAsPlayParameters() const {
    return StoredPlayParameters::decodesAsPlayParameters(bytes());
}

} // namespace MarrowbellCore
