#pragma once

#include "MarrowbellCore/ItemViews/SearchSection.h"
#include "MarrowbellCore/Store/IncomingAlbum.h"
#include "MarrowbellCore/Store/IncomingArtist.h"
#include "MarrowbellCore/Store/IncomingPlaylist.h"
#include "MarrowbellCore/Store/IncomingSong.h"
#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"
#include "MarrowbellCore/Store/RemotePlayParameters.h"
#include "MarrowbellCore/Store/SortDescriptor.h"
#include "MarrowbellCore/Store/StoreVersion.h"

#include <MusicKit/PlayParameters.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_set>
#include <vector>

struct sqlite3_stmt;

namespace MarrowbellCore {

class LibraryFileCheck;
class SQLDatabase;
class SQLError;

/// Primary keys of an owner row, typed so that the relation writes cannot mix up their tables.
struct AlbumPK {
    std::int64_t value = 0;
};
struct ArtistPK {
    std::int64_t value = 0;
};

/// One owner's songs as a sync's relation rebuild links them: at positions 0, 1, 2... in list order.
struct OwnerSongs {
    std::int64_t ownerPK = 0;
    std::vector<std::int64_t> songPKs;
};

/// What ordering a song list needs of one stored song: far less than the whole record.
struct StoredTrackMetadata {
    std::int64_t pk = 0;
    std::string identifier;
    std::optional<std::string> albumTitle;
    std::optional<std::int64_t> trackNumber;
};

/// The store of the user's library: the one owner of the `local.db` connection.
/// Every operation runs alone (a lock serialises them), so it is safe to call from any thread. Reads of songs
/// and the sorted lists use a few short-lived threads of their own, joined before they return.
/// Failures throw SQLError. Each write is one transaction: it is stored whole or, when it fails, not at all.
class LocalDatabase {
public:
    using IdentifierSet = std::unordered_set<std::string>;

    /// The format version of the files this store reads and writes (the file's `user_version`).
    static constexpr std::int64_t formatVersion = 2;

    /// Opens or creates the file. Throws SQLError "Failed to open database".
    explicit LocalDatabase(std::string path);
    ~LocalDatabase();
    LocalDatabase(const LocalDatabase&) = delete;
    LocalDatabase& operator=(const LocalDatabase&) = delete;

    const std::string& path() const { return path_; }
    bool isOpen() const;

    /// Creates the schema in a new file and leaves a file of the current format version untouched; does
    /// nothing once it has succeeded. True when it made the library in a file that held no tables (a new
    /// file), false otherwise. Throws SQLError, touching nothing, for a file of a newer version, one it
    /// cannot write (kind `notWritable`), an SQLite file of something else (`notALibrary`) and one found
    /// damaged (`damaged`).
    /// An existing file is then checked page by page beside the calls that follow: reads go ahead, and
    /// every write first waits for the check (up to a minute, or until its stop token is stopped, throwing
    /// SQLError or Foundation::CancellationError) and writes nothing unless the file passed.
    bool open();
    /// Calls `observer(error)` once, on the thread that met it, when SQLite first reports the file damaged
    /// (at open, in the check of the file or at any later read or write) or the file cannot be checked;
    /// every call then fails with that error and writes nothing. The observer runs inside the store's
    /// call or its check and must not call back into the store.
    void setDamageObserver(std::function<void(const SQLError&)> observer);
    /// Stops a check under way and closes the connection; a file that has not passed its check is left as it
    /// is. The store is not used afterwards.
    void close();
    /// Tells, compared with an earlier version, whether anything may have been written since. Throws
    /// SQLError.
    StoreVersion version();

    // Writes. The upserts give one stored record per input, in input order, carrying the input's values.

    std::vector<LocalSong> insert(const std::vector<IncomingSong>& songs);
    std::vector<LocalAlbum> insert(const std::vector<IncomingAlbum>& albums);
    std::vector<LocalPlaylist> insert(const std::vector<IncomingPlaylist>& playlists);
    std::vector<LocalArtist> insert(const std::vector<IncomingArtist>& artists);

    /// Links `songs` to the owner at positions 0, 1, 2... in list order.
    void insert(const std::vector<LocalSong>& songs, const LocalPlaylist& playlist);
    void insert(const std::vector<LocalSong>& songs, const LocalAlbum& album);
    void insert(const std::vector<LocalSong>& songs, const LocalArtist& artist);
    /// Makes `songs` the owner's whole song list, at positions 0, 1, 2... in list order: the rows of songs
    /// not in it go, in the same transaction. The songs themselves stay.
    void replaceSongs(const std::vector<LocalSong>& songs, const LocalPlaylist& playlist);
    void replaceSongs(const std::vector<LocalSong>& songs, const LocalAlbum& album);
    void replaceSongs(const std::vector<LocalSong>& songs, const LocalArtist& artist);
    void insert(const std::vector<std::int64_t>& songPKs, AlbumPK forAlbumPK);
    void insert(const std::vector<std::int64_t>& songPKs, ArtistPK forArtistPK);

