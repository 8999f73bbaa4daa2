#include "DemoService/DelayingRelay.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace DemoService::Testing {
namespace {

constexpr std::string_view headEnd = "\r\n\r\n";

[[noreturn]] void throwSocketError(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

sockaddr_in loopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool sendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

/// Appends what the socket has next; false at its end or on failure.
bool receiveMore(int socket, std::string& buffer) {
    char chunk[16 * 1024];
    ssize_t received = 0;
    do {
        received = ::recv(socket, chunk, sizeof chunk, 0);
    } while (received < 0 && errno == EINTR);
    if (received <= 0) {
        return false;
    }
    buffer.append(chunk, static_cast<std::size_t>(received));
    return true;
}

/// The target of the request line "METHOD target VERSION".
std::string_view requestPath(std::string_view head) {
    const std::size_t start = head.find(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    const std::size_t end = head.find(' ', start + 1);
    return head.substr(start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1);
}

std::size_t contentLength(std::string_view head) {
    std::string lowered(head);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::string_view name = "\r\ncontent-length:";
    const std::size_t found = lowered.find(name);
    if (found == std::string::npos) {
        return 0;
    }
    std::size_t position = found + name.size();
    while (position < lowered.size() && lowered[position] == ' ') {
        ++position;
    }
    std::size_t length = 0;
    for (; position < lowered.size() && std::isdigit(static_cast<unsigned char>(lowered[position]));
         ++position) {
        length = length * 10 + static_cast<std::size_t>(lowered[position] - '0');
    }
    return length;
}

} // namespace

struct DelayingRelay::Connection {
    int client;
    int upstream;
    /// When the answer the server gives next may start passing; guarded by the relay's mutex.
    std::optional<std::chrono::steady_clock::time_point> answerStart;
};

DelayingRelay::DelayingRelay(int upstreamPort)
    : upstreamPort_(upstreamPort) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        throwSocketError("relay socket");
    }
    sockaddr_in address = loopbackAddress(0);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, SOMAXCONN) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const int error = errno;
        ::close(listener_);
        throw std::system_error(error, std::generic_category(), "relay listen");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptConnections(); });
}

DelayingRelay::~DelayingRelay() {
    {
        std::lock_guard lock(mutex_);
        isClosing_ = true;
    }
    closing_.notify_all();
    // Wakes the blocked accept(); no connection is added after the acceptor has ended.
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    for (const auto& connection : connections_) {
        ::shutdown(connection->client, SHUT_RDWR);
        ::shutdown(connection->upstream, SHUT_RDWR);
    }
    for (std::thread& thread : threads_) {
        thread.join();
    }
    for (const auto& connection : connections_) {
        ::close(connection->client);
        ::close(connection->upstream);
    }
    ::close(listener_);
}

void DelayingRelay::delay(std::string pathPrefix, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delayedPrefix_ = std::move(pathPrefix);
    delay_ = delay;
}

std::string DelayingRelay::baseURL() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

int DelayingRelay::portOf(const std::string& baseURL) {
    return std::stoi(baseURL.substr(baseURL.rfind(':') + 1));
}

void DelayingRelay::acceptConnections() {
    while (true) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0 && errno == EINTR) {
            continue;
        }
        std::lock_guard lock(mutex_);
        if (client < 0 || isClosing_) {
            if (client >= 0) {
                ::close(client);
            }
            return;
        }
        relay(client);
    }
}

void DelayingRelay::relay(int client) {
    const int upstream = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopbackAddress(upstreamPort_);
    if (upstream < 0 ||
        ::connect(upstream, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        // The client sees its connection closed, as with a server that is down.
        if (upstream >= 0) {
            ::close(upstream);
        }
        ::close(client);
        return;
    }
    Connection& connection =
        *connections_.emplace_back(std::make_unique<Connection>(Connection{client, upstream, std::nullopt}));
    threads_.emplace_back([this, &connection] { forwardRequests(connection); });
    threads_.emplace_back([this, &connection] { forwardAnswers(connection); });
}

void DelayingRelay::forwardRequests(Connection& connection) {
    std::string buffer;
    std::size_t bodyLeft = 0;
    while (true) {
        if (bodyLeft > 0 && !buffer.empty()) {
            const std::size_t count = std::min(bodyLeft, buffer.size());
            if (!sendAll(connection.upstream, std::string_view(buffer).substr(0, count))) {
                break;
            }
            buffer.erase(0, count);
            bodyLeft -= count;
            continue;
        }
        if (const std::size_t end = buffer.find(headEnd); bodyLeft == 0 && end != std::string::npos) {
            const std::string head = buffer.substr(0, end + headEnd.size());
            buffer.erase(0, head.size());
            {
                // Set before the server can answer, so that no byte of the answer slips through early.
                const auto start = answerStart(requestPath(head));
                std::lock_guard lock(mutex_);
                connection.answerStart = start;
            }
            if (!sendAll(connection.upstream, head)) {
                break;
            }
            bodyLeft = contentLength(head);
            continue;
        }
        if (!receiveMore(connection.client, buffer)) {
            break;
        }
    }
    ::shutdown(connection.upstream, SHUT_WR);
}

void DelayingRelay::forwardAnswers(Connection& connection) {
    std::string buffer;
    while (receiveMore(connection.upstream, buffer)) {
        {
            std::unique_lock lock(mutex_);
            if (connection.answerStart &&
                closing_.wait_until(lock, *connection.answerStart, [this] { return isClosing_; })) {
                break;
            }
            connection.answerStart.reset();
        }
        if (!sendAll(connection.client, buffer)) {
            break;
        }
        buffer.clear();
    }
    ::shutdown(connection.client, SHUT_WR);
}

std::optional<std::chrono::steady_clock::time_point> DelayingRelay::answerStart(std::string_view path) const {
    std::lock_guard lock(mutex_);
    if (delay_.count() <= 0 || !path.starts_with(delayedPrefix_)) {
        return std::nullopt;
    }
    return std::chrono::steady_clock::now() + delay_;
}

} // namespace DemoService::Testing
