#include "MusicKit/ServiceConfiguration.h"

#include "ConfigurationFile.h"

#include <Foundation/DecodingError.h>
#include <Foundation/JSONDecoding.h>
#include <Foundation/URL.h>
#include <cstdlib>
#include <mutex>

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

/// Says what is wrong in words a user can act on. The decoding error names keys only, never a value, so
/// no token can leak here.
std::string describe(const Foundation::DecodingError& error, const std::string& source) {
    const auto& path = error.codingPath();
    const std::string key = path.empty() ? std::string() : "\"" + path.back() + "\"";
    switch (error.kind()) {
    case Foundation::DecodingError::Kind::keyNotFound:
        return source + " has no " + key + ".";
    case Foundation::DecodingError::Kind::valueNotFound:
        return source + " has no value for " + key + " (it is null).";
    case Foundation::DecodingError::Kind::typeMismatch:
        return path.empty() ? source + " does not hold a JSON object."
                            : source + " has a " + key + " that is not a text.";
    case Foundation::DecodingError::Kind::dataCorrupted:
        break;
    }
    return source + " is not valid: " + error.debugDescription();
}

void requireValidJSON(std::string_view json, const std::string& source) {
    simdjson::dom::parser parser;
    const simdjson::padded_string padded(json);
    if (const auto error = parser.parse(padded).error(); error != simdjson::SUCCESS) {
        throw ServiceConfigurationError(source + " is not valid JSON: " + simdjson::error_message(error));
    }
}

/// Decodes `json`; `source` names it at the start of every error ("The service configuration" or the
/// file's path).
ServiceConfiguration decodeNamed(std::string_view json, const std::string& source) {
    requireValidJSON(json, source);
    ServiceConfiguration configuration;
    try {
        configuration = Foundation::decodeJSON(json, [](const Foundation::JSONValue& root) {
            ServiceConfiguration decoded;
            decoded.apiBase = root.requiredString("apiBase");
            decoded.developerToken = root.requiredString("developerToken");
            decoded.userToken = root.requiredString("userToken");
            decoded.storefront = root.requiredString("storefront");
            // Only a name to show: anything but a text leaves the service named by its host.
            if (const auto name = root.member("displayName"); name && name->is_string()) {
                decoded.displayName = std::string(name->get_string().value_unsafe());
            }
            return decoded;
        });
    } catch (const Foundation::DecodingError& error) {
        throw ServiceConfigurationError(describe(error, source));
    }
    while (configuration.apiBase.ends_with('/')) {
        configuration.apiBase.pop_back();
    }
    if (!isOrigin(configuration.apiBase)) {
        throw ServiceConfigurationError(source + " has an \"apiBase\" that is not an http or https origin "
                                                 "(scheme, host and optional port).");
    }
    return configuration;
}

} // namespace

ServiceConfiguration ServiceConfiguration::decodeJSON(std::string_view json) {
    return decodeNamed(json, "The service configuration");
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
    const auto contents = readConfigurationFile(path);
    if (!contents) {
        return std::nullopt;
    }
    return decodeNamed(*contents, path.string());
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
