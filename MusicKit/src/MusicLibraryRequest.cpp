#include "MusicKit/MusicLibraryRequest.h"

#include "MusicKit/MusicDataRequest.h"
#include "ResourceDecoding.h"
#include "ServiceURL.h"

namespace MusicKit {
namespace {

template <class Item> constexpr std::string_view libraryPath();
template <> constexpr std::string_view libraryPath<Playlist>() {
    return "/v1/me/library/playlists";
}
template <> constexpr std::string_view libraryPath<Album>() {
    return "/v1/me/library/albums";
}
template <> constexpr std::string_view libraryPath<Artist>() {
    return "/v1/me/library/artists";
}

} // namespace

template <class Item>
MusicLibraryResponse<Item> MusicLibraryRequest<Item>::response(std::stop_token stopToken) const {
    std::string target(libraryPath<Item>());
    if (idFilter_) {
        target += "?ids=" + percentEncoded(idFilter_->rawValue());
    }
    const URLRequest request(serviceURL(ServiceConfiguration::requireCurrent(), target));
    const auto answer = MusicDataRequest(request).response(std::move(stopToken));
    return Foundation::decodeJSON(answer.data, [](const Foundation::JSONValue& root) {
        return MusicLibraryResponse<Item>{root.requiredArray("data", decodeResource<Item>)};
    });
}

template class MusicLibraryRequest<Playlist>;
template class MusicLibraryRequest<Album>;
template class MusicLibraryRequest<Artist>;

} // namespace MusicKit
