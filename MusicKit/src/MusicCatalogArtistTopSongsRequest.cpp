#include "MusicKit/MusicCatalogArtistTopSongsRequest.h"

#include "MusicKit/MusicDataRequest.h"
#include "ResourceDecoding.h"
#include "ServiceURL.h"

namespace MusicKit {

std::vector<Song> MusicCatalogArtistTopSongsRequest::response(std::stop_token stopToken) const {
    const auto configuration = ServiceConfiguration::requireCurrent();
    const std::string target = "/v1/catalog/" + percentEncoded(configuration.storefront) + "/artists/" +
                               percentEncoded(artistID_.rawValue()) + "/view/top-songs";
    const auto answer = MusicDataRequest(URLRequest(serviceURL(configuration, target))).response(stopToken);
    return Foundation::decodeJSON(answer.data, [](const Foundation::JSONValue& root) {
        return root.requiredArray("data", decodeResource<Song>);
    });
}

} // namespace MusicKit
