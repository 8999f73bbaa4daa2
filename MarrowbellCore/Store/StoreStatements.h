#pragma once

namespace MarrowbellCore::StoreStatements {

inline constexpr const char* upsertSong =
    "\tINSERT INTO Songs (identifier, title, duration, artistName, albumTitle, genre, dateAdded, "
    "releaseDate, "
    "playParameters, artworkURL, trackNumber, sortOrder, isPassive)\n"
    "\tVALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)\n"
    "\tON CONFLICT(identifier) DO UPDATE SET\n"
    "\t\ttitle = excluded.title,\n"
    "\t\tduration = excluded.duration,\n"
    "\t\tartistName = excluded.artistName,\n"
    "\t\talbumTitle = excluded.albumTitle,\n"
    "\t\tgenre = excluded.genre,\n"
    "\t\tdateAdded = excluded.dateAdded,\n"
    "\t\treleaseDate = excluded.releaseDate,\n"
    "\t\tplayParameters = excluded.playParameters,\n"
    "\t\tartworkURL = excluded.artworkURL,\n"
    "\t\ttrackNumber = excluded.trackNumber,\n"
    "\t\tsortOrder = CASE WHEN excluded.sortOrder IS NOT NULL THEN excluded.sortOrder ELSE sortOrder END,\n"
    "\t\tisPassive = CASE WHEN excluded.isPassive = 1 AND isPassive = 0 THEN 0 ELSE excluded.isPassive END\n"
    "\tRETURNING pk";

inline constexpr const char* upsertAlbum = "INSERT INTO Albums (identifier, title, artistName, genre, "
                                           "dateAdded, releaseDate, artworkURL) VALUES (?, ?, ?, "
                                           "?, ?, ?, ?) ON CONFLICT (identifier) DO UPDATE SET title = "
                                           "excluded.title, artistName = excluded.artistName, "
                                           "genre = excluded.genre, dateAdded = excluded.dateAdded, "
                                           "releaseDate = excluded.releaseDate, artworkURL = "
                                           "excluded.artworkURL RETURNING pk";

inline constexpr const char* upsertPlaylist =
    "INSERT INTO Playlists (identifier, name, dateAdded, artworkURL) VALUES (?, ?, ?, ?) ON "
    "CONFLICT(identifier) DO "
    "UPDATE SET name = excluded.name, dateAdded = excluded.dateAdded, artworkURL = excluded.artworkURL "
    "RETURNING pk";

inline constexpr const char* upsertArtist =
    "INSERT INTO Artists (identifier, name, genre, dateAdded, artworkURL) VALUES (?, ?, ?, ?, ?) ON CONFLICT "
    "(identifier) DO UPDATE SET name = excluded.name, genre = excluded.genre, dateAdded = "
    "excluded.dateAdded, "
    "artworkURL = excluded.artworkURL RETURNING pk";

inline constexpr const char* upsertPlaylistSong = "INSERT INTO PlaylistSongs (playlist, song, sortOrder) "
                                                  "VALUES (?, ?, ?) ON CONFLICT (playlist, song) DO UPDATE "
                                                  "SET sortOrder = excluded.sortOrder";
inline constexpr const char* upsertAlbumSong = "INSERT INTO AlbumSongs (album, song, sortOrder) VALUES (?, "
                                               "?, ?) ON CONFLICT (album, song) DO UPDATE SET "
                                               "sortOrder = excluded.sortOrder";
inline constexpr const char* upsertArtistSong = "INSERT INTO ArtistSongs (artist, song, sortOrder) VALUES "
                                                "(?, ?, ?) ON CONFLICT (artist, song) DO UPDATE SET "
                                                "sortOrder = excluded.sortOrder";

/// The rows of one owner, before its whole list is written anew.
inline constexpr const char* deletePlaylistSongs = "DELETE FROM PlaylistSongs WHERE playlist = ?";
inline constexpr const char* deleteAlbumSongs = "DELETE FROM AlbumSongs WHERE album = ?";
inline constexpr const char* deleteArtistSongs = "DELETE FROM ArtistSongs WHERE artist = ?";

inline constexpr const char* selectSongs = "SELECT pk, identifier, title, duration, artistName, albumTitle, "
                                           "genre, dateAdded, releaseDate, playParameters, "
                                           "artworkURL, trackNumber, sortOrder, isPassive FROM Songs";
inline constexpr const char* selectAlbums =
    "SELECT pk, identifier, title, artistName, genre, dateAdded, releaseDate, artworkURL FROM Albums";
inline constexpr const char* selectArtists =
    "SELECT pk, identifier, name, genre, dateAdded, artworkURL FROM Artists";
inline constexpr const char* selectPlaylists =
    "SELECT pk, identifier, name, dateAdded, artworkURL FROM Playlists";

inline constexpr const char* searchPlaylists = "SELECT pk, identifier, name, dateAdded, artworkURL FROM "
                                               "Playlists WHERE name LIKE ? COLLATE NOCASE LIMIT ?";
inline constexpr const char* searchAlbums = "SELECT pk, identifier, title, artistName, genre, dateAdded, "
                                            "releaseDate, artworkURL FROM Albums WHERE title LIKE "
                                            "? COLLATE NOCASE LIMIT ?";
inline constexpr const char* searchArtists = "SELECT pk, identifier, name, genre, dateAdded, artworkURL FROM "
                                             "Artists WHERE name LIKE ? COLLATE NOCASE LIMIT ?";
inline constexpr const char* searchSongs = "SELECT pk, identifier, title, duration, artistName, albumTitle, "
                                           "genre, dateAdded, releaseDate, playParameters, "
                                           "artworkURL, trackNumber, sortOrder, isPassive FROM Songs WHERE "
                                           "isPassive = 0 AND playParameters IS NOT NULL AND "
                                           "title LIKE ? COLLATE NOCASE LIMIT ?";

inline constexpr const char* songMatches = "SELECT artistName, albumTitle FROM Songs WHERE title = ?";

} // namespace MarrowbellCore::StoreStatements
