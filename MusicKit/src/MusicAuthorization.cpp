#include "MusicKit/MusicAuthorization.h"

#include "MusicKit/MusicDataRequest.h"
#include "MusicKit/ServiceConfiguration.h"
#include "MusicKit/URLError.h"

namespace MusicKit {

MusicAuthorization::Status MusicAuthorization::request(std::stop_token stopToken) {
    return requestAnswer(std::move(stopToken)).status;
}

MusicAuthorization::Answer MusicAuthorization::requestAnswer(std::stop_token stopToken) {
    const auto configuration = ServiceConfiguration::current();
    if (!configuration) {
        return {};
    }
    const auto url = Foundation::URL::fromString(configuration->apiBase + "/v1/me/storefront");
    if (!url) {
        return {};
    }
    try {
        MusicDataRequest(URLRequest(*url, answerTimeLimit)).response(std::move(stopToken));
    } catch (const MusicDataRequest::Error& error) {
        const bool refused = error.status() == 401 || error.status() == 403;
        return {refused ? Status::denied : Status::authorized, std::current_exception()};
    } catch (const URLError&) {
        // Not reached or not answered in time: nobody refused the user.
        return {Status::authorized, std::current_exception()};
    }
    return {Status::authorized, nullptr};
}

} // namespace MusicKit
