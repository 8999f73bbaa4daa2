#pragma once

#include "UsageStats/HttpTransport.h"
#include "UsageStats/LogHandler.h"
#include "UsageStats/Parameters.h"
#include "UsageStats/PlatformServices.h"
#include "UsageStats/SignalEnricher.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace UsageStats {

/// Every setting of the client, shared (not copied) between the manager, its parts and the application.
/// The first four are fixed at construction; the rest may change at any time and later signals see the
/// change. Every member is safe to call from any thread: each field is read and written under a lock, and
/// functions and objects the configuration holds are called outside it.
class UsageStatsConfiguration {
public:
    using DefaultParametersFunction = std::function<Parameters()>;

    /// The service's own address, used when no base URL is given.
    static constexpr const char* defaultBaseURL = "https://usagestats.example.com";

    explicit UsageStatsConfiguration(std::string appID, std::optional<std::string> salt = std::nullopt,
                                     std::optional<std::string> baseURL = std::nullopt,
                                     std::optional<std::string> namespaceName = std::nullopt);

    const std::string& usageStatsAppID() const { return usageStatsAppID_; }
    const std::string& apiBaseURL() const { return apiBaseURL_; }
    const std::optional<std::string>& namespaceName() const { return namespace_; }
    const std::string& salt() const { return salt_; }

    std::optional<std::string> defaultUser() const;
    void setDefaultUser(std::optional<std::string> user);
    std::optional<std::string> defaultSignalPrefix() const;
    void setDefaultSignalPrefix(std::optional<std::string> prefix);
    std::optional<std::string> defaultParameterPrefix() const;
    void setDefaultParameterPrefix(std::optional<std::string> prefix);
    /// Called once per signal, on the thread that sends it.
    DefaultParametersFunction defaultParameters() const;
    void setDefaultParameters(DefaultParametersFunction function);
    bool sendNewSessionBeganSignal() const;
    void setSendNewSessionBeganSignal(bool send);

    std::string sessionID() const;
    /// Stores the identifier, then starts a session in the shared manager's session manager (when
    /// `sessionStatsEnabled`) and sends "UsageStats.Session.started" (when `sendNewSessionBeganSignal`),
    /// even when the identifier is the one already stored.
    void setSessionID(std::string sessionID);

    std::shared_ptr<HttpTransport> httpTransport() const;
    void setHttpTransport(std::shared_ptr<HttpTransport> transport);
    bool sendSignalsInDebugConfiguration() const;
    void setSendSignalsInDebugConfiguration(bool send);
    bool usageStatsAllowDebugBuilds() const { return sendSignalsInDebugConfiguration(); }
    void setUsageStatsAllowDebugBuilds(bool allow) { setSendSignalsInDebugConfiguration(allow); }

    /// False until set.
    bool testMode() const;
    void setTestMode(bool testMode);
    /// Until set, whether the environment holds "XCODE_RUNNING_FOR_PREVIEWS" equal to "1" (read on every
    /// call); once set, the stored value.
    bool swiftUIPreviewMode() const;
    void setSwiftUIPreviewMode(bool previewMode);

    bool analyticsDisabled() const;
    void setAnalyticsDisabled(bool disabled);
    bool reservedParameterWarningsEnabled() const;
    void setReservedParameterWarningsEnabled(bool enabled);
    bool sessionStatsEnabled() const;
    void setSessionStatsEnabled(bool enabled);
    bool showDebugLogs() const;
    void setShowDebugLogs(bool show);
    std::optional<LogHandler> logHandler() const;
    void setLogHandler(std::optional<LogHandler> handler);
    std::vector<std::shared_ptr<SignalEnricher>> metadataEnrichers() const;
    void setMetadataEnrichers(std::vector<std::shared_ptr<SignalEnricher>> enrichers);

    /// Read by a manager when it is built; later changes reach only managers built afterwards.
    /// `PlatformServices::standard()` until set.
    PlatformServices platformServices() const;
    void setPlatformServices(PlatformServices services);

    /// Logs through the current handler, if any.
    void log(LogLevel level, const std::string& message) const;

private:
    template <typename T> T read(const T& field) const {
        std::lock_guard lock(mutex_);
        return field;
    }
    template <typename T> void write(T& field, T value) {
        std::lock_guard lock(mutex_);
        field = std::move(value);
    }

    const std::string usageStatsAppID_;
    const std::string apiBaseURL_;
    const std::optional<std::string> namespace_;
    const std::string salt_;

    mutable std::mutex mutex_;
    std::optional<std::string> defaultUser_;
    std::optional<std::string> defaultSignalPrefix_;
    std::optional<std::string> defaultParameterPrefix_;
    DefaultParametersFunction defaultParameters_;
    bool sendNewSessionBeganSignal_ = true;
    std::string sessionID_;
    std::shared_ptr<HttpTransport> httpTransport_;
    bool sendSignalsInDebugConfiguration_ = false;
    std::optional<bool> testMode_;
    std::optional<bool> swiftUIPreviewMode_;
    bool analyticsDisabled_ = false;
    bool reservedParameterWarningsEnabled_ = true;
    bool sessionStatsEnabled_ = true;
    bool showDebugLogs_ = false;
    std::optional<LogHandler> logHandler_;
    std::vector<std::shared_ptr<SignalEnricher>> metadataEnrichers_;
    mutable std::optional<PlatformServices> platformServices_;
};

} // namespace UsageStats
