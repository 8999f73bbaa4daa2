#include "BenchmarkLibrary.h"

#include <array>
#include <random>
#include <string>

namespace Benchmark {
namespace {

constexpr std::array words{"Love",         "Night",          "Dream",      "Fire",          "Heart",
                           "Rain",         "Summer",         "Blue",       "Road",          "Home",
                           "Light",        "Dance",          "Star",       "Ocean",         "City",
                           "Gold",         "Caf\u00e9",      "Na\u00efve", "\u00c9t\u00e9", "Stra\u00dfe",
                           "\u6771\u4eac", "Mot\u00f6rhead", "Don't",      "Rock 'n' Roll", "Wild",
                           "Echo",         "Shadow",         "River",      "Sky",           "Morning"};
constexpr std::array genres{"Pop",        "Rock",      "Jazz",    "Hip-Hop/Rap",
                            "Electronic", "Classical", "Country", "R&B/Soul"};

std::string phrase(std::mt19937& random, int wordCount) {
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    std::string text;
    for (int i = 0; i < wordCount; ++i) {
        text += (i == 0 ? "" : " ");
        text += words[pick(random)];
    }
    return text;
}

std::optional<Foundation::URL> artwork(const std::string& baseURL, const std::string& kind,
                                       std::size_t index) {
    return Foundation::URL::fromString(baseURL + "/artwork/" + kind + "-" + std::to_string(index) +
                                       "/64x64.png");
}

} // namespace

GeneratedLibrary generateLibrary(std::size_t songCount, const std::string& artworkBaseURL) {
    std::mt19937 random(20261209);
    GeneratedLibrary library;
    const std::size_t albumCount = std::max<std::size_t>(1, songCount * 8 / 100);
    const std::size_t artistCount = std::max<std::size_t>(1, songCount * 25 / 1000);
    const std::size_t playlistCount = std::max<std::size_t>(1, songCount * 3 / 1000);
    const double now = 787000000.0;

    for (std::size_t i = 0; i < artistCount; ++i) {
        library.artists.push_back({"r." + std::to_string(i), phrase(random, 2), genres[i % genres.size()],
                                   std::nullopt, artwork(artworkBaseURL, "artist", i)});
    }
    for (std::size_t i = 0; i < albumCount; ++i) {
        library.albums.push_back(
            {"l." + std::to_string(i), phrase(random, 3), library.artists[i % artistCount].name,
             genres[i % genres.size()], Foundation::Date{now - static_cast<double>(i) * 3600},
             Foundation::Date{now - static_cast<double>(i) * 86400}, artwork(artworkBaseURL, "album", i)});
    }
    for (std::size_t i = 0; i < songCount; ++i) {
        const std::size_t album = i % albumCount;
        const std::size_t artist = album % artistCount;
        std::optional<MusicKit::PlayParameters> parameters;
        if (i % 100 != 99) {
            parameters = MusicKit::PlayParameters{"i." + std::to_string(i),
                                                  "song",
                                                  true,
                                                  std::nullopt,
                                                  std::to_string(1000000000 + i),
                                                  std::nullopt,
                                                  std::to_string(1000000000 + i)};
        }
        library.songs.push_back({"i." + std::to_string(i), phrase(random, 1 + static_cast<int>(i % 4)),
                                 180.0 + static_cast<double>(i % 120), library.artists[artist].name,
                                 library.albums[album].title, genres[i % genres.size()], std::nullopt,
                                 Foundation::Date{now - static_cast<double>(i) * 60}, std::move(parameters),
                                 artwork(artworkBaseURL, "song", i),
                                 static_cast<std::int64_t>(i / albumCount + 1),
                                 static_cast<std::int64_t>(now) - static_cast<std::int64_t>(i), false});
        library.albumOfSong.push_back(album);
        library.artistOfSong.push_back(artist);
    }
    std::uniform_int_distribution<std::size_t> pickSong(0, songCount - 1);
    for (std::size_t i = 0; i < playlistCount; ++i) {
        library.playlists.push_back({"p." + std::to_string(i), phrase(random, 2),
                                     Foundation::Date{now - static_cast<double>(i) * 7200},
                                     artwork(artworkBaseURL, "playlist", i)});
        std::vector<std::size_t> tracks(20 + i % 80);
        for (auto& track : tracks) {
            track = pickSong(random);
        }
        library.playlistTracks.push_back(std::move(tracks));
    }
    return library;
}

} // namespace Benchmark
