#include "DemoService/DemoService.h"

#include "PNGImage.h"
#include "RenderedLibrary.h"
#include "ServiceAnswers.h"

#include <Foundation/JSONText.h>
#include <algorithm>
#include <charconv>
#include <httplib.h>
#include <stdexcept>

namespace DemoService {

/// How the page of the current request departs from the library, by injected faults.
struct DemoService::Page {
    std::optional<std::int64_t> reportedTotal;
    bool emptyWithNext = false;
};

namespace {

constexpr const char* jsonType = "application/json";
constexpr std::size_t defaultPageLimit = 25;
constexpr std::size_t maximumPageLimit = 100;

using Kind = RenderedLibrary::Kind;

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
    if (text.empty() || status != std::errc() || end != text.data() + text.size()) {
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

bool includes(const httplib::Request& request, std::string_view relationship) {
    const std::string include = request.get_param_value("include");
    std::string_view rest = include;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        if (rest.substr(0, comma) == relationship) {
            return true;
        }
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return false;
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
/// more follow, and "meta"."total".
template <class AppendItem>
std::string pageBody(const httplib::Request& request, std::size_t total, PageRange range,
                     const std::optional<std::int64_t>& reportedTotal, bool emptyWithNext,
                     AppendItem appendItem) {
    const std::size_t begin = std::min(range.offset, total);
    const std::size_t end = emptyWithNext ? begin : std::min(total, begin + range.limit);
    std::string body;
    body.reserve((end - begin) * 1200 + 256);
    body += '{';
    if (emptyWithNext || end < total) {
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
    port_ = options_.port == 0 ? server_->bind_to_any_port(options_.host)
                               : (server_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
    if (port_ <= 0) {
        server_.reset();
        throw std::runtime_error("The demo service cannot listen on " + options_.host + " port " +
                                 std::to_string(options_.port) + ".");
    }
    rendered_ = std::make_unique<RenderedLibrary>(library_, baseURL());
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

int DemoService::port() const {
    return port_;
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
}

std::vector<std::string> DemoService::requestedTargets() const {
    std::lock_guard lock(mutex_);
    return requestedTargets_;
}

void DemoService::registerRoutes() {
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
    server_->Get(R"(/artwork/([^/]+)/(\d+)x(\d+)\.png)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     serveArtwork(request, response);
                 });
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
    response.set_content(
        pageBody(request, rendered_->count(kind), *range, page.reportedTotal, page.emptyWithNext,
                 [&](std::string& body, std::size_t position) {
                     rendered_->append(body, kind, rendered_->indexAt(kind, position, newestFirst),
                                       withRelationships);
                 }),
        jsonType);
}

void DemoService::serveContainer(const httplib::Request& request, httplib::Response& response,
                                 Page& page) const {
    const bool isArtist = request.matches[3].matched;
    const std::string containerKind = isArtist ? request.matches[3].str() : request.matches[1].str();
    const std::string id = isArtist ? request.matches[4].str() : request.matches[2].str();
    const std::vector<std::size_t>* members = nullptr;
    if (containerKind == "playlists") {
        const auto index = rendered_->playlistIndex(id);
        members = index ? &library_.playlists[*index].tracks : nullptr;
    } else if (containerKind == "albums") {
        const auto index = rendered_->albumIndex(id);
        members = index ? &library_.albums[*index].songs : nullptr;
    } else {
        const auto index = rendered_->artistIndex(id);
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
                                  [&](std::string& body, std::size_t position) {
                                      rendered_->append(body, memberKind, (*members)[position], false);
                                  }),
                         jsonType);
}

void DemoService::serveArtwork(const httplib::Request& request, httplib::Response& response) const {
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
