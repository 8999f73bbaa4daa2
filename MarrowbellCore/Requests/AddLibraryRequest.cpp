#include "MarrowbellCore/Requests/AddLibraryRequest.h"

#include "MarrowbellCore/Sync/LibraryURLError.h"

#include <Foundation/URL.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/ServiceConfiguration.h>
#include <algorithm>

namespace MarrowbellCore {
namespace {

/// The identifier goes into the query as it is, so it must be made of characters that stand for
/// themselves there: an "&", "#", "%" or "=" would change what the request asks for.
Foundation::URL addURL(const std::string& songID) {
    if (songID.empty() || !std::all_of(songID.begin(), songID.end(), Foundation::isUnreservedURLCharacter)) {
        throw LibraryURLError(songID);
    }
    auto url = Foundation::URL::fromString(MusicKit::ServiceConfiguration::requireCurrent().apiBase +
                                           "/v1/me/library?ids[songs]=" + songID);
    if (!url) {
        throw LibraryURLError(songID);
    }
    return *std::move(url);
}

} // namespace

void AddLibraryRequest::perform(std::stop_token stopToken) const {
    MusicKit::URLRequest request(addURL(songID_));
    request.httpMethod = "POST";
    MusicKit::MusicDataRequest(request).response(std::move(stopToken));
}

} // namespace MarrowbellCore
