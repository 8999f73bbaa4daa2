#pragma once

#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <cstdint>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// One row of the Albums table.
struct LocalAlbum {
    std::int64_t pk = 0;
    std::string identifier;
    std::string title;
    std::optional<std::string> artistName;
    std::optional<std::string> genre;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::Date> releaseDate;
    std::optional<Foundation::URL> artworkURL;

    const std::string& id() const { return identifier; }
    std::string thumbnailID() const { return "album-" + identifier; }

    bool operator==(const LocalAlbum& other) const { return sameIdentifier(*this, other); }
};

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(LocalAlbum);
