#pragma once

#include "MarrowbellCore/Store/IncomingAlbum.h"
#include "MarrowbellCore/Store/IncomingArtist.h"
#include "MarrowbellCore/Store/IncomingPlaylist.h"
#include "MarrowbellCore/Store/IncomingSong.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"

#include <optional>
#include <vector>

namespace MarrowbellCore {

/// The service's resources as records to store. Pure functions: they never fail, texts are carried over
/// unchanged, and missing data gives absent fields.

/// The template with "{w}" and "{h}" filled with 64; nothing when the result is not a URL.
std::optional<Foundation::URL> artworkURL(const std::string& fromTemplate);
/// The song's play parameters as the player reads them; nothing (logged) when they do not convert.
std::optional<MusicKit::PlayParameters> makePlayParameters(const std::optional<RemotePlayParameters>& from);

/// Nothing for a playlist without a name.
std::optional<IncomingPlaylist> incomingPlaylist(const RemotePlaylist& remote);
IncomingAlbum incomingAlbum(const RemoteAlbum& remote);
IncomingArtist incomingArtist(const RemoteArtist& remote);
IncomingSong incomingSong(const RemoteSong& remote, std::optional<std::int64_t> order, bool isPassive);

/// Nameless playlists are left out; the order is kept.
std::vector<IncomingPlaylist> incomingPlaylists(const std::vector<RemotePlaylist>& from);
std::vector<IncomingAlbum> incomingAlbums(const std::vector<RemoteAlbum>& from);
std::vector<IncomingArtist> incomingArtists(const std::vector<RemoteArtist>& from);

} // namespace MarrowbellCore
