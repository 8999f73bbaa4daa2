#pragma once

#include "DemoService/DemoLibrary.h"

#include <cstddef>
#include <string>

namespace DemoService {

/// The catalog's resources as the service sends them: "id", "type", "href" under
/// "/v1/catalog/us/" and "attributes", with artwork served by the demo service at `baseURL`.
/// Each takes the item's index in its catalog vector.
std::string catalogPlaylistJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL);
std::string catalogAlbumJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL);
std::string catalogArtistJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL);
std::string catalogSongJSON(const DemoLibrary& library, std::size_t index, const std::string& baseURL);

} // namespace DemoService
