#include "MusicKit/Artwork.h"

#include <Foundation/Text.h>

namespace MusicKit {

std::optional<Foundation::URL> Artwork::url(int width, int height) const {
    const auto withWidth = Foundation::replacingOccurrences(urlTemplate_, "{w}", std::to_string(width));
    return Foundation::URL::fromString(
        Foundation::replacingOccurrences(withWidth, "{h}", std::to_string(height)));
}

} // namespace MusicKit
