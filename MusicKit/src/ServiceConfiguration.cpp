#include "MusicKit/ServiceConfiguration.h"

#include <Foundation/DecodingError.h>
#include <Foundation/JSONDecoding.h>
#include <Foundation/URL.h>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

namespace MusicKit {
namespace {

struct CurrentConfiguration {
    std::mutex mutex;
    std::optional<ServiceConfiguration> value;
};

CurrentConfiguration& currentConfiguration() {
    static CurrentConfiguration shared;
    return shared;
}

/// Only scheme, host and port: the library paths are appended to it directly.
bool isOrigin(std::string_view apiBase) {
    const auto schemeEnd = apiBase.find("://");
    if (!Foundation::URL::fromString(apiBase) || schemeEnd == std::string_view::npos) {
        return false;
    }
    const auto scheme = apiBase.substr(0, schemeEnd);
    const auto authority = apiBase.substr(schemeEnd + 3);
    return (scheme == "https" || scheme == "http") && !authority.empty() &&
           authority.find_first_of("/?#@") == std::string_view::npos;
}

} // namespace

ServiceConfiguration ServiceConfiguration::decodeJSON(std::string_view json) {
    ServiceConfiguration configuration;
    try {
        configuration = Foundation::decodeJSON(json, [](const Foundation::JSONValue& root) {
            ServiceConfiguration decoded;
            decoded.apiBase = root.requiredString("apiBase");
            decoded.developerToken = root.requiredString("developerToken");
            decoded.userToken = root.requiredString("userToken");
            decoded.storefront = root.requiredString("storefront");
            return decoded;
        });
    } catch (const Foundation::DecodingError& error) {
        // The decoding error names keys and positions only, never a value, so no token can leak here.
        throw ServiceConfigurationError(std::string("The service configuration is not valid: ") +
                                        error.what());
    }
    while (configuration.apiBase.ends_with('/')) {
        configuration.apiBase.pop_back();
    }
    if (!isOrigin(configuration.apiBase)) {
        throw ServiceConfigurationError(
            "The service configuration's \"apiBase\" must be an http or https origin "
            "(scheme, host and optional port).");
    }
    return configuration;
}

std::filesystem::path ServiceConfiguration::userFilePath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path directory;
    // The XDG rules ignore a relative path there.
    if (configHome && std::filesystem::path(configHome).is_absolute()) {
        directory = configHome;
    } else {
        const char* home = std::getenv("HOME");
        directory = std::filesystem::path(home ? home : "") / ".config";
    }
    return directory / "Marrowbell" / "service.json";
}

std::optional<ServiceConfiguration> ServiceConfiguration::loadUserFile() {
    const auto path = userFilePath();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    if (!(contents << file.rdbuf())) {
        throw ServiceConfigurationError("Cannot read the service configuration " + path.string() + ".");
    }
    return decodeJSON(contents.str());
}

std::optional<ServiceConfiguration> ServiceConfiguration::current() {
    auto& shared = currentConfiguration();
    std::lock_guard lock(shared.mutex);
    return shared.value;
}

ServiceConfiguration ServiceConfiguration::requireCurrent() {
    auto configuration = current();
    if (!configuration) {
        throw ServiceConfigurationError("No music service is configured.");
    }
    return *std::move(configuration);
}

void ServiceConfiguration::setCurrent(std::optional<ServiceConfiguration> configuration) {
    auto& shared = currentConfiguration();
    std::lock_guard lock(shared.mutex);
    shared.value = std::move(configuration);
}

} // namespace MusicKit
