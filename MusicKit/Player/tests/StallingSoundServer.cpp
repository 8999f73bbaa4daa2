#include "StallingSoundServer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace MusicKit::Testing {
namespace {

/// False once the peer has closed its end or the connection has failed.
bool discardInput(int socket) {
    char chunk[4096];
    ssize_t received = 0;
    do {
        received = ::recv(socket, chunk, sizeof chunk, MSG_DONTWAIT);
    } while (received < 0 && errno == EINTR);
    return received > 0 || (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
}

} // namespace

StallingSoundServer::StallingSoundServer(std::filesystem::path socketPath, std::chrono::milliseconds hold)
    : socketPath_(std::move(socketPath))
    , hold_(hold) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath_.string();
    if (path.size() >= sizeof address.sun_path) {
        throw std::system_error(ENAMETOOLONG, std::generic_category(), "sound server socket path");
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int wake[2];
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, SOMAXCONN) != 0 || ::pipe2(wake, O_CLOEXEC) != 0) {
        const int error = errno;
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::system_error(error, std::generic_category(), "sound server listen");
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    thread_ = std::thread([this] { serve(); });
}

StallingSoundServer::~StallingSoundServer() {
    const char stop = 0;
    while (::write(wakeWrite_, &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
    for (const HeldConnection& connection : held_) {
        ::close(connection.socket);
    }
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
    std::filesystem::remove(socketPath_);
}

std::string StallingSoundServer::addressAt(const std::filesystem::path& socketPath) {
    return "unix:" + socketPath.string();
}

int StallingSoundServer::connectionCount() const {
    std::lock_guard lock(countMutex_);
    return connectionCount_;
}

void StallingSoundServer::serve() {
    while (true) {
        std::vector<pollfd> watched{{wakeRead_, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const HeldConnection& connection : held_) {
            watched.push_back({connection.socket, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), millisecondsToNextClosing()) < 0 && errno != EINTR) {
            return;
        }
        if (watched[0].revents != 0) {
            return;
        }
        std::vector<bool> ready;
        for (std::size_t index = 2; index < watched.size(); ++index) {
            ready.push_back(watched[index].revents != 0);
        }
        tendConnections(ready);
        if ((watched[1].revents & POLLIN) != 0) {
            acceptConnection();
        }
    }
}

void StallingSoundServer::acceptConnection() {
    const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) {
        return;
    }
    held_.push_back({socket, std::chrono::steady_clock::now() + hold_});
    std::lock_guard lock(countMutex_);
    ++connectionCount_;
}

void StallingSoundServer::tendConnections(const std::vector<bool>& ready) {
    const auto now = std::chrono::steady_clock::now();
    std::vector<HeldConnection> kept;
    for (std::size_t index = 0; index < held_.size(); ++index) {
        const HeldConnection& connection = held_[index];
        const bool clientStays = !ready[index] || discardInput(connection.socket);
        if (clientStays && connection.closing > now) {
            kept.push_back(connection);
        } else {
            ::close(connection.socket);
        }
    }
    held_ = std::move(kept);
}

int StallingSoundServer::millisecondsToNextClosing() const {
    using std::chrono::milliseconds;
    milliseconds wait(1000);
    const auto now = std::chrono::steady_clock::now();
    for (const HeldConnection& connection : held_) {
        wait = std::min(wait, std::chrono::ceil<milliseconds>(connection.closing - now));
    }
    return static_cast<int>(std::max(wait, milliseconds(0)).count());
}

} // namespace MusicKit::Testing
