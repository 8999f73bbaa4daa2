#include "PersonalRecommendations.h"

#include "ResourceJSON.h"
#include "SeededRandom.h"

#include <Foundation/JSONText.h>
#include <algorithm>

namespace DemoService {
namespace {

using Foundation::jsonQuoted;

constexpr std::size_t songsPerMix = 15;
constexpr std::size_t artistStationCount = 4;

std::uint64_t textHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

std::string itemJSON(const PersonalRecommendations::Item& item, std::string_view type,
                     const std::string& baseURL) {
    return "{\"id\":" + jsonQuoted(item.id) + ",\"type\":\"" + std::string(type) +
           "\",\"attributes\":{\"name\":" + jsonQuoted(item.name) +
           ",\"artwork\":" + artworkJSON(baseURL, item.id, 600) + "}}";
}

std::string recommendationJSON(std::string_view id, std::string_view title,
                               const std::vector<PersonalRecommendations::Item>& items, std::string_view type,
                               const std::string& baseURL) {
    std::string body = "{\"id\":\"" + std::string(id) +
                       "\",\"type\":\"personal-recommendation\",\"attributes\":{\"title\":" +
                       jsonQuoted(std::string(title)) + "},\"relationships\":{\"contents\":{\"data\":[";
    for (const auto& item : items) {
        if (body.back() != '[') {
            body += ',';
        }
        body += itemJSON(item, type, baseURL);
    }
    return body + "]}}}";
}

} // namespace

PersonalRecommendations::PersonalRecommendations(const DemoLibrary& library)
    : library_(library) {
    const auto names = {"Morning Mix", "Discovery Mix", "Evening Mix", "Favourites Mix"};
    for (const char* name : names) {
        mixes_.push_back({"pl.mix-" + std::to_string(mixes_.size()), name});
    }
    stations_.push_back({"ra.personal", "Personal Station"});
    const std::size_t artistCount = std::min(artistStationCount, library.catalogArtists.size());
    for (std::size_t index = 0; index < artistCount; ++index) {
        const auto& artist = library.catalogArtists[index];
        stations_.push_back({"ra." + artist.id, artist.name + " Station"});
    }
}

bool PersonalRecommendations::isStation(std::string_view id) const {
    return std::any_of(stations_.begin(), stations_.end(), [&](const Item& item) { return item.id == id; });
}

std::optional<std::vector<std::size_t>> PersonalRecommendations::playlistSongs(std::string_view id) const {
    const auto named = [&](const auto& item) { return item.id == id; };
    const bool isMix = std::any_of(mixes_.begin(), mixes_.end(), named);
    const bool isEditorial =
        std::any_of(library_.catalogPlaylists.begin(), library_.catalogPlaylists.end(), named);
    if ((!isMix && !isEditorial) || library_.catalogSongs.empty()) {
        return std::nullopt;
    }
    SeededRandom random(textHash(id));
    std::vector<std::size_t> songs;
    for (std::size_t i = 0; i < songsPerMix; ++i) {
        songs.push_back(random.below(library_.catalogSongs.size()));
    }
    return songs;
}

std::size_t PersonalRecommendations::stationSong(std::string_view id, std::size_t position) const {
    SeededRandom random(textHash(id) + position * 0x9E3779B97F4A7C15ULL);
    return random.below(library_.catalogSongs.size());
}

std::string PersonalRecommendations::json(const std::string& baseURL) const {
    return "{\"data\":[" + recommendationJSON("made-for-you", "Made for You", mixes_, "playlists", baseURL) +
           ',' + recommendationJSON("stations-for-you", "Stations for You", stations_, "stations", baseURL) +
           "]}";
}

} // namespace DemoService
