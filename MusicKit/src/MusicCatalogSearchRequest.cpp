#include "MusicKit/MusicCatalogSearchRequest.h"

#include "MusicKit/MusicDataRequest.h"
#include "ResourceDecoding.h"
#include "ServiceURL.h"

namespace MusicKit {
namespace {

using Foundation::JSONValue;

std::string_view typeName(MusicCatalogSearchable type) {
    switch (type) {
    case MusicCatalogSearchable::playlist:
        return "playlists";
    case MusicCatalogSearchable::album:
        return "albums";
    case MusicCatalogSearchable::artist:
        return "artists";
    case MusicCatalogSearchable::song:
        break;
    }
    return "songs";
}

std::string searchPathAndQuery(const MusicCatalogSearchRequest& request, const std::string& storefront) {
    std::string target =
        "/v1/catalog/" + percentEncoded(storefront) + "/search?term=" + percentEncoded(request.term());
    std::string_view separator = "&types=";
    for (const auto type : request.types()) {
        target += separator;
        target += typeName(type);
        separator = ",";
    }
    if (request.limit) {
        target += "&limit=" + std::to_string(*request.limit);
    }
    if (request.includeTopResults) {
        target += "&with=topResults";
    }
    return target;
}

/// The resources of one kind's result list ({"data":[…]}); none when the kind is left out.
template <class Item> std::vector<Item> hits(const JSONValue& results, std::string_view kind) {
    return results
        .optionalObject(
            kind, [](const JSONValue& list) { return list.requiredArray("data", decodeResource<Item>); })
        .value_or(std::vector<Item>{});
}

std::optional<MusicCatalogSearchResponse::TopResult> topResult(const JSONValue& resource) {
    const auto kind = resourceKind(resource.requiredString("type"));
    if (!kind) {
        // Kinds this client does not model (music videos, stations) are left out.
        return std::nullopt;
    }
    switch (*kind) {
    case ResourceKind::playlist:
        return decodeResource<Playlist>(resource);
    case ResourceKind::album:
        return decodeResource<Album>(resource);
    case ResourceKind::artist:
        return decodeResource<Artist>(resource);
    case ResourceKind::song:
        break;
    }
    return decodeResource<Song>(resource);
}

MusicCatalogSearchResponse decodeResponse(const std::string& body) {
    return Foundation::decodeJSON(body, [](const JSONValue& root) {
        return root.requiredObject("results", [](const JSONValue& results) {
            MusicCatalogSearchResponse response{hits<Playlist>(results, "playlists"),
                                                hits<Album>(results, "albums"),
                                                hits<Artist>(results, "artists"),
                                                hits<Song>(results, "songs"),
                                                {}};
            const auto top = results.optionalObject(
                "top", [](const JSONValue& list) { return list.requiredArray("data", topResult); });
            for (auto& result :
                 top.value_or(std::vector<std::optional<MusicCatalogSearchResponse::TopResult>>{})) {
                if (result) {
                    response.topResults.push_back(*std::move(result));
                }
            }
            return response;
        });
    });
}

} // namespace

MusicCatalogSearchResponse MusicCatalogSearchRequest::response(std::stop_token stopToken) const {
    const auto configuration = ServiceConfiguration::requireCurrent();
    const URLRequest request(serviceURL(configuration, searchPathAndQuery(*this, configuration.storefront)));
    return decodeResponse(MusicDataRequest(request).response(std::move(stopToken)).data);
}

} // namespace MusicKit
