#pragma once

#include "MusicKit/CatalogItems.h"
#include "MusicKit/Song.h"

#include <Foundation/JSONDecoding.h>
#include <optional>
#include <string_view>

namespace MusicKit {

/// Decodes one resource of the service ("id", "type", "attributes"), of the catalog or of the
/// user's library alike. The name is required, every other attribute optional. Throws
/// Foundation::DecodingError.
template <class Item> Item decodeResource(const Foundation::JSONValue& resource);

template <> Playlist decodeResource<Playlist>(const Foundation::JSONValue& resource);
template <> Album decodeResource<Album>(const Foundation::JSONValue& resource);
template <> Artist decodeResource<Artist>(const Foundation::JSONValue& resource);
template <> Song decodeResource<Song>(const Foundation::JSONValue& resource);

enum class ResourceKind { playlist, album, artist, song };

/// The kind a resource's "type" names ("songs" and "library-songs" alike); nothing for other kinds.
std::optional<ResourceKind> resourceKind(std::string_view type);

} // namespace MusicKit
