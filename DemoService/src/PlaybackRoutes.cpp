#include "PlaybackRoutes.h"

#include "CatalogResources.h"
#include "GeneratedAudio.h"
#include "PersonalRecommendations.h"
#include "RenderedLibrary.h"
#include "ServiceAnswers.h"

#include <Foundation/JSONText.h>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <httplib.h>
#include <memory>
#include <optional>

namespace DemoService {
namespace {

constexpr const char* jsonType = "application/json";
constexpr std::size_t audioChunkSize = 64 * 1024;
/// Mixed into the audio keys, so that only the service hands out working asset addresses.
constexpr std::string_view audioKeySalt = "marrowbell-demo-audio";

using Kind = RenderedLibrary::Kind;

std::uint64_t textHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

std::string audioKey(const std::string& catalogSongID) {
    char text[17] = {};
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(textHash(std::string(audioKeySalt) + catalogSongID)));
    return text;
}

void answerError(httplib::Response& response, int status, std::int64_t code, std::string_view detail) {
    response.status = status;
    response.set_content(errorBody(status, code, detail), jsonType);
}

std::optional<std::size_t> catalogAlbumIndex(const DemoLibrary& library, std::string_view id) {
    const auto found = std::find_if(library.catalogAlbums.begin(), library.catalogAlbums.end(),
                                    [&](const auto& album) { return album.id == id; });
    return found == library.catalogAlbums.end()
               ? std::nullopt
               : std::optional(static_cast<std::size_t>(found - library.catalogAlbums.begin()));
}

/// The catalog songs a playback request for `kind` and `id` plays; nothing for an unknown item.
std::optional<std::vector<std::size_t>> playedSongs(const PlaybackRouteContext& context,
                                                    const PersonalRecommendations& recommendations,
                                                    std::string_view kind, std::string_view id) {
    const DemoLibrary& library = context.library;
    const auto catalogSongsOf = [&](const std::vector<std::size_t>& librarySongs) {
        std::vector<std::size_t> songs;
        for (std::size_t song : librarySongs) {
            songs.push_back(library.songs[song].catalogSong);
        }
        return songs;
    };
    if (kind == "songs") {
        if (const auto index = context.rendered.index(Kind::songs, id)) {
            return std::vector{library.songs[*index].catalogSong};
        }
        const auto catalogSong = library.catalogSongIndex(id);
        return catalogSong ? std::optional(std::vector{*catalogSong}) : std::nullopt;
    }
    if (kind == "albums") {
        if (const auto index = context.rendered.index(Kind::albums, id)) {
            return catalogSongsOf(library.albums[*index].songs);
        }
        const auto catalogAlbum = catalogAlbumIndex(library, id);
        return catalogAlbum ? std::optional(library.catalogAlbums[*catalogAlbum].songs) : std::nullopt;
    }
    if (const auto index = context.rendered.index(Kind::playlists, id)) {
        return catalogSongsOf(library.playlists[*index].tracks);
    }
    return recommendations.playlistSongs(id);
}

/// A catalog song resource with the address of its audio under `audioBase` as a further member "assetURL".
std::string assetJSON(const PlaybackRouteContext& context, std::size_t catalogSong,
                      const std::string& audioBase) {
    std::string resource = catalogSongJSON(context.library, catalogSong, context.baseURL);
    const std::string& id = context.library.catalogSongs[catalogSong].id;
    resource.insert(resource.size() - 1,
                    ",\"assetURL\":" +
                        Foundation::jsonQuoted(audioBase + "/audio/" + id + ".wav?key=" + audioKey(id)));
    return resource;
}

/// The audio is reached the way the playback request reached the service, so a client behind a relay or
/// a forwarded port streams through it too.
std::string audioBase(const PlaybackRouteContext& context, const httplib::Request& request) {
    return request.has_header("Host") ? "http://" + request.get_header_value("Host") : context.baseURL;
}

std::optional<std::size_t> position(const httplib::Request& request) {
    const std::string text = request.has_param("position") ? request.get_param_value("position") : "0";
    std::size_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    return status == std::errc() && end == text.data() + text.size() ? std::optional(value) : std::nullopt;
}

void servePlayback(const PlaybackRouteContext& context, const PersonalRecommendations& recommendations,
                   const httplib::Request& request, httplib::Response& response) {
    const std::string kind = request.matches[1].str();
    const std::string id = request.matches[2].str();
    const std::shared_lock lock(context.libraryMutex);
    std::vector<std::size_t> songs;
    if (kind == "stations") {
        const auto at = position(request);
        if (!at) {
            answerError(response, 400, 40005, "Parameter \"position\" must be a whole number.");
            return;
        }
        if (!recommendations.isStation(id) || context.library.catalogSongs.empty()) {
            answerError(response, 404, 40400, "No station has this identifier.");
            return;
        }
        songs.push_back(recommendations.stationSong(id, *at));
    } else if (const auto played = playedSongs(context, recommendations, kind, id)) {
        songs = *played;
    } else {
        answerError(response, 404, 40400, "No playable item has this identifier.");
        return;
    }
    if (songs.empty()) {
        answerError(response, 404, 40403, "The item has no songs to play.");
        return;
    }
    std::string body = "{\"data\":[";
    for (std::size_t song : songs) {
        if (body.back() != '[') {
            body += ',';
        }
        body += assetJSON(context, song, audioBase(context, request));
    }
    response.set_content(body + "]}", jsonType);
}

void serveAudio(const DemoLibrary& library, const httplib::Request& request, httplib::Response& response) {
    const std::string id = request.matches[1].str();
    if (request.get_param_value("key") != audioKey(id)) {
        response.status = 403;
        return;
    }
    // The catalog never changes, so the song needs no lock.
    const auto song = library.catalogSongIndex(id);
    if (!song) {
        response.status = 404;
        return;
    }
    auto audio = std::make_shared<GeneratedAudio>(library.catalogSongs[*song].durationInMillis, textHash(id));
    response.set_header("Accept-Ranges", "bytes");
    response.set_content_provider(
        audio->size(), "audio/wav", [audio](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            const std::string bytes = audio->bytes(offset, std::min(length, audioChunkSize));
            return sink.write(bytes.data(), bytes.size());
        });
}

} // namespace

void registerPlaybackRoutes(httplib::Server& server, const PlaybackRouteContext& context, ServeAPI serveAPI) {
    auto recommendations = std::make_shared<PersonalRecommendations>(context.library);
    server.Get("/v1/me/recommendations", [context, recommendations, serveAPI](const httplib::Request& request,
                                                                              httplib::Response& response) {
        serveAPI(request, response, [&](const httplib::Request&, httplib::Response& answer) {
            answer.set_content(recommendations->json(context.baseURL), jsonType);
        });
    });
    server.Get(
        R"(/v1/me/playback/(songs|albums|playlists|stations)/([^/?]+))",
        [context, recommendations, serveAPI](const httplib::Request& request, httplib::Response& response) {
            serveAPI(request, response, [&](const httplib::Request& req, httplib::Response& answer) {
                servePlayback(context, *recommendations, req, answer);
            });
        });
    server.Get(R"(/audio/([^/?]+)\.wav)",
               [context](const httplib::Request& request, httplib::Response& response) {
                   serveAudio(context.library, request, response);
               });
}

} // namespace DemoService
