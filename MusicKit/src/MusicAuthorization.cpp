#include "MusicKit/MusicAuthorization.h"

#include "MusicKit/MusicDataRequest.h"
#include "MusicKit/ServiceConfiguration.h"
#include "MusicKit/URLError.h"

namespace MusicKit {

MusicAuthorization::Status MusicAuthorization::request(std::stop_token stopToken) {
    const auto configuration = ServiceConfiguration::current();
    if (!configuration) {
        return Status::notDetermined;
    }
    const auto url = Foundation::URL::fromString(configuration->apiBase + "/v1/me/storefront");
    if (!url) {
        return Status::notDetermined;
    }
    try {
        MusicDataRequest(URLRequest(*url)).response(std::move(stopToken));
        return Status::authorized;
    } catch (const MusicDataRequest::Error& error) {
        return error.status() == 401 || error.status() == 403 ? Status::denied : Status::notDetermined;
    } catch (const URLError&) {
        return Status::notDetermined;
    }
}

} // namespace MusicKit
