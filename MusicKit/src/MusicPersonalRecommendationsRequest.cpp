#include "MusicKit/MusicPersonalRecommendationsRequest.h"

#include "MusicKit/MusicDataRequest.h"
#include "ServiceURL.h"

#include <Foundation/JSONDecoding.h>

namespace MusicKit {
namespace {

using Foundation::JSONValue;
using ItemKind = MusicPersonalRecommendationItem::Kind;

std::optional<ItemKind> itemKind(std::string_view type) {
    if (type.starts_with("library-")) {
        type.remove_prefix(8);
    }
    if (type == "albums") {
        return ItemKind::album;
    }
    if (type == "playlists") {
        return ItemKind::playlist;
    }
    if (type == "stations") {
        return ItemKind::station;
    }
    return std::nullopt;
}

std::optional<MusicPersonalRecommendationItem> decodeItem(const JSONValue& resource) {
    const auto kind = itemKind(resource.requiredString("type"));
    if (!kind) {
        return std::nullopt;
    }
    return resource.requiredObject("attributes", [&](const JSONValue& attributes) {
        return MusicPersonalRecommendationItem{
            MusicItemID(resource.requiredString("id")), attributes.requiredString("name"),
            attributes.optionalObject(
                "artwork", [](const JSONValue& artwork) { return Artwork(artwork.requiredString("url")); }),
            *kind};
    });
}

std::vector<MusicPersonalRecommendationItem> decodeContents(const JSONValue& recommendation) {
    std::vector<MusicPersonalRecommendationItem> items;
    const auto contents = recommendation.optionalObject("relationships", [](const JSONValue& relationships) {
        return relationships.optionalObject(
            "contents", [](const JSONValue& list) { return list.requiredArray("data", decodeItem); });
    });
    for (const auto& item : contents.value_or(std::nullopt)
                                .value_or(std::vector<std::optional<MusicPersonalRecommendationItem>>{})) {
        if (item) {
            items.push_back(*item);
        }
    }
    return items;
}

MusicPersonalRecommendation decodeRecommendation(const JSONValue& resource) {
    return MusicPersonalRecommendation{
        MusicItemID(resource.requiredString("id")),
        resource.requiredObject(
            "attributes", [](const JSONValue& attributes) { return attributes.optionalString("title"); }),
        decodeContents(resource)};
}

} // namespace

MusicPersonalRecommendationsResponse
MusicPersonalRecommendationsRequest::response(std::stop_token stopToken) const {
    const auto configuration = ServiceConfiguration::requireCurrent();
    const URLRequest request(serviceURL(configuration, "/v1/me/recommendations"));
    const auto body = MusicDataRequest(request).response(std::move(stopToken)).data;
    return Foundation::decodeJSON(body, [](const JSONValue& root) {
        return MusicPersonalRecommendationsResponse{root.requiredArray("data", decodeRecommendation)};
    });
}

} // namespace MusicKit
