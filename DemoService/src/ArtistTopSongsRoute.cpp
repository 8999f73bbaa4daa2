#include "ArtistTopSongsRoute.h"

#include "CatalogResources.h"
#include "DemoService/DemoService.h"
#include "ServiceAnswers.h"

#include <algorithm>
#include <httplib.h>

namespace DemoService {
namespace {

constexpr const char* jsonType = "application/json";
constexpr std::size_t topSongCount = 10;

void answerTopSongs(const PlaybackRouteContext& context, const httplib::Request& request,
                    httplib::Response& response) {
    const DemoLibrary& library = context.library;
    const std::string artistID = request.matches[2].str();
    const auto artist = std::find_if(library.catalogArtists.begin(), library.catalogArtists.end(),
                                     [&](const auto& candidate) { return candidate.id == artistID; });
    if (request.matches[1].str() != DemoService::storefront || artist == library.catalogArtists.end()) {
        response.status = 404;
        response.set_content(errorBody(404, 40400, "No catalog artist has this identifier."), jsonType);
        return;
    }
    const auto artistIndex = static_cast<std::size_t>(artist - library.catalogArtists.begin());
    std::string body = "{\"data\":[";
    std::size_t count = 0;
    for (const auto& album : library.catalogAlbums) {
        if (album.artist != artistIndex) {
            continue;
        }
        for (const std::size_t song : album.songs) {
            if (count == topSongCount) {
                break;
            }
            if (count++ > 0) {
                body += ',';
            }
            body += catalogSongJSON(library, song, context.baseURL);
        }
    }
    response.set_content(body + "]}", jsonType);
}

} // namespace

void registerArtistTopSongsRoute(httplib::Server& server, const PlaybackRouteContext& context,
                                 ServeAPI serveAPI) {
    server.Get(R"(/v1/catalog/([^/]+)/artists/([^/]+)/view/top-songs)",
               [context, serveAPI](const httplib::Request& request, httplib::Response& response) {
                   serveAPI(request, response, [&](const httplib::Request& req, httplib::Response& answer) {
                       answerTopSongs(context, req, answer);
                   });
               });
}

} // namespace DemoService
