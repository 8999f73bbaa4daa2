#pragma once

#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// A playlist as the sync converted it from the service, before it is stored.
struct IncomingPlaylist {
    std::string identifier;
    std::string name;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::URL> artworkURL;

    bool operator==(const IncomingPlaylist& other) const { return sameIdentifier(*this, other); }
};

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(IncomingPlaylist);
