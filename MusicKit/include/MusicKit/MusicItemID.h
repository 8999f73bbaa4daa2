#pragma once

#include <Foundation/Text.h>
#include <functional>
#include <string>

namespace MusicKit {

/// The music service's identifier of an item, made from its text.
class MusicItemID {
public:
    MusicItemID() = default;
    explicit MusicItemID(std::string rawValue)
        : rawValue_(std::move(rawValue)) {}

    const std::string& rawValue() const { return rawValue_; }

    bool operator==(const MusicItemID& other) const {
        return Foundation::canonicallyEqual(rawValue_, other.rawValue_);
    }

private:
    std::string rawValue_;
};

} // namespace MusicKit

template <> struct std::hash<MusicKit::MusicItemID> {
    std::size_t operator()(const MusicKit::MusicItemID& id) const noexcept {
        return Foundation::canonicalHash(id.rawValue());
    }
};
