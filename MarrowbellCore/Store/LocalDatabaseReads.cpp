#include "MarrowbellCore/LocalDatabase.h"

#include "SQLDatabase.h"
#include "StoreStatements.h"

#include "MarrowbellCore/Loggers.h"

#include <Foundation/CancellationError.h>
#include <Foundation/Date.h>
#include <Foundation/Text.h>

#include <algorithm>

namespace MarrowbellCore {
namespace {

/// Sorts through an array of positions: records are large, and moving each of them once is far cheaper
/// than moving them at every step of the sort.
template <class Record>
std::vector<Record> sorted(std::vector<Record> records, const SortDescriptor<Record>& sortDescriptor,
                           const std::stop_token& stopToken) {
    std::vector<std::uint32_t> order(records.size());
    for (std::uint32_t index = 0; index < order.size(); ++index) {
        order[index] = index;
    }
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t lhs, std::uint32_t rhs) { return sortDescriptor(records[lhs], records[rhs]); });
    Foundation::checkCancellation(stopToken);
    std::vector<Record> result;
    result.reserve(records.size());
    for (const auto index : order) {
        result.push_back(std::move(records[index]));
    }
    return result;
}

/// The statement of an owner's songs, the owner's key written into the text.
std::string songsOfOwnerSQL(const char* selectLine, const char* joinLine, std::int64_t ownerPK, const char* orderBy) {
    return std::string("\t") + selectLine + "\n\t" + joinLine + std::to_string(ownerPK) + orderBy;
}

constexpr const char* songColumnsWithSpace =
    "SELECT Songs.pk, Songs.identifier, Songs.title, Songs.duration, Songs.artistName, Songs.albumTitle, Songs.genre, "
    "Songs.dateAdded, Songs.releaseDate, Songs.playParameters, Songs.artworkURL, Songs.trackNumber, Songs.sortOrder, "
    "Songs.isPassive ";
constexpr const char* songColumns =
    "SELECT Songs.pk, Songs.identifier, Songs.title, Songs.duration, Songs.artistName, Songs.albumTitle, Songs.genre, "
    "Songs.dateAdded, Songs.releaseDate, Songs.playParameters, Songs.artworkURL, Songs.trackNumber, Songs.sortOrder, "
    "Songs.isPassive";

std::string likePattern(const std::string& query) {
    return "%" + query + "%";
}

template <class Record, class Wrap>
void appendSection(std::vector<SearchSection>& sections, const char* name, const std::vector<Record>& hits, Wrap wrap) {
    if (hits.empty()) {
        return;
    }
    SearchSection section{name, {}};
    section.results.reserve(hits.size());
    for (const auto& hit : hits) {
        section.results.push_back(wrap(hit));
    }
    sections.push_back(std::move(section));
}

} // namespace

std::vector<LocalPlaylist> LocalDatabase::allPlaylists(const SortDescriptor<LocalPlaylist>& sortDescriptor,
                                                       std::stop_token stopToken) {
    std::lock_guard lock(mutex_);
    return sorted(db_->queryPlaylists(StoreStatements::selectPlaylists), sortDescriptor, stopToken);
}

std::vector<LocalAlbum> LocalDatabase::allAlbums(const SortDescriptor<LocalAlbum>& sortDescriptor,
                                                 std::stop_token stopToken) {
    std::lock_guard lock(mutex_);
    return sorted(db_->queryAlbums(StoreStatements::selectAlbums), sortDescriptor, stopToken);
}

std::vector<LocalArtist> LocalDatabase::allArtists(const SortDescriptor<LocalArtist>& sortDescriptor,
                                                   std::stop_token stopToken) {
    std::lock_guard lock(mutex_);
    return sorted(db_->queryArtists(StoreStatements::selectArtists), sortDescriptor, stopToken);
}

