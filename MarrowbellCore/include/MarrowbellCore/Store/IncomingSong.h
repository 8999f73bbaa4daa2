#pragma once

#include "MarrowbellCore/Store/RecordIdentity.h"

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <MusicKit/PlayParameters.h>
#include <cstdint>
#include <optional>
#include <string>

namespace MarrowbellCore {

/// A song as the sync converted it from the service, before it is stored.
struct IncomingSong {
    std::string identifier;
    std::string title;
    double duration = 0.0;
    std::optional<std::string> artistName;
    std::optional<std::string> albumTitle;
    std::optional<std::string> genre;
    std::optional<Foundation::Date> dateAdded;
    std::optional<Foundation::Date> releaseDate;
    std::optional<MusicKit::PlayParameters> playParameters;
    std::optional<Foundation::URL> artworkURL;
    std::optional<std::int64_t> trackNumber;
    /// Absent keeps the stored order when the song is written again.
    std::optional<std::int64_t> order;
    /// True for a song known only from a container's track list.
    bool isPassive = false;

    bool operator==(const IncomingSong& other) const { return sameIdentifier(*this, other); }
};

} // namespace MarrowbellCore

MARROWBELL_HASH_BY_IDENTIFIER(IncomingSong);
