#include "MarrowbellCore/LibraryItemLookup.h"

#include <MusicKit/MusicLibraryRequest.h>
#include <optional>

namespace MarrowbellCore {
namespace {

template <class Item> std::optional<Item> firstItem(std::vector<Item> items) {
    if (items.empty()) {
        return std::nullopt;
    }
    return std::move(items.front());
}

template <class Item> Item libraryItem(const MusicKit::MusicItemID& id, std::stop_token stopToken) {
    MusicKit::MusicLibraryRequest<Item> request;
    request.filter(&Item::id, id);
    auto item = firstItem(request.response(std::move(stopToken)).items);
    if (!item) {
        throw LibraryItemError<Item>::notFound();
    }
    return *std::move(item);
}

} // namespace

MusicKit::Playlist playlistWith(const MusicKit::MusicItemID& id, std::stop_token stopToken) {
    return libraryItem<MusicKit::Playlist>(id, std::move(stopToken));
}

MusicKit::Artist artistWith(const MusicKit::MusicItemID& id, std::stop_token stopToken) {
    return libraryItem<MusicKit::Artist>(id, std::move(stopToken));
}

MusicKit::Album albumWith(const MusicKit::MusicItemID& id, std::stop_token stopToken) {
    return libraryItem<MusicKit::Album>(id, std::move(stopToken));
}

} // namespace MarrowbellCore
