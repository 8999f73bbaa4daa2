#include "MarrowbellCore/Store/LocalDatabase.h"
#include "RelationRow.h"
#include "SQLDatabase.h"
#include "SQLTransaction.h"
#include "SongRows.h"
#include "StoreStatements.h"
#include "StoredPlayParameters.h"

#include <Foundation/CancellationError.h>
#include <string_view>
#include <unordered_set>

namespace MarrowbellCore {
namespace {

EncodedPlayParameters encodedPlayParameters(const IncomingSong& song) {
    if (!song.playParameters) {
        return {};
    }
    return {StoredPlayParameters::encode(song.playParameters->propertyListDictionary())};
}

/// The stored record's play parameters: the bytes just written, so that the record reads them as a record
/// read back from the file would.
PlayParameterBytes storedPlayParameters(EncodedPlayParameters encoded) {
    if (!encoded.bytes) {
        return {};
    }
    const auto owner = std::make_shared<const std::vector<std::uint8_t>>(std::move(*encoded.bytes));
    return {owner, std::span(*owner)};
}

SQLValues valuesOf(const IncomingSong& song, const EncodedPlayParameters& encoded) {
    return {song.identifier,  song.title,     song.duration,    song.artistName, song.albumTitle,
            song.genre,       song.dateAdded, song.releaseDate, encoded,         song.artworkURL,
            song.trackNumber, song.order,     song.isPassive};
}

SQLValues valuesOf(const IncomingAlbum& album) {
    return {album.identifier, album.title,       album.artistName, album.genre,
            album.dateAdded,  album.releaseDate, album.artworkURL};
}

SQLValues valuesOf(const IncomingPlaylist& playlist) {
    return {playlist.identifier, playlist.name, playlist.dateAdded, playlist.artworkURL};
}

SQLValues valuesOf(const IncomingArtist& artist) {
    return {artist.identifier, artist.name, artist.genre, artist.dateAdded, artist.artworkURL};
}

/// Runs the upsert once per record and gives each row's key, new or updated alike. A step that does not
/// deliver its key fails the whole write rather than hand back a wrong or missing key. A whole library's
/// songs take seconds to write, so a stop request is honoured between any two rows.
template <class ValuesAt>
std::vector<std::int64_t> upsertReturningPK(SQLDatabase& db, const char* sql, std::size_t count,
                                            ValuesAt valuesAt, const std::stop_token& stopToken = {}) {
    const auto statement = db.lend(sql);
    std::vector<std::int64_t> keys;
    keys.reserve(count);
    for (std::size_t index = 0; index < count; ++index) {
        Foundation::checkCancellation(stopToken);
        SQLDatabase::bind(valuesAt(index), statement.get());
        if (sqlite3_step(statement.get()) != SQLITE_ROW) {
            db.failWithCurrentMessage();
        }
        keys.push_back(sqlite3_column_int64(statement.get(), 0));
        sqlite3_reset(statement.get());
    }
    return keys;
}

template <class Incoming, class Local>
std::vector<Local> upsertRecords(SQLDatabase& db, const char* sql, const std::vector<Incoming>& records,
                                 Local (*stored)(std::int64_t, const Incoming&),
                                 const std::stop_token& stopToken = {}) {
    if (records.empty()) {
        return {};
    }
    const auto keys = inTransaction(db, [&] {
        return upsertReturningPK(
            db, sql, records.size(), [&](std::size_t index) { return valuesOf(records[index]); }, stopToken);
    });
    std::vector<Local> result;
    result.reserve(records.size());
    for (std::size_t index = 0; index < records.size(); ++index) {
        result.push_back(stored(keys[index], records[index]));
    }
    return result;
}

LocalAlbum storedAlbum(std::int64_t pk, const IncomingAlbum& album) {
    return {pk,          album.identifier, album.title,       album.artistName,
            album.genre, album.dateAdded,  album.releaseDate, album.artworkURL};
}

LocalPlaylist storedPlaylist(std::int64_t pk, const IncomingPlaylist& playlist) {
    return {pk, playlist.identifier, playlist.name, playlist.dateAdded, playlist.artworkURL};
}

LocalArtist storedArtist(std::int64_t pk, const IncomingArtist& artist) {
    return {pk, artist.identifier, artist.name, artist.genre, artist.dateAdded, artist.artworkURL};
}

LocalSong storedSong(std::int64_t pk, const IncomingSong& song, EncodedPlayParameters encoded) {
    return {pk,
            song.identifier,
            song.title,
            song.duration,
            song.artistName,
            song.albumTitle,
            song.genre,
            song.dateAdded,
            song.releaseDate,
            storedPlayParameters(std::move(encoded)),
            song.artworkURL,
            song.trackNumber,
            song.order,
            song.isPassive};
}

void writeRelationRows(SQLDatabase& db, const char* sql, std::int64_t ownerPK,
                       const std::vector<std::int64_t>& songPKs) {
    if (songPKs.empty()) {
        return;
    }
    inTransaction(db, [&] {
        db.executeBatch(sql, songPKs.size(), [&](std::size_t index) {
            return relationRowValues(static_cast<std::int64_t>(index), songPKs[index], ownerPK);
        });
    });
}

/// The owner's rows become exactly `songPKs`: rows of songs that have left the list go with the same
/// commit, so no reader ever sees the list half replaced, and a song that left can never share a position
/// with one that took its place.
void replaceRelationRows(SQLDatabase& db, const char* deleteSQL, const char* upsertSQL, std::int64_t ownerPK,
                         const std::vector<std::int64_t>& songPKs) {
    inTransaction(db, [&] {
        db.executeBatch(deleteSQL, 1, [&](std::size_t) { return SQLValues{ownerPK}; });
        writeRelationRows(db, upsertSQL, ownerPK, songPKs);
    });
}

/// Every list in one transaction for speed; a failing list leaves none of its own rows and ends the
/// rebuild, while the lists written before it stay. A stop request, checked between lists, leaves none of
/// the rebuild's rows: committing the lists before it would only delay the stop.
void writeRelationLists(SQLDatabase& db, const char* sql, const std::vector<OwnerSongs>& lists,
                        const std::stop_token& stopToken) {
    SQLTransaction all(db);
    try {
        for (const auto& list : lists) {
            Foundation::checkCancellation(stopToken);
            writeRelationRows(db, sql, list.ownerPK, list.songPKs);
        }
    } catch (const Foundation::CancellationError&) {
        throw;
    } catch (...) {
        // A stop that interrupted a statement rolls the rebuild back, as any other stop does.
        Foundation::checkCancellation(stopToken);
        all.commit();
        throw;
    }
    all.commit();
}

std::vector<std::int64_t> keysOf(const std::vector<LocalSong>& songs) {
    std::vector<std::int64_t> keys;
    keys.reserve(songs.size());
    for (const auto& song : songs) {
        keys.push_back(song.pk);
    }
    return keys;
}

LocalDatabase::IdentifierSet identifierSet(SQLDatabase& db, const char* sql) {
    const auto statement = db.lend(sql);
    LocalDatabase::IdentifierSet identifiers;
    db.readRows(statement.get(), [&](sqlite3_stmt* row) {
        if (const auto* text = sqlite3_column_text(row, 0)) {
            identifiers.emplace(reinterpret_cast<const char*>(text),
                                static_cast<std::size_t>(sqlite3_column_bytes(row, 0)));
        }
    });
    return identifiers;
}

std::string sqlStringLiteral(const std::string& text) {
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'') {
            literal += '\'';
        }
    }
    return literal + "'";
}

