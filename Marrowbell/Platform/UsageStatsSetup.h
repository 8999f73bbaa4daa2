#pragma once

#include <memory>
#include <optional>
#include <string>

namespace Marrowbell {

class QtLifecycleEvents;

/// Starts UsageStats for the application on the Qt platform pieces (GUI-thread executor, lifecycle from the
/// application state and `aboutToQuit`, screen facts), with the application's usage-statistics identifier,
/// uploading to `baseURL` when given and to the client's own ingestion address otherwise. The cache is saved
/// at `aboutToQuit`; the destructor stops the client. Create on the GUI thread after the QGuiApplication.
class UsageStatsSetup final {
public:
    /// The application's identifier at the usage-statistics service.
    static constexpr const char* appID = "7C4E19A2-D35B-4F60-8E27-1B9A0C6D5F48";

    explicit UsageStatsSetup(std::optional<std::string> baseURL);
    ~UsageStatsSetup();
    UsageStatsSetup(const UsageStatsSetup&) = delete;
    UsageStatsSetup& operator=(const UsageStatsSetup&) = delete;

private:
    std::unique_ptr<QtLifecycleEvents> lifecycle_;
};

} // namespace Marrowbell
