#include "MarrowbellCore/Requests/CatalogSearchEngine.h"

#include <Foundation/CancellationError.h>
#include <Foundation/Text.h>
#include <MusicKit/MusicCatalogSearchRequest.h>
#include <algorithm>
#include <iterator>

namespace MarrowbellCore {
namespace {

constexpr int requestLimit = 25;
constexpr std::size_t sectionLimit = 10;

template <class Item, class Wrap>
void appendSection(std::vector<SearchSection>& sections, const char* name, const std::vector<Item>& items,
                   Wrap wrap) {
    if (items.empty()) {
        return;
    }
    SearchSection section{name, {}};
    const auto count = std::min(items.size(), sectionLimit);
    section.results.reserve(count);
    std::transform(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(count),
                   std::back_inserter(section.results), wrap);
    sections.push_back(std::move(section));
}

} // namespace

std::vector<SearchSection> CatalogSearchEngine::search(std::string_view query, std::stop_token stopToken) {
    const std::string term = Foundation::trimmingWhitespaceAndNewlines(query);
    if (term.empty()) {
        return {};
    }
    Foundation::checkCancellation(stopToken);
    using MusicKit::MusicCatalogSearchable;
    MusicKit::MusicCatalogSearchRequest request(
        term, {MusicCatalogSearchable::playlist, MusicCatalogSearchable::album,
               MusicCatalogSearchable::artist, MusicCatalogSearchable::song});
    request.includeTopResults = true;
    request.limit = requestLimit;
    const auto response = request.response(stopToken);
    Foundation::checkCancellation(stopToken);

    std::vector<SearchSection> sections;
    appendSection(sections, "Playlists", response.playlists, SearchResult::catalogPlaylist);
    appendSection(sections, "Albums", response.albums, SearchResult::catalogAlbum);
    appendSection(sections, "Artists", response.artists, SearchResult::catalogArtist);
    appendSection(sections, "Songs", response.songs, SearchResult::catalogSong);
    return sections;
}

} // namespace MarrowbellCore
