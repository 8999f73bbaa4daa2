#include "DemoService/DemoService.h"

#include "ArtistTopSongsRoute.h"
#include "CatalogResources.h"
#include "CatalogSearch.h"
#include "PNGImage.h"
#include "PlaybackRoutes.h"
#include "RenderedLibrary.h"
#include "ServiceAnswers.h"

#include <Foundation/JSONText.h>
#include <algorithm>
#include <charconv>
#include <future>
#include <httplib.h>
#include <stdexcept>
#include <string_view>

namespace DemoService {

/// How the page of the current request departs from the library, by injected faults.
struct DemoService::Page {
    std::optional<std::int64_t> reportedTotal;
    bool emptyWithNext = false;
    bool withoutNext = false;
};

namespace {

constexpr const char* jsonType = "application/json";
constexpr std::size_t defaultPageLimit = 25;
constexpr std::size_t maximumPageLimit = 100;
constexpr std::size_t defaultSearchLimit = 5;
constexpr std::size_t maximumSearchLimit = 25;
constexpr std::size_t topResultCount = 3;

using Kind = RenderedLibrary::Kind;
using CatalogKind = CatalogSearch::Kind;

struct PageRange {
    std::size_t offset = 0;
    std::size_t limit = defaultPageLimit;
};

void answerError(httplib::Response& response, int status, std::int64_t code, std::string_view detail) {
    response.status = status;
    response.set_content(errorBody(status, code, detail), jsonType);
}

std::optional<std::size_t> numberParameter(const httplib::Request& request, const char* name,
                                           std::size_t fallback) {
    if (!request.has_param(name)) {
        return fallback;
    }
    const std::string text = request.get_param_value(name);
    std::size_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

/// The requested range, or nothing after answering 400 for a bad offset or limit.
std::optional<PageRange> pageRange(const httplib::Request& request, httplib::Response& response) {
    const auto offset = numberParameter(request, "offset", 0);
    const auto limit = numberParameter(request, "limit", defaultPageLimit);
    if (!offset || !limit || *limit == 0 || *limit > maximumPageLimit) {
        answerError(response, 400, 40005,
                    "Parameters \"offset\" and \"limit\" must be whole numbers, limit 1 to 100.");
        return std::nullopt;
    }
    return PageRange{*offset, *limit};
}

std::vector<std::string_view> commaSeparated(std::string_view list) {
    std::vector<std::string_view> items;
    while (!list.empty()) {
        const auto comma = list.find(',');
        items.push_back(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return items;
}

/// Whether the comma-separated parameter `name` lists `value`.
bool lists(const httplib::Request& request, const char* name, std::string_view value) {
    const std::string list = request.get_param_value(name);
    const auto items = commaSeparated(list);
    return std::find(items.begin(), items.end(), value) != items.end();
}

bool includes(const httplib::Request& request, std::string_view relationship) {
    return lists(request, "include", relationship);
}

std::string_view catalogKindName(CatalogKind kind) {
    switch (kind) {
    case CatalogKind::artists:
        return "artists";
    case CatalogKind::albums:
        return "albums";
    case CatalogKind::playlists:
        return "playlists";
    case CatalogKind::songs:
        break;
    }
    return "songs";
}

/// The kinds a search asks for, each once, in the order given; nothing when a name is unknown.
std::optional<std::vector<CatalogKind>> searchKinds(std::string_view types) {
    std::vector<CatalogKind> kinds;
    for (const std::string_view name : commaSeparated(types)) {
        const auto all = {CatalogKind::playlists, CatalogKind::albums, CatalogKind::artists,
                          CatalogKind::songs};
        const auto kind =
            std::find_if(all.begin(), all.end(), [&](CatalogKind k) { return catalogKindName(k) == name; });
        if (kind == all.end()) {
            return std::nullopt;
        }
        if (std::find(kinds.begin(), kinds.end(), *kind) == kinds.end()) {
            kinds.push_back(*kind);
        }
    }
    return kinds;
}

std::string catalogResourceJSON(const DemoLibrary& library, const CatalogSearch::Hit& hit,
                                const std::string& baseURL) {
    switch (hit.kind) {
    case CatalogKind::artists:
        return catalogArtistJSON(library, hit.index, baseURL);
    case CatalogKind::albums:
        return catalogAlbumJSON(library, hit.index, baseURL);
    case CatalogKind::playlists:
        return catalogPlaylistJSON(library, hit.index, baseURL);
    case CatalogKind::songs:
        break;
    }
    return catalogSongJSON(library, hit.index, baseURL);
}

std::string resourceList(const DemoLibrary& library, const std::vector<CatalogSearch::Hit>& hits,
                         const std::string& baseURL) {
    std::string body = "{\"data\":[";
    for (const auto& hit : hits) {
        if (body.back() != '[') {
            body += ',';
        }
        body += catalogResourceJSON(library, hit, baseURL);
    }
    return body + "]}";
}

bool hasDemoTokens(const httplib::Request& request) {
    return request.get_header_value("Authorization") ==
               "Bearer " + std::string(DemoService::developerToken) &&
           request.get_header_value("Music-User-Token") == DemoService::userToken;
}

std::uint64_t nameHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

/// One page: a slice of `total` resources written by `appendItem(body, position)`, "next" while
/// more follow (unless `withoutNext`), and "meta"."total".
template <class AppendItem>
std::string pageBody(const httplib::Request& request, std::size_t total, PageRange range,
                     const std::optional<std::int64_t>& reportedTotal, bool emptyWithNext, bool withoutNext,
                     AppendItem appendItem) {
    const std::size_t begin = std::min(range.offset, total);
    const std::size_t end = emptyWithNext ? begin : std::min(total, begin + range.limit);
    std::string body;
    body.reserve((end - begin) * 1200 + 256);
    body += '{';
    if (emptyWithNext || (end < total && !withoutNext)) {
        body += "\"next\":" + Foundation::jsonQuoted(targetWithOffset(request.target, end)) + ',';
    }
    body += "\"data\":[";
    for (std::size_t position = begin; position < end; ++position) {
        if (position > begin) {
            body += ',';
        }
        appendItem(body, position);
    }
    body +=
        "],\"meta\":{\"total\":" + std::to_string(reportedTotal.value_or(static_cast<std::int64_t>(total))) +
        "}}";
    return body;
}

Kind listKind(std::string_view name) {
    if (name == "songs") {
        return Kind::songs;
    }
    if (name == "albums") {
        return Kind::albums;
    }
    return name == "artists" ? Kind::artists : Kind::playlists;
}

void cutBodyShort(httplib::Response& response) {
    auto body = std::make_shared<std::string>(std::move(response.body));
    response.body.clear();
    response.set_content_provider(body->size(), jsonType,
                                  [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                      sink.write(body->data(), body->size() / 2);
                                      return false;
                                  });
}

} // namespace

DemoService::DemoService(Options options)
    : options_(std::move(options))
    , library_(DemoLibrary::generate(options_.songCount, options_.seed)) {}

DemoService::~DemoService() {
    stop();
}

void DemoService::start() {
    if (server_) {
        return;
    }
    server_ = std::make_unique<httplib::Server>();
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(1000);
    // Idle keep-alive connections hold a server thread and delay stop() by this long.
    server_->set_keep_alive_timeout(1);
    port_ = bindPort();
    if (port_ <= 0) {
        server_.reset();
        throw std::runtime_error("The demo service cannot listen on " + options_.host + " port " +
                                 std::to_string(options_.port) + ".");
    }
    // Both only read the library, and each takes a good part of the start-up of a large one.
    auto catalogSearch =
        std::async(std::launch::async, [this] { return std::make_unique<CatalogSearch>(library_); });
    rendered_ = std::make_unique<RenderedLibrary>(library_, baseURL());
    catalogSearch_ = catalogSearch.get();
    registerRoutes();
    {
        std::lock_guard lock(mutex_);
        isStopping_ = false;
    }
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already listening.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int DemoService::bindPort() {
    if (options_.port != 0 && server_->bind_to_port(options_.host, options_.port)) {
        return options_.port;
    }
    if (options_.port == 0 || options_.freePortIfTaken) {
        return server_->bind_to_any_port(options_.host);
    }
    return -1;
}

void DemoService::stop() {
    if (!server_) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        isStopping_ = true;
    }
    stopping_.notify_all();
    server_->stop();
    listener_.join();
    server_.reset();
}

std::string DemoService::baseURL() const {
    return "http://" + options_.host + ":" + std::to_string(port_);
}

MusicKit::ServiceConfiguration DemoService::configuration() const {
    MusicKit::ServiceConfiguration configuration;
    configuration.apiBase = baseURL();
    configuration.developerToken = developerToken;
    configuration.userToken = userToken;
    configuration.storefront = storefront;
    return configuration;
}

void DemoService::injectFault(std::size_t requestNumber, DemoFault fault) {
    std::lock_guard lock(mutex_);
    faults_.emplace(requestNumber, fault);
}

void DemoService::reset() {
    std::lock_guard lock(mutex_);
    faults_.clear();
    requestedTargets_.clear();
    requestedArtwork_.clear();
}

std::vector<std::string> DemoService::requestedTargets() const {
    std::lock_guard lock(mutex_);
    return requestedTargets_;
}

std::vector<std::string> DemoService::requestedArtwork() const {
    std::lock_guard lock(mutex_);
    return requestedArtwork_;
}

void DemoService::registerRoutes() {
    feedbackMailbox_.registerRoute(*server_);
    usageSignalInbox_.registerRoute(*server_);
    server_->Get("/v1/me/storefront", [this](const httplib::Request& request, httplib::Response& response) {
        serveAPI(request, response, [](const httplib::Request&, httplib::Response& answer, Page&) {
            answer.set_content(
                "{\"data\":[{\"id\":\"us\",\"type\":\"storefronts\",\"href\":\"/v1/storefronts/us\","
                "\"attributes\":{\"name\":\"United States\",\"defaultLanguageTag\":\"en-US\"}}]}",
                jsonType);
        });
    });
    server_->Get(R"(/v1/me/library/(songs|albums|artists|playlists))",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     serveAPI(request, response,
                              [this](const auto& req, auto& res, Page& page) { serveList(req, res, page); });
                 });
    server_->Get(
        R"(/v1/me/library/(playlists|albums)/([^/]+)/tracks|/v1/me/library/(artists)/([^/]+)/albums)",
        [this](const httplib::Request& request, httplib::Response& response) {
            serveAPI(request, response,
                     [this](const auto& req, auto& res, Page& page) { serveContainer(req, res, page); });
        });
    server_->Get(R"(/v1/catalog/([^/]+)/search)", [this](const httplib::Request& request,
                                                         httplib::Response& response) {
        serveAPI(request, response, [this](const auto& req, auto& res, Page&) { serveSearch(req, res); });
    });
    server_->Post("/v1/me/library", [this](const httplib::Request& request, httplib::Response& response) {
        serveAPI(request, response, [this](const auto& req, auto& res, Page&) { serveAdd(req, res); });
    });
    server_->Get(R"(/artwork/([^/]+)/(\d+)x(\d+)\.png)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     serveArtwork(request, response);
                 });
    const ServeAPI serveAnswer = [this](const httplib::Request& request, httplib::Response& response,
                                        const APIAnswer& answer) {
        serveAPI(request, response, [&](const auto& req, auto& res, Page&) { answer(req, res); });
    };
    registerPlaybackRoutes(*server_, {library_, libraryMutex_, *rendered_, baseURL()}, serveAnswer);
    registerArtistTopSongsRoute(*server_, {library_, libraryMutex_, *rendered_, baseURL()}, serveAnswer);
}

std::vector<DemoFault> DemoService::beginRequest(const httplib::Request& request) {
    std::lock_guard lock(mutex_);
    requestedTargets_.push_back(request.target);
    std::vector<DemoFault> faults;
    const auto [first, last] = faults_.equal_range(requestedTargets_.size());
    for (auto entry = first; entry != last; ++entry) {
        faults.push_back(entry->second);
    }
    return faults;
}

bool DemoService::waitUnlessStopping(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    return !stopping_.wait_for(lock, delay, [this] { return isStopping_; });
}

void DemoService::serveAPI(
    const httplib::Request& request, httplib::Response& response,
    const std::function<void(const httplib::Request&, httplib::Response&, Page&)>& answer) {
    const std::vector<DemoFault> faults = beginRequest(request);
    Page page;
    for (const DemoFault& fault : faults) {
        if (fault.kind == DemoFault::Kind::delay && !waitUnlessStopping(fault.delay)) {
            answerError(response, 503, 50300, "The service is shutting down.");
            return;
        }
    }
    if (!hasDemoTokens(request)) {
        answerError(response, 401, 40100, "The developer token or the user token is missing or not valid.");
        return;
    }
    for (const DemoFault& fault : faults) {
        if (fault.kind == DemoFault::Kind::errorAnswer) {
            answerError(response, fault.status, fault.code, "An injected failure.");
            return;
        }
        if (fault.kind == DemoFault::Kind::changedTotal) {
            page.reportedTotal = fault.total;
        }
        page.emptyWithNext = page.emptyWithNext || fault.kind == DemoFault::Kind::emptyPageWithNext;
        page.withoutNext = page.withoutNext || fault.kind == DemoFault::Kind::pageWithoutNext;
    }
    answer(request, response, page);
    for (const DemoFault& fault : faults) {
        if (fault.kind == DemoFault::Kind::malformedJSON) {
            response.body.resize(response.body.size() / 2);
        } else if (fault.kind == DemoFault::Kind::truncatedBody) {
            cutBodyShort(response);
        }
    }
}

void DemoService::serveList(const httplib::Request& request, httplib::Response& response, Page& page) const {
    if (request.has_param("ids")) {
        serveLookup(request, response);
        return;
    }
    const std::shared_lock lock(libraryMutex_);
    const Kind kind = listKind(request.matches[1].str());
    const std::string sort = request.get_param_value("sort");
    if (!sort.empty() && sort != "-dateAdded") {
        answerError(response, 400, 40005, "The only sort order is \"-dateAdded\".");
        return;
    }
    const auto range = pageRange(request, response);
    if (!range) {
        return;
    }
    const bool newestFirst = !sort.empty();
    const bool withRelationships = kind == Kind::songs
                                       ? includes(request, "artists") || includes(request, "albums")
                                       : kind == Kind::artists && includes(request, "catalog");
    response.set_content(pageBody(request, rendered_->count(kind), *range, page.reportedTotal,
                                  page.emptyWithNext, page.withoutNext,
                                  [&](std::string& body, std::size_t position) {
                                      rendered_->append(body, kind,
                                                        rendered_->indexAt(kind, position, newestFirst),
                                                        withRelationships);
                                  }),
                         jsonType);
}

void DemoService::serveContainer(const httplib::Request& request, httplib::Response& response,
                                 Page& page) const {
    const bool isArtist = request.matches[3].matched;
    const std::string containerKind = isArtist ? request.matches[3].str() : request.matches[1].str();
    const std::string id = isArtist ? request.matches[4].str() : request.matches[2].str();
    const std::shared_lock lock(libraryMutex_);
    const std::vector<std::size_t>* members = nullptr;
    if (containerKind == "playlists") {
        const auto index = rendered_->index(Kind::playlists, id);
        members = index ? &library_.playlists[*index].tracks : nullptr;
    } else if (containerKind == "albums") {
        const auto index = rendered_->index(Kind::albums, id);
        members = index ? &library_.albums[*index].songs : nullptr;
    } else {
        const auto index = rendered_->index(Kind::artists, id);
        members = index ? &library_.artists[*index].albums : nullptr;
    }
    if (!members) {
        answerError(response, 404, 40400, "No library item has this identifier.");
        return;
    }
    if (members->empty()) {
        answerError(response, 404, 40403, "The library item has no related resources of this kind.");
        return;
    }
    const auto range = pageRange(request, response);
    if (!range) {
        return;
    }
    const Kind memberKind = isArtist ? Kind::albums : Kind::songs;
    response.set_content(pageBody(request, members->size(), *range, page.reportedTotal, page.emptyWithNext,
                                  page.withoutNext,
                                  [&](std::string& body, std::size_t position) {
                                      rendered_->append(body, memberKind, (*members)[position], false);
                                  }),
                         jsonType);
}

void DemoService::serveLookup(const httplib::Request& request, httplib::Response& response) const {
    const Kind kind = listKind(request.matches[1].str());
    const std::string ids = request.get_param_value("ids");
    const std::shared_lock lock(libraryMutex_);
    std::string body = "{\"data\":[";
    for (const std::string_view id : commaSeparated(ids)) {
        if (const auto index = rendered_->index(kind, id)) {
            if (body.back() != '[') {
                body += ',';
            }
            rendered_->append(body, kind, *index, false);
        }
    }
    response.set_content(body + "]}", jsonType);
}

void DemoService::serveSearch(const httplib::Request& request, httplib::Response& response) const {
    if (request.matches[1].str() != storefront) {
        answerError(response, 404, 40400, "No storefront has this identifier.");
        return;
    }
    const std::string term = request.get_param_value("term");
    const auto kinds = searchKinds(request.get_param_value("types"));
    const auto limit = numberParameter(request, "limit", defaultSearchLimit);
    if (term.empty() || !kinds || kinds->empty() || !limit || *limit == 0 || *limit > maximumSearchLimit) {
        answerError(response, 400, 40005,
                    "Parameter \"term\" must not be empty, \"types\" must list playlists, albums, artists or "
                    "songs, and \"limit\" must be 1 to 25.");
        return;
    }
    std::string body = "{\"results\":{";
    std::vector<CatalogSearch::Hit> allHits;
    for (const CatalogKind kind : *kinds) {
        const auto hits = catalogSearch_->hits(kind, term, *limit);
        if (hits.empty()) {
            continue;
        }
        if (body.back() != '{') {
            body += ',';
        }
        body += '"' + std::string(catalogKindName(kind)) + "\":" + resourceList(library_, hits, baseURL());
        allHits.insert(allHits.end(), hits.begin(), hits.end());
    }
    if (lists(request, "with", "topResults") && !allHits.empty()) {
        body += ",\"top\":" +
                resourceList(library_, CatalogSearch::best(std::move(allHits), topResultCount), baseURL());
    }
    response.set_content(body + "}}", jsonType);
}

void DemoService::serveAdd(const httplib::Request& request, httplib::Response& response) {
    const std::string id = request.get_param_value("ids[songs]");
    if (id.empty()) {
        answerError(response, 400, 40005, "Parameter \"ids[songs]\" must name a catalog song.");
        return;
    }
    const auto catalogSong = library_.catalogSongIndex(id);
    if (!catalogSong) {
        answerError(response, 404, 40400, "No catalog song has this identifier.");
        return;
    }
    const std::unique_lock lock(libraryMutex_);
    // Newer than every song so far, even when the clock says otherwise: the song is the newest.
    std::int64_t dateAdded =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    if (!library_.songs.empty()) {
        dateAdded =
            std::max(dateAdded, library_.songs[rendered_->indexAt(Kind::songs, 0, true)].dateAdded + 1);
    }
    if (const auto addition = library_.addCatalogSong(*catalogSong, dateAdded)) {
        rendered_->add(library_, *addition);
    }
    response.status = 202;
}

void DemoService::serveArtwork(const httplib::Request& request, httplib::Response& response) {
    {
        std::lock_guard lock(mutex_);
        requestedArtwork_.push_back(request.path);
    }
    const auto width = std::stoul(request.matches[2].str().substr(0, 5));
    const auto height = std::stoul(request.matches[3].str().substr(0, 5));
    if (width == 0 || height == 0 || width > 4096 || height > 4096) {
        response.status = 400;
        return;
    }
    response.set_content(makeGradientPNG(static_cast<std::uint32_t>(width),
                                         static_cast<std::uint32_t>(height),
                                         nameHash(request.matches[1].str())),
                         "image/png");
}

} // namespace DemoService
