#pragma once

#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// An artist as the sync converted it from the service, before it is stored.
struct IncomingArtist {
    std::string identifier;
    std::string name;
    std::optional<std::string> genre;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::URL> artworkURL;

    bool operator==(const IncomingArtist& other) const { return sameIdentifier(*this, other); }
};

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(IncomingArtist);
