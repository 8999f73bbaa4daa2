#pragma once

#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <cstdint>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// One row of the Artists table.
struct LocalArtist {
    std::int64_t pk = 0;
    std::string identifier;
    std::string name;
    std::optional<std::string> genre;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::URL> artworkURL;

    const std::string& id() const { return identifier; }
    std::string thumbnailID() const { return "artist-" + identifier; }

    bool operator==(const LocalArtist& other) const { return sameIdentifier(*this, other); }
};

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(LocalArtist);
