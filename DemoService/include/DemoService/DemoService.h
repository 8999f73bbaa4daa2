#pragma once

#include "DemoService/DemoFault.h"
#include "DemoService/DemoLibrary.h"
#include "DemoService/FeedbackMailbox.h"
#include "DemoService/UsageSignalInbox.h"

#include <MusicKit/ServiceConfiguration.h>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace DemoService {

class CatalogSearch;
class RenderedLibrary;

/// A stand-in for the music service's web API, serving a generated library over HTTP.
///
/// Answers the library listings, lookups by identifier and container track lists under
/// "/v1/me/library", the request that adds a catalog song to the library, the catalog search, the
/// user's storefront, and artwork images under "/artwork"; every API path needs the demo tokens.
/// Requests to the API are numbered from 1 (artwork is not counted), and faults can be planned for
/// any number. start() and stop() belong to the owner; the other members may be called from any
/// thread, but what library() refers to changes while an add request is served.
class DemoService {
public:
    static constexpr std::string_view developerToken = "marrowbell-demo-developer-token";
    static constexpr std::string_view userToken = "marrowbell-demo-user-token";
    static constexpr std::string_view storefront = "us";

    struct Options {
        std::size_t songCount = 1000;
        std::uint64_t seed = 1;
        std::string host = "127.0.0.1";
        /// 0 picks a free port.
        int port = 0;
        /// When `port` is taken, pick a free one instead of failing.
        bool freePortIfTaken = false;
    };

    explicit DemoService(Options options);
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    /// Binds the port and serves on a thread of its own. Throws std::runtime_error when the port
    /// cannot be bound.
    void start();
    /// Stops serving; waits for requests under way, cutting injected delays short.
    void stop();

    /// "http://host:port", without a trailing slash.
    std::string baseURL() const;
    /// The port served on, once started.
    int port() const { return port_; }
    /// The configuration that reaches this service with its tokens.
    MusicKit::ServiceConfiguration configuration() const;
    /// Read it only while no add request is under way: songs added to the library stay until the
    /// service is destroyed.
    const DemoLibrary& library() const { return library_; }

    /// Plans `fault` for the request with number `requestNumber`; several faults may share a number.
    void injectFault(std::size_t requestNumber, DemoFault fault);
    /// Forgets the planned faults and the request logs, and numbers the next request 1 again.
    void reset();
    /// The path and query of every API request so far, in arrival order.
    std::vector<std::string> requestedTargets() const;
    /// The path of every artwork request so far, in arrival order.
    std::vector<std::string> requestedArtwork() const;
    /// The e-mail endpoint "/email" with the mails it received.
    FeedbackMailbox& feedbackMailbox() { return feedbackMailbox_; }
    /// The usage-statistics ingestion endpoint under "/v2/" with the signals it received.
    const UsageSignalInbox& usageSignalInbox() const { return usageSignalInbox_; }

private:
    struct Page;

    void registerRoutes();
    void serveAPI(const httplib::Request& request, httplib::Response& response,
                  const std::function<void(const httplib::Request&, httplib::Response&, Page&)>& answer);
    void serveList(const httplib::Request& request, httplib::Response& response, Page& page) const;
    void serveContainer(const httplib::Request& request, httplib::Response& response, Page& page) const;
    void serveLookup(const httplib::Request& request, httplib::Response& response) const;
    void serveSearch(const httplib::Request& request, httplib::Response& response) const;
    void serveAdd(const httplib::Request& request, httplib::Response& response);
    void serveArtwork(const httplib::Request& request, httplib::Response& response);
    std::vector<DemoFault> beginRequest(const httplib::Request& request);
    bool waitUnlessStopping(std::chrono::milliseconds delay);
    /// The port bound, or -1.
    int bindPort();

    Options options_;
    DemoLibrary library_;
    std::unique_ptr<RenderedLibrary> rendered_;
    std::unique_ptr<CatalogSearch> catalogSearch_;
    /// Shared by the requests that read the library, held alone by the one that adds to it. The
    /// catalog never changes.
    mutable std::shared_mutex libraryMutex_;
    std::unique_ptr<httplib::Server> server_;
    std::thread listener_;
    int port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    bool isStopping_ = false;
    std::multimap<std::size_t, DemoFault> faults_;
    std::vector<std::string> requestedTargets_;
    std::vector<std::string> requestedArtwork_;
    FeedbackMailbox feedbackMailbox_;
    UsageSignalInbox usageSignalInbox_;
};

} // namespace DemoService
