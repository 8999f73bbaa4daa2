#include "MarrowbellCore/Requests/LibraryItemLookup.h"

#include <MusicKit/MusicLibraryRequest.h>

namespace MarrowbellCore {
namespace {

template <class Item> Item libraryItem(const MusicKit::MusicItemID& id, std::stop_token stopToken) {
    MusicKit::MusicLibraryRequest<Item> request;
    request.filter(&Item::id, id);
    auto items = request.response(std::move(stopToken)).items;
    if (items.empty()) {
        throw LibraryItemError<Item>::notFound();
    }
    return std::move(items.front());
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