/// How the items of one kind are removed: the statement's start, to which the identifiers are added, and
/// the statements that then remove the song-list rows that name an item no longer stored.
struct Removal {
    const char* prefix;
    std::vector<const char*> danglingRelationRows;
};

void removeRows(SQLDatabase& db, const Removal& removal, const LocalDatabase::IdentifierSet& identifiers) {
    if (identifiers.empty()) {
        return;
    }
    const char* const prefix = removal.prefix;
    std::string sql = prefix;
    bool first = true;
    for (const auto& identifier : identifiers) {
        sql += first ? "" : ",";
        sql += sqlStringLiteral(identifier);
        first = false;
    }
    sql += ")";
    inTransaction(db, [&] {
        db.execute(sql);
        for (const char* relationRows : removal.danglingRelationRows) {
            db.execute(relationRows);
        }
    });
}

template <class Incoming>
void syncRecords(SQLDatabase& db, const std::vector<Incoming>& incoming, const char* identifiersSQL,
                 const Removal& removal, const std::function<void()>& upsert) {
    inTransaction(db, [&] {
        std::unordered_set<std::string_view> incomingIdentifiers;
        incomingIdentifiers.reserve(incoming.size());
        for (const auto& record : incoming) {
            incomingIdentifiers.insert(record.identifier);
        }
        auto stale = identifierSet(db, identifiersSQL);
        std::erase_if(
            stale, [&](const std::string& identifier) { return incomingIdentifiers.contains(identifier); });
        removeRows(db, removal, stale);
        upsert();
    });
}

