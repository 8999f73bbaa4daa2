#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <httplib.h>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace UsageStatsTesting {

/// An ingestion endpoint on 127.0.0.1 that records every POST as it arrives and answers with the queued
/// status codes (200 once the queue is empty), after holding the request when told to.
class LoopbackIngestServer {
public:
    struct ReceivedRequest {
        std::string path;
        std::string contentType;
        std::string body;

        /// The type of each signal in the posted batch, in order.
        std::vector<std::string> signalTypes() const {
            std::vector<std::string> types;
            for (const auto& record : nlohmann::json::parse(body)) {
                types.push_back(record["type"]);
            }
            return types;
        }
    };

    LoopbackIngestServer() {
        // A proxy from the environment would take the loopback requests elsewhere.
        for (const char* variable :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
            ::unsetenv(variable);
        }
        server_.Post(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
            std::unique_lock lock(mutex_);
            received_.push_back({request.path, request.get_header_value("Content-Type"), request.body});
            changed_.notify_all();
            response.status = statuses_.empty() ? 200 : statuses_.front();
            if (!statuses_.empty()) {
                statuses_.pop_front();
            }
            const auto hold = std::exchange(nextHold_, std::chrono::milliseconds{0});
            changed_.wait_for(lock, hold, [this] { return closing_; });
            response.set_content("{}", "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int attempt = 0; attempt < 500 && !server_.is_running(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    ~LoopbackIngestServer() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        server_.stop();
        thread_.join();
    }

    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void answerNext(std::initializer_list<int> statuses) {
        std::lock_guard lock(mutex_);
        statuses_.insert(statuses_.end(), statuses);
    }

    /// The next request waits this long (or until the server closes) before it is answered.
    void holdNext(std::chrono::milliseconds hold) {
        std::lock_guard lock(mutex_);
        nextHold_ = hold;
    }

    std::vector<ReceivedRequest> received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

    /// Whether `count` requests have arrived within five seconds.
    bool waitForRequests(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return received_.size() >= count; });
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool closing_ = false;
    std::chrono::milliseconds nextHold_{0};
    std::deque<int> statuses_;
    std::vector<ReceivedRequest> received_;
};

} // namespace UsageStatsTesting
