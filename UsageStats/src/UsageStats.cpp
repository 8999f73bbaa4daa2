#include "UsageStats/UsageStats.h"

#include "PreviewEnvironment.h"
#include "RandomUUID.h"
#include "UsageStats/ParameterPrefix.h"
#include "UsageStats/ReservedNames.h"
#include "UsageStats/SignalManager.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsManager.h"
#include "UsageStatsManagerStorage.h"

namespace UsageStats {
namespace {

bool isGated(const UsageStatsConfiguration& configuration) {
    return configuration.swiftUIPreviewMode() || configuration.analyticsDisabled();
}

void checkSignalType(const UsageStatsConfiguration& configuration, const std::string& signalType) {
    if (hasReservedPrefix(signalType)) {
        configuration.log(LogLevel::error,
                          "Sending signal with reserved prefix 'UsageStats.' will cause unexpected "
                          "behavior. Please use another prefix instead.");
    } else if (isReservedName(signalType)) {
        configuration.log(LogLevel::error,
                          "Sending signal with reserved name '" + signalType +
                              "' will cause unexpected behavior. Please use another name instead.");
    }
}

void checkParameterKey(const UsageStatsConfiguration& configuration, const std::string& key) {
    if (hasReservedPrefix(key)) {
        configuration.log(LogLevel::error,
                          "Sending parameter with reserved key prefix 'UsageStats.' will cause "
                          "unexpected behavior. Please use another prefix instead.");
    } else if (isReservedName(key)) {
        configuration.log(LogLevel::error,
                          "Sending parameter with reserved key '" + key +
                              "' will cause unexpected behavior. Please use another key instead.");
    }
}

void sendInternally(const UsageStatsManager& manager, const std::string& signalType,
                    const Parameters& parameters, std::optional<double> floatValue,
                    std::optional<std::string> customUserID) {
    const auto& configuration = *manager.configuration();
    if (isGated(configuration)) {
        return;
    }
    const auto defaultParametersFunction = configuration.defaultParameters();
    const auto defaultParameters = prefixedParameters(
        defaultParametersFunction ? defaultParametersFunction() : Parameters{}, configuration);
    Parameters merged = defaultParameters;
    mergeOver(merged, parameters);
    for (const auto& [key, value] : defaultParameters) {
        checkParameterKey(configuration, key);
    }
    manager.signalManager()->processSignal(signalType, std::move(merged), floatValue,
                                           std::move(customUserID));
}

void sendPublicly(const UsageStatsManager& manager, const std::string& signalType,
                  const Parameters& parameters, std::optional<double> floatValue,
                  std::optional<std::string> customUserID) {
    const auto& configuration = *manager.configuration();
    if (isGated(configuration)) {
        return;
    }
    const std::string type = configuration.defaultSignalPrefix().value_or("") + signalType;
    const auto prefixed = prefixedParameters(parameters, configuration);
    if (configuration.reservedParameterWarningsEnabled()) {
        checkSignalType(configuration, type);
        for (const auto& [key, value] : prefixed) {
            checkParameterKey(configuration, key);
        }
    }
    sendInternally(manager, type, prefixed, floatValue, std::move(customUserID));
}

// Before the client exists no configuration can open the gates, so only the environment's preview switch
// can close them.
std::shared_ptr<UsageStatsManager> managerOrKeep(PendingSignal signal) {
    if (previewRequestedByEnvironment() && !UsageStatsManagerStorage::instance().manager()) {
        return nullptr;
    }
    return UsageStatsManagerStorage::instance().managerOrKeep(std::move(signal));
}

} // namespace

void initialize(std::shared_ptr<UsageStatsConfiguration> config) {
    auto installation = UsageStatsManagerStorage::instance().install(std::move(config));
    const auto& manager = *installation.manager;
    if (installation.droppedSignals > 0) {
        manager.configuration()->log(LogLevel::error,
                                     "Dropped the " + std::to_string(installation.droppedSignals) +
                                         " oldest signals sent before the client was initialised");
    }
    for (auto& pending : installation.pendingSignals) {
        if (pending.throughPublicPath) {
            sendPublicly(manager, pending.signalType, pending.parameters, pending.floatValue,
                         std::move(pending.customUserID));
        } else {
            sendInternally(manager, pending.signalType, pending.parameters, pending.floatValue,
                           std::move(pending.customUserID));
        }
    }
}

void terminate() {
    UsageStatsManagerStorage::instance().clear();
}

void signal(const std::string& signalType, const Parameters& parameters, std::optional<double> floatValue,
            std::optional<std::string> customUserID) {
    if (auto manager = managerOrKeep({true, signalType, parameters, floatValue, customUserID})) {
        sendPublicly(*manager, signalType, parameters, floatValue, std::move(customUserID));
    }
}

void internalSignal(const std::string& signalType, const Parameters& parameters,
                    std::optional<double> floatValue, std::optional<std::string> customUserID) {
    if (auto manager = managerOrKeep({false, signalType, parameters, floatValue, customUserID})) {
        sendInternally(*manager, signalType, parameters, floatValue, std::move(customUserID));
    }
}

void updateDefaultUserID(std::optional<std::string> user) {
    if (auto manager = UsageStatsManager::shared()) {
        manager->configuration()->setDefaultUser(std::move(user));
    }
}

void generateNewSession() {
    if (auto manager = UsageStatsManager::shared()) {
        manager->configuration()->setSessionID(makeRandomUUID());
    }
}

void requestImmediateSync() {
    if (auto manager = UsageStatsManager::shared()) {
        manager->requestImmediateSync();
    }
}

} // namespace UsageStats
