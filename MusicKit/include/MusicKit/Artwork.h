#pragma once

#include <Foundation/URL.h>
#include <optional>
#include <string>

namespace MusicKit {

/// The service's description of an item's picture: a URL template holding "{w}" and "{h}".
class Artwork {
public:
    explicit Artwork(std::string urlTemplate)
        : urlTemplate_(std::move(urlTemplate)) {}

    /// The template with every "{w}" and "{h}" filled in; nothing when the result is not a URL.
    std::optional<Foundation::URL> url(int width, int height) const;

    const std::string& urlTemplate() const { return urlTemplate_; }

    bool operator==(const Artwork&) const = default;

private:
    std::string urlTemplate_;
};

} // namespace MusicKit