// Keys are never reused (AUTOINCREMENT), so a row naming a removed item could never be read again; left
// behind, such rows would only grow the file with every change of the library.
const Removal songRemoval{"DELETE FROM Songs WHERE identifier IN (",
                          {"DELETE FROM AlbumSongs WHERE NOT EXISTS (SELECT 1 FROM Songs WHERE pk = song)",
                           "DELETE FROM ArtistSongs WHERE NOT EXISTS (SELECT 1 FROM Songs WHERE pk = song)"}};
const Removal playlistRemoval{"DELETE FROM Playlists WHERE identifier IN (", {}};
const Removal albumRemoval{
    "DELETE FROM Albums WHERE identifier IN (",
    {"DELETE FROM AlbumSongs WHERE NOT EXISTS (SELECT 1 FROM Albums WHERE pk = album)"}};
const Removal artistRemoval{
    "DELETE FROM Artists WHERE identifier IN (",
    {"DELETE FROM ArtistSongs WHERE NOT EXISTS (SELECT 1 FROM Artists WHERE pk = artist)"}};

constexpr const char* songIdentifiers = "SELECT identifier FROM Songs";
// The songs that the library's listing replaces: a passive song is in no such listing, and stays while a
// stored playlist lists it (only a playlist's track list stores passive songs).
constexpr const char* songIdentifiersOfListing =
    "SELECT identifier FROM Songs WHERE isPassive IS NOT 1 OR pk NOT IN (SELECT PlaylistSongs.song FROM "
    "PlaylistSongs JOIN Playlists ON Playlists.pk = PlaylistSongs.playlist)";
constexpr const char* playlistIdentifiers = "SELECT identifier FROM Playlists";
constexpr const char* albumIdentifiers = "SELECT identifier FROM Albums";
constexpr const char* artistIdentifiers = "SELECT identifier FROM Artists";

std::vector<LocalSong> upsertSongs(SQLDatabase& db, const std::vector<IncomingSong>& songs) {
    if (songs.empty()) {
        return {};
    }
    std::vector<EncodedPlayParameters> encoded;
    encoded.reserve(songs.size());
    for (const auto& song : songs) {
        encoded.push_back(encodedPlayParameters(song));
    }
    const auto keys = inTransaction(db, [&] {
        return upsertReturningPK(db, StoreStatements::upsertSong, songs.size(),
                                 [&](std::size_t index) { return valuesOf(songs[index], encoded[index]); });
    });
    std::vector<LocalSong> stored;
    stored.reserve(songs.size());
    for (std::size_t index = 0; index < songs.size(); ++index) {
        stored.push_back(storedSong(keys[index], songs[index], std::move(encoded[index])));
    }
    return stored;
}

/// The same rows as upsertSongs without the stored records, which a sync does not use: each song's play
/// parameters are encoded only as its row is written, so a whole library is never held twice.
void writeSongs(SQLDatabase& db, const std::vector<IncomingSong>& songs, const std::stop_token& stopToken) {
    if (songs.empty()) {
        return;
    }
    inTransaction(db, [&] {
        upsertReturningPK(
            db, StoreStatements::upsertSong, songs.size(),
            [&](std::size_t index) {
                const auto& song = songs[index];
                return valuesOf(song, encodedPlayParameters(song));
            },
            stopToken);
    });
}

} // namespace

