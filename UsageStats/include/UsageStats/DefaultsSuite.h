#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UsageStats {

class UsageStatsConfiguration;

/// The client's own small key-value store: a JSON object in a file of its own, apart from the
/// application's settings. Every read goes to the file; every write replaces the file atomically.
/// Safe to use from any thread; writes within the process never lose each other's keys. A write returns
/// false when the file could not be replaced (the old content stays).
class DefaultsSuite {
public:
    /// "com.usagestats." followed by the last 12 hex digits of the app identifier's hash.
    static std::string suiteName(std::string_view appID);

    /// The suite of a configuration, or nothing when its config directory is unknown.
    static std::optional<DefaultsSuite> open(const UsageStatsConfiguration& configuration);

    explicit DefaultsSuite(std::filesystem::path file);

    std::optional<std::string> string(const std::string& key) const;
    bool setString(const std::string& key, const std::string& value);
    std::optional<std::int64_t> integer(const std::string& key) const;
    bool setInteger(const std::string& key, std::int64_t value);
    std::optional<std::vector<std::string>> stringArray(const std::string& key) const;
    bool setStringArray(const std::string& key, const std::vector<std::string>& value);
    /// Opaque bytes.
    std::optional<std::string> data(const std::string& key) const;
    bool setData(const std::string& key, const std::string& value);

private:
    std::filesystem::path file_;
};

/// The shared manager's suite, or nothing before the client is initialised.
std::optional<DefaultsSuite> userDefaultsSuite();

} // namespace UsageStats
