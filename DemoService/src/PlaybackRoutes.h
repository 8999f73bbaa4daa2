#pragma once

#include "DemoService/DemoLibrary.h"

#include <functional>
#include <shared_mutex>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace DemoService {

class RenderedLibrary;

/// What the playback routes read: the library (under its lock, as adding songs changes it) and
/// the address the service is reached at.
struct PlaybackRouteContext {
    const DemoLibrary& library;
    std::shared_mutex& libraryMutex;
    const RenderedLibrary& rendered;
    std::string baseURL;
};

using APIAnswer = std::function<void(const httplib::Request&, httplib::Response&)>;
/// Runs an answer as an API request: numbered, with the token check and the planned faults.
using ServeAPI = std::function<void(const httplib::Request&, httplib::Response&, const APIAnswer&)>;

/// Registers the personal recommendations ("/v1/me/recommendations"), the playback assets of songs,
/// albums, playlists and stations ("/v1/me/playback/…") and the audio files they point at
/// ("/audio/…", served in ranges). The context must outlive the server.
void registerPlaybackRoutes(httplib::Server& server, const PlaybackRouteContext& context, ServeAPI serveAPI);

} // namespace DemoService