    /// Writes the album (artist) song lists of a relation rebuild, list by list in one transaction. A list
    /// that fails leaves none of its own rows and ends the rebuild with its error; the lists before it stay.
    /// A stop request ends the rebuild between two lists with Foundation::CancellationError and leaves
    /// none of its rows.
    void rebuildAlbumSongs(const std::vector<OwnerSongs>& lists, std::stop_token stopToken = {});
    void rebuildArtistSongs(const std::vector<OwnerSongs>& lists, std::stop_token stopToken = {});

    /// Removes the stored items of the kind that `incoming` no longer holds, then upserts the rest; a
    /// passive song stays while a stored playlist lists it. Removing songs, albums or artists also removes
    /// their album and artist song-list rows. A stop request ends the write between two rows with
    /// Foundation::CancellationError and leaves the kind as it was.
    void sync(const std::vector<IncomingPlaylist>& playlists, std::stop_token stopToken = {});
    void sync(const std::vector<IncomingAlbum>& albums, std::stop_token stopToken = {});
    void sync(const std::vector<IncomingArtist>& artists, std::stop_token stopToken = {});
    void sync(const std::vector<IncomingSong>& songs, std::stop_token stopToken = {});

    IdentifierSet allSongIdentifiers();
    IdentifierSet allPlaylistIdentifiers();
    IdentifierSet allAlbumIdentifiers();
    IdentifierSet allArtistIdentifiers();

    /// Removing songs, albums or artists also removes their album and artist song-list rows.
    void removeSongs(const IdentifierSet& identifiers);
    void removePlaylists(const IdentifierSet& identifiers);
    void removeAlbums(const IdentifierSet& identifiers);
    void removeArtists(const IdentifierSet& identifiers);

    /// Every row of the kind in the order SQLite gives them, passive songs included.
    std::vector<LocalSong> allSongs();
    std::vector<LocalAlbum> allAlbums();
    std::vector<LocalArtist> allArtists();
    std::vector<LocalPlaylist> allPlaylists();
    /// The rows of allSongs(), read by the same statement, as the little that a sync's relation rebuild
    /// needs. A stop request ends the read between two rows with Foundation::CancellationError.
    std::vector<StoredTrackMetadata> allSongTrackMetadata(std::stop_token stopToken = {});

    // Reads. The sorted lists check for cancellation after sorting and then throw CancellationError.

    std::vector<LocalPlaylist> allPlaylists(const SortDescriptor<LocalPlaylist>& sortDescriptor,
                                            std::stop_token stopToken = {});
    std::vector<LocalAlbum> allAlbums(const SortDescriptor<LocalAlbum>& sortDescriptor,
                                      std::stop_token stopToken = {});
    std::vector<LocalArtist> allArtists(const SortDescriptor<LocalArtist>& sortDescriptor,
                                        std::stop_token stopToken = {});
    /// The library's own songs: passive songs are left out.
    std::vector<LocalSong> allLibrarySongs(const SortDescriptor<LocalSong>& sortDescriptor,
                                           std::stop_token stopToken = {});

    /// The owner's songs in their stored order, passive songs included.
    std::vector<LocalSong> songs(const LocalPlaylist& playlist);
    std::vector<LocalSong> songs(const LocalAlbum& album);
    std::vector<LocalSong> songs(const LocalArtist& artist);

    /// Case-insensitive (ASCII) substring searches by SQL LIKE; "%" and "_" in the query act as wildcards.
    std::vector<LocalPlaylist> searchPlaylists(const std::string& query, std::int64_t limit);
    std::vector<LocalAlbum> searchAlbums(const std::string& query, std::int64_t limit);
    std::vector<LocalArtist> searchArtists(const std::string& query, std::int64_t limit);
    /// Only playable library songs: passive songs and songs without play parameters are left out.
    std::vector<LocalSong> searchSongs(const std::string& query, std::int64_t limit);

    /// The library search: up to four sections of at most 10 hits each, all read from one state of the file.
    /// A kind that fails is logged and left out; cancellation is checked after each kind.
    std::vector<SearchSection> search(const std::string& text, std::stop_token stopToken = {});

    /// Whether a song with exactly this title has the artist or else the album (absent meaning empty).
    bool hasSong(const std::string& title, const std::optional<std::string>& artist,
                 const std::optional<std::string>& album);

    /// Decodes a statement positioned on a Songs row (its 14 columns in table order); nothing when the
    /// identifier or title is NULL.
    static std::optional<LocalSong> songRow(sqlite3_stmt* statement);
    /// The binary property list of `parameters`, or nothing (logged) when it cannot be encoded.
    static std::optional<std::vector<std::uint8_t>>
    encodePlayParameters(const MusicKit::PlayParameters& parameters);
    static std::optional<MusicKit::PlayParameters>
    decodePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes);
    static std::optional<RemotePlayParameters>
    decodeRemotePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes);

private:
    void refuseUnwritableFile();
    void refuseForeignFile();
    void startFileCheck();
    /// The store's lock for a write, taken once the file has passed its check; throws the check's failure.
    std::unique_lock<std::mutex> lockForWriting(const std::stop_token& stopToken = {});
    void stopFileCheck();

    std::string path_;
    std::unique_ptr<SQLDatabase> db_;
    bool isOpen_ = false;
    mutable std::mutex mutex_;
    // Last, so that its thread, which reports a failure through the connection, ends first.
    std::unique_ptr<LibraryFileCheck> fileCheck_;
};

} // namespace MarrowbellCore
