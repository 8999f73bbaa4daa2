#include "MusicKit/PlaybackAssetRequest.h"

#include "MusicKit/MusicDataRequest.h"
#include "ResourceDecoding.h"
#include "ServiceURL.h"

#include <Foundation/DecodingError.h>

namespace MusicKit {
namespace {

using Foundation::JSONValue;

std::string_view kindPath(PlaybackAssetRequest::ItemKind kind) {
    switch (kind) {
    case PlaybackAssetRequest::ItemKind::album:
        return "albums";
    case PlaybackAssetRequest::ItemKind::playlist:
        return "playlists";
    case PlaybackAssetRequest::ItemKind::station:
        return "stations";
    case PlaybackAssetRequest::ItemKind::song:
        break;
    }
    return "songs";
}

PlaybackAsset decodeAsset(const JSONValue& resource) {
    const std::string address = resource.requiredString("assetURL");
    auto url = Foundation::URL::fromString(address);
    if (!url) {
        resource.fail(Foundation::DecodingError::Kind::dataCorrupted, "The asset address is not a URL.");
    }
    return PlaybackAsset{decodeResource<Song>(resource), *std::move(url)};
}

} // namespace

std::vector<PlaybackAsset> PlaybackAssetRequest::response(std::stop_token stopToken) const {
    const auto configuration = ServiceConfiguration::requireCurrent();
    std::string target =
        "/v1/me/playback/" + std::string(kindPath(kind_)) + "/" + percentEncoded(id_.rawValue());
    if (kind_ == ItemKind::station) {
        target += "?position=" + std::to_string(position_);
    }
    const auto body =
        MusicDataRequest(URLRequest(serviceURL(configuration, target))).response(std::move(stopToken)).data;
    auto assets = Foundation::decodeJSON(
        body, [](const JSONValue& root) { return root.requiredArray("data", decodeAsset); });
    if (assets.empty()) {
        throw Foundation::DecodingError(Foundation::DecodingError::Kind::valueNotFound, {},
                                        "The service named nothing to play.");
    }
    return assets;
}

} // namespace MusicKit
