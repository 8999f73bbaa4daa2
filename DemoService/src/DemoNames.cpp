#include "DemoNames.h"

#include <array>
#include <string_view>

namespace DemoService {
namespace {

constexpr std::array<std::string_view, 48> words{
    "Midnight",    "River",   "Golden",  "Echo",         "Paper",    "Satellite",     "Velvet",   "Summer",
    "Winter",      "Glass",   "Neon",    "Harbor",       "Silent",   "Electric",      "Wild",     "Hollow",
    "Crimson",     "Ocean",   "Distant", "Fire",         "Café",     "Naïve",         "Señorita", "Über",
    "Ångström",    "Øresund", "Façade",  "Crème Brûlée", "Москва",   "東京",          "서울",     "Ελλάδα",
    "Ça Va",       "Mañana",  "Zürich",  "Smörgåsbord",  "Dreamin'", "Rock 'n' Roll", "\"Blue\"", "O'Neil's",
    "Back\\Slash", "🎵",       "Love",    "Heart",        "Light",    "Road",          "Home",     "Stars"};

constexpr std::array<std::string_view, 16> firstNames{"Ana",    "Björn", "Chloé", "Dmitri", "Émile", "Fatima",
                                                      "Günter", "Hiro",  "Inès",  "José",   "Kai",   "Léa",
                                                      "Mårten", "Nuño",  "Olu",   "Zoë"};

constexpr std::array<std::string_view, 16> lastNames{
    "Adébáyọ̀", "Brontë",    "Castaño",  "Dvořák",    "Eriksson", "Fontaine", "García",   "Hašek",
    "Ibáñez",  "Jørgensen", "Kowalski", "Lindqvist", "Müller",   "Novák",    "O'Connor", "Søndergaard"};

constexpr std::array<std::string_view, 12> genres{"Pop",     "Rock",      "Hip-Hop/Rap", "Electronic",
                                                  "Jazz",    "Classical", "R&B/Soul",    "Alternative",
                                                  "Country", "Latin",     "K-Pop",       "Singer/Songwriter"};

std::string phrase(SeededRandom& random, std::int64_t lowest, std::int64_t highest) {
    std::string text;
    const auto count = random.between(lowest, highest);
    for (std::int64_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += random.pick(words);
    }
    return text;
}

} // namespace

std::string DemoNames::songTitle(SeededRandom& random) {
    std::string title = phrase(random, 1, 4);
    if (random.chance(8)) {
        title += " (feat. " + std::string(random.pick(firstNames)) + ")";
    }
    return title;
}

std::string DemoNames::albumTitle(SeededRandom& random) {
    std::string title = phrase(random, 1, 3);
    if (random.chance(5)) {
        title += " (Deluxe Edition)";
    }
    return title;
}

std::string DemoNames::artistName(SeededRandom& random) {
    if (random.chance(40)) {
        return "The " + phrase(random, 1, 2);
    }
    return std::string(random.pick(firstNames)) + " " + std::string(random.pick(lastNames));
}

std::string DemoNames::playlistName(SeededRandom& random, std::size_t index) {
    return phrase(random, 1, 2) + " Mix #" + std::to_string(index + 1);
}

std::string DemoNames::editorialPlaylistName(SeededRandom& random) {
    if (random.chance(50)) {
        return phrase(random, 1, 2) + " Essentials";
    }
    std::string name = genre(random);
    return name + " " + phrase(random, 1, 1);
}

std::string DemoNames::genre(SeededRandom& random) {
    return std::string(random.pick(genres));
}

} // namespace DemoService
