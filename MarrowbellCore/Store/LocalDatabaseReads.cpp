#include "MarrowbellCore/Logging/Loggers.h"
#include "MarrowbellCore/Store/LocalDatabase.h"
#include "MarrowbellCore/Store/SQLError.h"
#include "RecordOrder.h"
#include "SQLDatabase.h"
#include "SQLTransaction.h"
#include "StoreStatements.h"

#include <Foundation/CancellationError.h>
#include <Foundation/Date.h>
#include <Foundation/Text.h>
#include <algorithm>
#include <malloc.h>
#include <optional>
#include <string_view>

namespace MarrowbellCore {
namespace {

/// The records that `keep` accepts, sorted; the others are dropped. The sort orders pointers, not records,
/// and the records are then moved into that order in place, so the list is never held twice.
template <class Record, class Keep>
std::vector<Record> sorted(RecordSlices<Record> slices, Keep keep,
                           const SortDescriptor<Record>& sortDescriptor, const std::stop_token& stopToken) {
    auto records = concatenated(std::move(slices), keep);
    std::vector<Record*> sortedRecords(records.size());
    std::transform(records.begin(), records.end(), sortedRecords.begin(),
                   [](Record& record) { return &record; });
    sortRecordPointers(sortedRecords, sortDescriptor);
    std::vector<std::size_t> order(records.size());
    std::transform(sortedRecords.begin(), sortedRecords.end(), order.begin(),
                   [&](const Record* record) { return static_cast<std::size_t>(record - records.data()); });
    Foundation::checkCancellation(stopToken);
    permute(records, order);
    return records;
}

template <class Record>
std::vector<Record> sorted(std::vector<Record> records, const SortDescriptor<Record>& sortDescriptor,
                           const std::stop_token& stopToken) {
    RecordSlices<Record> slices;
    slices.push_back(std::move(records));
    return sorted(
        std::move(slices), [](const Record&) { return true; }, sortDescriptor, stopToken);
}

/// The statement of an owner's songs; the owner's key is its one parameter, so one statement serves every
/// owner.
std::string songsOfOwnerSQL(std::string_view selectLine, const char* joinLine, const char* orderBy) {
    std::string sql = "\t";
    sql.append(selectLine).append("\n\t").append(joinLine).append("?").append(orderBy);
    return sql;
}

constexpr std::string_view songColumnsWithSpace =
    "SELECT Songs.pk, Songs.identifier, Songs.title, Songs.duration, Songs.artistName, Songs.albumTitle, "
    "Songs.genre, Songs.dateAdded, Songs.releaseDate, Songs.playParameters, Songs.artworkURL, "
    "Songs.trackNumber, Songs.sortOrder, Songs.isPassive ";
constexpr std::string_view songColumns = songColumnsWithSpace.substr(0, songColumnsWithSpace.size() - 1);

/// How one kind is searched: the statement whose results a search gives, and the statements with which its
/// LikeSearchIndex gets the same results: one scan of every row's key, searched text and the statement's
/// other conditions, and the read of one row by its key.
struct SearchedKind {
    const char* search;
    const char* scan;
    const char* rowByKey;
};

constexpr SearchedKind searchedPlaylists{
    StoreStatements::searchPlaylists, "SELECT pk, name, 1 FROM Playlists ORDER BY pk",
    "SELECT pk, identifier, name, dateAdded, artworkURL FROM Playlists WHERE pk = ?"};
constexpr SearchedKind searchedAlbums{
    StoreStatements::searchAlbums, "SELECT pk, title, 1 FROM Albums ORDER BY pk",
    "SELECT pk, identifier, title, artistName, genre, dateAdded, releaseDate, artworkURL FROM Albums "
    "WHERE pk = ?"};
constexpr SearchedKind searchedArtists{
    StoreStatements::searchArtists, "SELECT pk, name, 1 FROM Artists ORDER BY pk",
    "SELECT pk, identifier, name, genre, dateAdded, artworkURL FROM Artists WHERE pk = ?"};
constexpr SearchedKind searchedSongs{
    StoreStatements::searchSongs,
    "SELECT pk, title, isPassive = 0 AND playParameters IS NOT NULL FROM Songs ORDER BY pk",
    "SELECT pk, identifier, title, duration, artistName, albumTitle, genre, dateAdded, releaseDate, "
    "playParameters, artworkURL, trackNumber, sortOrder, isPassive FROM Songs WHERE pk = ?"};

/// The kind's records whose searched text is LIKE "%query%", as the kind's search statement gives them. The
/// statement scans the whole table for every keystroke; the index finds the same rows in memory, and only
/// those are read.
template <class Read>
auto matchingRecords(SQLDatabase& db, const SearchedKind& kind, const std::string& query, std::int64_t limit,
                     Read read) {
    const auto pattern = "%" + query + "%";
    const auto keys = db.likeSearchIndex(kind.scan).matchingKeys(db, pattern, limit);
    if (!keys) {
        return read(kind.search, SQLValues{pattern, limit});
    }
    decltype(read(kind.search, SQLValues{})) records;
    for (const auto key : *keys) {
        for (auto& record : read(kind.rowByKey, SQLValues{key})) {
            records.push_back(std::move(record));
        }
    }
    return records;
}

template <class Record, class Wrap>
void appendSection(std::vector<SearchSection>& sections, const char* name, const std::vector<Record>& hits,
                   Wrap wrap) {
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

std::vector<LocalPlaylist> searchPlaylists(SQLDatabase& db, const std::string& query, std::int64_t limit) {
    return matchingRecords(
        db, searchedPlaylists, query, limit,
        [&](const char* sql, const SQLValues& values) { return db.queryPlaylists(sql, values); });
}

std::vector<LocalAlbum> searchAlbums(SQLDatabase& db, const std::string& query, std::int64_t limit) {
    return matchingRecords(db, searchedAlbums, query, limit, [&](const char* sql, const SQLValues& values) {
        return db.queryAlbums(sql, values);
    });
}

std::vector<LocalArtist> searchArtists(SQLDatabase& db, const std::string& query, std::int64_t limit) {
    return matchingRecords(db, searchedArtists, query, limit, [&](const char* sql, const SQLValues& values) {
        return db.queryArtists(sql, values);
    });
}

std::vector<LocalSong> searchSongs(SQLDatabase& db, const std::string& query, std::int64_t limit) {
    return matchingRecords(db, searchedSongs, query, limit, [&](const char* sql, const SQLValues& values) {
        return db.querySongs(sql, values);
    });
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
    auto songs = sorted(
        db_->readSongs(StoreStatements::selectSongs), [](const LocalSong& song) { return !song.isPassive; },
        sortDescriptor, stopToken);
    // The row copies and slices of the whole library, freed by now, would otherwise stay with the process.
    malloc_trim(0);
    return songs;
}

std::vector<LocalSong> LocalDatabase::songs(const LocalPlaylist& playlist) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(
        songsOfOwnerSQL(
            songColumnsWithSpace,
            "FROM Songs JOIN PlaylistSongs ON Songs.pk = PlaylistSongs.song WHERE PlaylistSongs.playlist = ",
            " ORDER BY PlaylistSongs.sortOrder ASC"),
        {playlist.pk});
}

std::vector<LocalSong> LocalDatabase::songs(const LocalAlbum& album) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(
        songsOfOwnerSQL(songColumns,
                        "FROM Songs JOIN AlbumSongs ON Songs.pk = AlbumSongs.song WHERE AlbumSongs.album = ",
                        " ORDER BY AlbumSongs.sortOrder ASC"),
        {album.pk});
}

std::vector<LocalSong> LocalDatabase::songs(const LocalArtist& artist) {
    std::lock_guard lock(mutex_);
    return db_->querySongs(
        songsOfOwnerSQL(
            songColumns,
            "FROM Songs JOIN ArtistSongs ON Songs.pk = ArtistSongs.song WHERE ArtistSongs.artist = ",
            " ORDER BY ArtistSongs.sortOrder ASC"),
        {artist.pk});
}

std::vector<LocalPlaylist> LocalDatabase::searchPlaylists(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    const SQLReadSnapshot snapshot(*db_);
    return MarrowbellCore::searchPlaylists(*db_, query, limit);
}

std::vector<LocalAlbum> LocalDatabase::searchAlbums(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    const SQLReadSnapshot snapshot(*db_);
    return MarrowbellCore::searchAlbums(*db_, query, limit);
}

std::vector<LocalArtist> LocalDatabase::searchArtists(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    const SQLReadSnapshot snapshot(*db_);
    return MarrowbellCore::searchArtists(*db_, query, limit);
}

std::vector<LocalSong> LocalDatabase::searchSongs(const std::string& query, std::int64_t limit) {
    std::lock_guard lock(mutex_);
    const SQLReadSnapshot snapshot(*db_);
    return MarrowbellCore::searchSongs(*db_, query, limit);
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
    auto& db = *db_;
    std::optional<SQLReadSnapshot> snapshot;
    try {
        snapshot.emplace(db);
    } catch (const SQLError&) {
        // Each kind then meets the same fault and reports it.
    }

    const auto searchKind = [&](const char* failureMessage, auto searchOneKind) {
        try {
            searchOneKind();
        } catch (const std::exception& error) {
            Loggers::search().error(failureMessage, {error});
        }
        Foundation::checkCancellation(stopToken);
    };
    searchKind("Could not search playlists: %@", [&] {
        appendSection(sections, "Playlists", MarrowbellCore::searchPlaylists(db, query, limit),
                      &SearchResult::playlist);
    });
    searchKind("Could not search albums: %@", [&] {
        appendSection(sections, "Albums", MarrowbellCore::searchAlbums(db, query, limit),
                      &SearchResult::album);
    });
    searchKind("Could not search artists: %@", [&] {
        appendSection(sections, "Artists", MarrowbellCore::searchArtists(db, query, limit),
                      &SearchResult::artist);
    });
    searchKind("Could not search songs: %@", [&] {
        appendSection(sections, "Songs", MarrowbellCore::searchSongs(db, query, limit), &SearchResult::song);
    });

    const double elapsed =
        Foundation::Date::now().timeIntervalSinceReferenceDate - start.timeIntervalSinceReferenceDate;
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