std::vector<LocalSong> LocalDatabase::insert(const std::vector<IncomingSong>& songs) {
    const auto lock = lockForWriting();
    return upsertSongs(*db_, songs);
}

std::vector<LocalAlbum> LocalDatabase::insert(const std::vector<IncomingAlbum>& albums) {
    const auto lock = lockForWriting();
    return upsertRecords(*db_, StoreStatements::upsertAlbum, albums, &storedAlbum);
}

std::vector<LocalPlaylist> LocalDatabase::insert(const std::vector<IncomingPlaylist>& playlists) {
    const auto lock = lockForWriting();
    return upsertRecords(*db_, StoreStatements::upsertPlaylist, playlists, &storedPlaylist);
}

std::vector<LocalArtist> LocalDatabase::insert(const std::vector<IncomingArtist>& artists) {
    const auto lock = lockForWriting();
    return upsertRecords(*db_, StoreStatements::upsertArtist, artists, &storedArtist);
}

void LocalDatabase::insert(const std::vector<LocalSong>& songs, const LocalPlaylist& playlist) {
    const auto lock = lockForWriting();
    writeRelationRows(*db_, StoreStatements::upsertPlaylistSong, playlist.pk, keysOf(songs));
}

void LocalDatabase::insert(const std::vector<LocalSong>& songs, const LocalAlbum& album) {
    const auto lock = lockForWriting();
    writeRelationRows(*db_, StoreStatements::upsertAlbumSong, album.pk, keysOf(songs));
}

void LocalDatabase::insert(const std::vector<LocalSong>& songs, const LocalArtist& artist) {
    const auto lock = lockForWriting();
    writeRelationRows(*db_, StoreStatements::upsertArtistSong, artist.pk, keysOf(songs));
}

void LocalDatabase::replaceSongs(const std::vector<LocalSong>& songs, const LocalPlaylist& playlist) {
    const auto lock = lockForWriting();
    replaceRelationRows(*db_, StoreStatements::deletePlaylistSongs, StoreStatements::upsertPlaylistSong,
                        playlist.pk, keysOf(songs));
}

void LocalDatabase::replaceSongs(const std::vector<LocalSong>& songs, const LocalAlbum& album) {
    const auto lock = lockForWriting();
    replaceRelationRows(*db_, StoreStatements::deleteAlbumSongs, StoreStatements::upsertAlbumSong, album.pk,
                        keysOf(songs));
}

void LocalDatabase::replaceSongs(const std::vector<LocalSong>& songs, const LocalArtist& artist) {
    const auto lock = lockForWriting();
    replaceRelationRows(*db_, StoreStatements::deleteArtistSongs, StoreStatements::upsertArtistSong,
                        artist.pk, keysOf(songs));
}

void LocalDatabase::insert(const std::vector<std::int64_t>& songPKs, AlbumPK forAlbumPK) {
    const auto lock = lockForWriting();
    writeRelationRows(*db_, StoreStatements::upsertAlbumSong, forAlbumPK.value, songPKs);
}

void LocalDatabase::insert(const std::vector<std::int64_t>& songPKs, ArtistPK forArtistPK) {
    const auto lock = lockForWriting();
    writeRelationRows(*db_, StoreStatements::upsertArtistSong, forArtistPK.value, songPKs);
}

void LocalDatabase::rebuildAlbumSongs(const std::vector<OwnerSongs>& lists, std::stop_token stopToken) {
    const auto lock = lockForWriting(stopToken);
    db_->writeStoppably(
        stopToken, [&] { writeRelationLists(*db_, StoreStatements::upsertAlbumSong, lists, stopToken); });
}

void LocalDatabase::rebuildArtistSongs(const std::vector<OwnerSongs>& lists, std::stop_token stopToken) {
    const auto lock = lockForWriting(stopToken);
    db_->writeStoppably(
        stopToken, [&] { writeRelationLists(*db_, StoreStatements::upsertArtistSong, lists, stopToken); });
}

void LocalDatabase::sync(const std::vector<IncomingPlaylist>& playlists, std::stop_token stopToken) {
    const auto lock = lockForWriting(stopToken);
    db_->writeStoppably(stopToken, [&] {
        syncRecords(*db_, playlists, playlistIdentifiers, playlistRemoval, [&] {
            upsertRecords(*db_, StoreStatements::upsertPlaylist, playlists, &storedPlaylist, stopToken);
        });
    });
}