std::vector<LocalSong> LocalDatabase::allLibrarySongs(const SortDescriptor<LocalSong>& sortDescriptor,
                                                      std::stop_token stopToken) {
    std::lock_guard lock(mutex_);
    auto songs = db_->querySongs(StoreStatements::selectSongs, {}, db_->rowCount("Songs"));
    std::erase_if(songs, [](const LocalSong& song) { return song.isPassive; });
    return sorted(std::move(songs), sortDescriptor, stopToken);
}

std::vector<LocalSong> LocalDatabase::songs(const LocalPlaylist& playlist) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(songsOfOwnerSQL(
        songColumnsWithSpace, "FROM Songs JOIN PlaylistSongs ON Songs.pk = PlaylistSongs.song WHERE PlaylistSongs.playlist = ",
        playlist.pk, " ORDER BY PlaylistSongs.sortOrder ASC"));
}

std::vector<LocalSong> LocalDatabase::songs(const LocalAlbum& album) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(songsOfOwnerSQL(songColumns,
                                           "FROM Songs JOIN AlbumSongs ON Songs.pk = AlbumSongs.song WHERE AlbumSongs.album = ",
                                           album.pk, " ORDER BY AlbumSongs.sortOrder ASC"));
}

std::vector<LocalSong> LocalDatabase::songs(const LocalArtist& artist) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(songsOfOwnerSQL(
        songColumns, "FROM Songs JOIN ArtistSongs ON Songs.pk = ArtistSongs.song WHERE ArtistSongs.artist = ", artist.pk,
        " ORDER BY ArtistSongs.sortOrder ASC"));
}

std::vector<LocalPlaylist> LocalDatabase::searchPlaylists(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    return db_->queryPlaylists(StoreStatements::searchPlaylists, {likePattern(query), limit});
}

std::vector<LocalAlbum> LocalDatabase::searchAlbums(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    return db_->queryAlbums(StoreStatements::searchAlbums, {likePattern(query), limit});
}

std::vector<LocalArtist> LocalDatabase::searchArtists(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    return db_->queryArtists(StoreStatements::searchArtists, {likePattern(query), limit});
}

std::vector<LocalSong> LocalDatabase::searchSongs(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(StoreStatements::searchSongs, {likePattern(query), limit});
}

std::vector<SearchSection> LocalDatabase::search(const std::string& text, std::stop_token stopToken) {
    const auto query = Foundation::trimmingWhitespaceAndNewlines(text);
    if (query.empty()) {
        return {};
    }
    std::lock_guard lock(mutex_);
    constexpr std::int64_t limit = 10;
    const auto start = Foundation::Date::now();
    std::vector<SearchSection> sections;

    const auto searchKind = [&](const char* failureMessage, auto searchOneKind) {
        try {
            searchOneKind();
        } catch (const std::exception& error) {
            Loggers::search().error(failureMessage, {error});
        }
        Foundation::checkCancellation(stopToken);
    };
    searchKind("Could not search playlists: %@", [&] {
        appendSection(sections, "Playlists", searchPlaylists(query, limit), &SearchResult::playlist);
    });
    searchKind("Could not search albums: %@", [&] {
        appendSection(sections, "Albums", searchAlbums(query, limit), &SearchResult::album);
    });
    searchKind("Could not search artists: %@", [&] {
        appendSection(sections, "Artists", searchArtists(query, limit), &SearchResult::artist);
    });
    searchKind("Could not search songs: %@", [&] {
        appendSection(sections, "Songs", searchSongs(query, limit), &SearchResult::song);
    });

    const double elapsed = Foundation::Date::now().timeIntervalSinceReferenceDate - start.timeIntervalSinceReferenceDate;
    Loggers::search().info("Search completed in %f seconds for query: %s", {elapsed, text});
    return sections;
}

bool LocalDatabase::hasSong(const std::string& title, const std::optional<std::string>& artist,
                            const std::optional<std::string>& album) {
    std::lock_guard lock(mutex_);
    const auto matches = db_->queryMatches(StoreStatements::songMatches, {title}, artist, album);
    return std::any_of(matches.begin(), matches.end(), [](bool match) { return match; });
}

} // namespace MarrowbellCore
