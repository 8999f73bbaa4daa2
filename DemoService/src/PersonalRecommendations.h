#pragma once

#include "DemoService/DemoLibrary.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace DemoService {

/// The user's personal recommendations: made-for-you mixes (playlists of catalog songs) and
/// stations (endless runs of catalog songs). Both are fixed by the catalog, like everything else.
class PersonalRecommendations {
public:
    struct Item {
        std::string id;
        std::string name;
    };

    explicit PersonalRecommendations(const DemoLibrary& library);

    const std::vector<Item>& mixes() const { return mixes_; }
    const std::vector<Item>& stations() const { return stations_; }
    bool isStation(std::string_view id) const;

    /// The catalog songs of a mix or an editorial catalog playlist; nothing for other identifiers.
    std::optional<std::vector<std::size_t>> playlistSongs(std::string_view id) const;
    /// The catalog song a station plays at `position` (0 is its first); any position has one.
    std::size_t stationSong(std::string_view id, std::size_t position) const;

    /// {"data":[…]}: the "Made for You" and "Stations for You" recommendations with their items.
    std::string json(const std::string& baseURL) const;

private:
    const DemoLibrary& library_;
    std::vector<Item> mixes_;
    std::vector<Item> stations_;
};

} // namespace DemoService
