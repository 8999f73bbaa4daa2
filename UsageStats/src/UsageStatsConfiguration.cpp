#include "UsageStats/UsageStatsConfiguration.h"

#include "PreviewEnvironment.h"
#include "RandomUUID.h"
#include "UsageStats/CurlTransport.h"
#include "UsageStats/SessionManager.h"
#include "UsageStats/UsageStats.h"
#include "UsageStats/UsageStatsManager.h"

namespace UsageStats {

UsageStatsConfiguration::UsageStatsConfiguration(std::string appID, std::optional<std::string> salt,
                                                 std::optional<std::string> baseURL,
                                                 std::optional<std::string> namespaceName)
    : usageStatsAppID_(std::move(appID))
    , apiBaseURL_(baseURL.value_or(defaultBaseURL))
    , namespace_(std::move(namespaceName))
    , salt_(salt.value_or(""))
    , defaultParameters_([] { return Parameters{}; })
    , sessionID_(makeRandomUUID())
    , httpTransport_(std::make_shared<CurlTransport>())
    , logHandler_(LogHandler::standard(LogLevel::info)) {}

std::optional<std::string> UsageStatsConfiguration::defaultUser() const {
    return read(defaultUser_);
}
void UsageStatsConfiguration::setDefaultUser(std::optional<std::string> user) {
    write(defaultUser_, std::move(user));
}

std::optional<std::string> UsageStatsConfiguration::defaultSignalPrefix() const {
    return read(defaultSignalPrefix_);
}
void UsageStatsConfiguration::setDefaultSignalPrefix(std::optional<std::string> prefix) {
    write(defaultSignalPrefix_, std::move(prefix));
}

std::optional<std::string> UsageStatsConfiguration::defaultParameterPrefix() const {
    return read(defaultParameterPrefix_);
}
void UsageStatsConfiguration::setDefaultParameterPrefix(std::optional<std::string> prefix) {
    write(defaultParameterPrefix_, std::move(prefix));
}

UsageStatsConfiguration::DefaultParametersFunction UsageStatsConfiguration::defaultParameters() const {
    return read(defaultParameters_);
}
void UsageStatsConfiguration::setDefaultParameters(DefaultParametersFunction function) {
    write(defaultParameters_, std::move(function));
}

bool UsageStatsConfiguration::sendNewSessionBeganSignal() const {
    return read(sendNewSessionBeganSignal_);
}
void UsageStatsConfiguration::setSendNewSessionBeganSignal(bool send) {
    write(sendNewSessionBeganSignal_, send);
}

std::string UsageStatsConfiguration::sessionID() const {
    return read(sessionID_);
}

void UsageStatsConfiguration::setSessionID(std::string sessionID) {
    write(sessionID_, std::move(sessionID));
    if (sessionStatsEnabled()) {
        if (auto manager = UsageStatsManager::shared()) {
            manager->sessionManager()->startNewSession();
        }
    }
    if (sendNewSessionBeganSignal()) {
        internalSignal("UsageStats.Session.started");
    }
}

std::shared_ptr<HttpTransport> UsageStatsConfiguration::httpTransport() const {
    return read(httpTransport_);
}
void UsageStatsConfiguration::setHttpTransport(std::shared_ptr<HttpTransport> transport) {
    write(httpTransport_, std::move(transport));
}

bool UsageStatsConfiguration::sendSignalsInDebugConfiguration() const {
    return read(sendSignalsInDebugConfiguration_);
}
void UsageStatsConfiguration::setSendSignalsInDebugConfiguration(bool send) {
    write(sendSignalsInDebugConfiguration_, send);
}

bool UsageStatsConfiguration::testMode() const {
    return read(testMode_).value_or(false);
}
void UsageStatsConfiguration::setTestMode(bool testMode) {
    write(testMode_, std::optional<bool>(testMode));
}

bool UsageStatsConfiguration::swiftUIPreviewMode() const {
    if (const auto stored = read(swiftUIPreviewMode_)) {
        return *stored;
    }
    return previewRequestedByEnvironment();
}
void UsageStatsConfiguration::setSwiftUIPreviewMode(bool previewMode) {
    write(swiftUIPreviewMode_, std::optional<bool>(previewMode));
}

bool UsageStatsConfiguration::analyticsDisabled() const {
    return read(analyticsDisabled_);
}
void UsageStatsConfiguration::setAnalyticsDisabled(bool disabled) {
    write(analyticsDisabled_, disabled);
}

bool UsageStatsConfiguration::reservedParameterWarningsEnabled() const {
    return read(reservedParameterWarningsEnabled_);
}
void UsageStatsConfiguration::setReservedParameterWarningsEnabled(bool enabled) {
    write(reservedParameterWarningsEnabled_, enabled);
}

bool UsageStatsConfiguration::sessionStatsEnabled() const {
    return read(sessionStatsEnabled_);
}
void UsageStatsConfiguration::setSessionStatsEnabled(bool enabled) {
    write(sessionStatsEnabled_, enabled);
}

bool UsageStatsConfiguration::showDebugLogs() const {
    return read(showDebugLogs_);
}
void UsageStatsConfiguration::setShowDebugLogs(bool show) {
    write(showDebugLogs_, show);
}

std::optional<LogHandler> UsageStatsConfiguration::logHandler() const {
    return read(logHandler_);
}
void UsageStatsConfiguration::setLogHandler(std::optional<LogHandler> handler) {
    write(logHandler_, std::move(handler));
}

std::vector<std::shared_ptr<SignalEnricher>> UsageStatsConfiguration::metadataEnrichers() const {
    return read(metadataEnrichers_);
}
void UsageStatsConfiguration::setMetadataEnrichers(std::vector<std::shared_ptr<SignalEnricher>> enrichers) {
    write(metadataEnrichers_, std::move(enrichers));
}

PlatformServices UsageStatsConfiguration::platformServices() const {
    std::lock_guard lock(mutex_);
    // Chosen on first use, so a configuration given its own services never starts the default threads.
    if (!platformServices_) {
        platformServices_ = PlatformServices::standard();
    }
    return *platformServices_;
}
void UsageStatsConfiguration::setPlatformServices(PlatformServices services) {
    write(platformServices_, std::optional<PlatformServices>(std::move(services)));
}

void UsageStatsConfiguration::log(LogLevel level, const std::string& message) const {
    UsageStats::log(logHandler(), level, message);
}

} // namespace UsageStats
