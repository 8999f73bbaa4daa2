#pragma once

#include <chrono>
#include <cstdlib>
#include <deque>
#include <httplib.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace UsageStatsTesting {

/// An ingestion endpoint on 127.0.0.1 that records every POST and answers with the queued status codes
/// (200 once the queue is empty).
class LoopbackIngestServer {
public:
    struct ReceivedRequest {
        std::string path;
        std::string contentType;
        std::string body;
    };

    LoopbackIngestServer() {
        // A proxy from the environment would take the loopback requests elsewhere.
        for (const char* variable :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
            ::unsetenv(variable);
        }
        server_.Post(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard lock(mutex_);
            received_.push_back({request.path, request.get_header_value("Content-Type"), request.body});
            response.status = statuses_.empty() ? 200 : statuses_.front();
            if (!statuses_.empty()) {
                statuses_.pop_front();
            }
            response.set_content("{}", "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int attempt = 0; attempt < 500 && !server_.is_running(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    ~LoopbackIngestServer() {
        server_.stop();
        thread_.join();
    }

    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void answerNext(std::initializer_list<int> statuses) {
        std::lock_guard lock(mutex_);
        statuses_.insert(statuses_.end(), statuses);
    }

    std::vector<ReceivedRequest> received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::deque<int> statuses_;
    std::vector<ReceivedRequest> received_;
};

} // namespace UsageStatsTesting
