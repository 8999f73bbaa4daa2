#pragma once

#include "PlaybackRoutes.h"

namespace DemoService {

/// Registers "/v1/catalog/{storefront}/artists/{id}/view/top-songs": a catalog artist's songs, at most
/// ten, album by album in catalog order; an unknown storefront or artist is a 404. The catalog never
/// changes, so no lock is taken. The context must outlive the server.
void registerArtistTopSongsRoute(httplib::Server& server, const PlaybackRouteContext& context,
                                 ServeAPI serveAPI);

} // namespace DemoService