void LocalDatabase::sync(const std::vector<IncomingAlbum>& albums, std::stop_token stopToken) {
    const auto lock = lockForWriting(stopToken);
    db_->writeStoppably(stopToken, [&] {
        syncRecords(*db_, albums, albumIdentifiers, albumRemoval, [&] {
            upsertRecords(*db_, StoreStatements::upsertAlbum, albums, &storedAlbum, stopToken);
        });
    });
}

void LocalDatabase::sync(const std::vector<IncomingArtist>& artists, std::stop_token stopToken) {
    const auto lock = lockForWriting(stopToken);
    db_->writeStoppably(stopToken, [&] {
        syncRecords(*db_, artists, artistIdentifiers, artistRemoval, [&] {
            upsertRecords(*db_, StoreStatements::upsertArtist, artists, &storedArtist, stopToken);
        });
    });
}

void LocalDatabase::sync(const std::vector<IncomingSong>& songs, std::stop_token stopToken) {
    const auto lock = lockForWriting(stopToken);
    db_->writeStoppably(stopToken, [&] {
        syncRecords(*db_, songs, songIdentifiersOfListing, songRemoval,
                    [&] { writeSongs(*db_, songs, stopToken); });
    });
}

LocalDatabase::IdentifierSet LocalDatabase::allSongIdentifiers() {
    std::lock_guard lock(mutex_);
    return identifierSet(*db_, songIdentifiers);
}

LocalDatabase::IdentifierSet LocalDatabase::allPlaylistIdentifiers() {
    std::lock_guard lock(mutex_);
    return identifierSet(*db_, playlistIdentifiers);
}

LocalDatabase::IdentifierSet LocalDatabase::allAlbumIdentifiers() {
    std::lock_guard lock(mutex_);
    return identifierSet(*db_, albumIdentifiers);
}

LocalDatabase::IdentifierSet LocalDatabase::allArtistIdentifiers() {
    std::lock_guard lock(mutex_);
    return identifierSet(*db_, artistIdentifiers);
}

void LocalDatabase::removeSongs(const IdentifierSet& identifiers) {
    const auto lock = lockForWriting();
    removeRows(*db_, songRemoval, identifiers);
}

void LocalDatabase::removePlaylists(const IdentifierSet& identifiers) {
    const auto lock = lockForWriting();
    removeRows(*db_, playlistRemoval, identifiers);
}

void LocalDatabase::removeAlbums(const IdentifierSet& identifiers) {
    const auto lock = lockForWriting();
    removeRows(*db_, albumRemoval, identifiers);
}

void LocalDatabase::removeArtists(const IdentifierSet& identifiers) {
    const auto lock = lockForWriting();
    removeRows(*db_, artistRemoval, identifiers);
}

std::vector<LocalSong> LocalDatabase::allSongs() {
    std::lock_guard lock(mutex_);
    return db_->querySongs(StoreStatements::selectSongs);
}

std::vector<StoredTrackMetadata> LocalDatabase::allSongTrackMetadata(std::stop_token stopToken) {
    std::lock_guard lock(mutex_);
    const auto statement = db_->lend(StoreStatements::selectSongs);
    std::vector<StoredTrackMetadata> songs;
    db_->readRows(statement.get(), [&](sqlite3_stmt* row) {
        Foundation::checkCancellation(stopToken);
        if (auto song = SongRows::trackMetadata(row)) {
            songs.push_back(std::move(*song));
        }
    });
    return songs;
}

std::vector<LocalAlbum> LocalDatabase::allAlbums() {
    std::lock_guard lock(mutex_);
    return db_->queryAlbums(StoreStatements::selectAlbums);
}

std::vector<LocalArtist> LocalDatabase::allArtists() {
    std::lock_guard lock(mutex_);
    return db_->queryArtists(StoreStatements::selectArtists);
}

std::vector<LocalPlaylist> LocalDatabase::allPlaylists() {
    std::lock_guard lock(mutex_);
    return db_->queryPlaylists(StoreStatements::selectPlaylists);
}

} // namespace MarrowbellCore
