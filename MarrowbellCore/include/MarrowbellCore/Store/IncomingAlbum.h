#pragma once

#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// An album as the sync converted it from the service, before it is stored.
struct IncomingAlbum {
    std::string identifier;
    std::string title;
    std::optional<std::string> artistName;
    std::optional<std::string> genre;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::Date> releaseDate;
    std::optional<Foundation::URL> artworkURL;

    bool operator==(const IncomingAlbum& other) const { return sameIdentifier(*this, other); }
};

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(IncomingAlbum);
