#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace DemoService::Testing {

/// A loopback TCP relay in front of an HTTP server that holds back the answer to each request whose path
/// starts with a chosen prefix, as a slow network would: the request reaches the server at once, the answer's
/// first bytes reach the client only the chosen time after the request. Every connection to the relay gets
/// one to the server; the bytes pass unchanged (the Host header too), so a server that builds addresses from
/// the Host it was asked at hands out addresses through the relay. A request body is relayed by its
/// Content-Length; chunked request bodies and pipelined requests are not understood.
///
/// Serves on threads of its own from construction to destruction; the destructor cuts waits and connections
/// short. delay() may be called from any thread and applies to requests that arrive after it.
class DelayingRelay {
public:
    /// Listens on a free loopback port for the server at 127.0.0.1:`upstreamPort`. Throws
    /// std::system_error when it cannot listen.
    explicit DelayingRelay(int upstreamPort);
    ~DelayingRelay();
    DelayingRelay(const DelayingRelay&) = delete;
    DelayingRelay& operator=(const DelayingRelay&) = delete;

    /// Holds back the answers to requests whose path starts with `pathPrefix` for `delay`; a later call
    /// replaces it, a zero delay passes everything at once.
    void delay(std::string pathPrefix, std::chrono::milliseconds delay);
    /// "http://127.0.0.1:port", without a trailing slash.
    std::string baseURL() const;

    /// The port of an address "http://host:port".
    static int portOf(const std::string& baseURL);

private:
    struct Connection;

    void acceptConnections();
    void relay(int client);
    void forwardRequests(Connection& connection);
    void forwardAnswers(Connection& connection);
    /// When the answer to a request for `path` may start; none for at once.
    std::optional<std::chrono::steady_clock::time_point> answerStart(std::string_view path) const;

    int upstreamPort_;
    int listener_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable closing_;
    bool isClosing_ = false;
    std::string delayedPrefix_;
    std::chrono::milliseconds delay_{0};
    std::vector<std::unique_ptr<Connection>> connections_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

} // namespace DemoService::Testing
