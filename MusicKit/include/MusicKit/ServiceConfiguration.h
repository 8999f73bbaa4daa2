#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace MusicKit {

/// A service configuration that cannot be read or is not valid. Never quotes a token.
class ServiceConfigurationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Where the music service's web API is and the tokens it is reached with.
///
/// The process has one current configuration, set in code (the application sets the user's file or
/// the bundled demo service; tests and benchmarks set their own). Reading and setting it is
/// thread-safe; requests read it once when they start.
struct ServiceConfiguration {
    /// Scheme, host and optional port, without a trailing slash ("https://api.example.com").
    std::string apiBase;
    std::string developerToken;
    std::string userToken;
    std::string storefront;
    /// The name the user gave the service ("displayName"), empty when none; never sent anywhere.
    std::string displayName;
    /// An upper bound on every request's time-out, in seconds; lets tests see a time-out quickly.
    std::optional<double> timeoutLimit;

    /// Reads a JSON object with the texts "apiBase", "developerToken", "userToken" and "storefront", and
    /// optionally "displayName". Trailing slashes of the API base are dropped. Throws
    /// ServiceConfigurationError saying in plain words what is wrong.
    static ServiceConfiguration decodeJSON(std::string_view json);

    /// "Marrowbell/service.json" in $XDG_CONFIG_HOME, or in ~/.config when that is not set.
    static std::filesystem::path userFilePath();
    /// The user's file, or nothing when there is none. Throws ServiceConfigurationError, naming the file,
    /// when it exists but cannot be read or is not valid: only a regular file (links followed) of at most
    /// 1 MiB is read, and reading it never blocks.
    static std::optional<ServiceConfiguration> loadUserFile();

    static std::optional<ServiceConfiguration> current();
    /// The current configuration; throws ServiceConfigurationError when no service is configured.
    static ServiceConfiguration requireCurrent();
    static void setCurrent(std::optional<ServiceConfiguration> configuration);
};

} // namespace MusicKit
