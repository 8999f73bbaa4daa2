#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace httplib {
class Server;
} // namespace httplib

namespace DemoService {

/// The usage-statistics ingestion endpoint: takes the signal batches posted to "/v2/" and
/// "/v2/namespace/<name>/", keeps the most recent `capacity` signals and answers 200. A body that is not a
/// JSON array of signal records is refused whole with 400. Any thread.
class UsageSignalInbox {
public:
    static constexpr std::size_t capacity = 500;

    struct Signal {
        /// Empty for "/v2/".
        std::string namespaceName;
        std::string appID;
        std::string type;
        std::string clientUser;
        std::string sessionID;
    };

    /// The signals received so far, oldest first, at most `capacity`.
    std::vector<Signal> signals() const;

    void registerRoute(httplib::Server& server);

private:
    void receive(std::vector<Signal> batch);

    mutable std::mutex mutex_;
    std::deque<Signal> signals_;
};

} // namespace DemoService
