#include "UsageStats/DefaultsSuite.h"

#include "AtomicFile.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsHashing.h"
#include "UsageStats/UsageStatsManager.h"

#include <mutex>
#include <nlohmann/json.hpp>

namespace UsageStats {
namespace {

using Json = nlohmann::json;

// One lock for every suite file of the process, so a read-modify-write never loses a concurrent one.
std::mutex& fileMutex() {
    static std::mutex mutex;
    return mutex;
}

Json readObject(const std::filesystem::path& file) {
    const auto contents = AtomicFile::read(file);
    if (!contents) {
        return Json::object();
    }
    Json object = Json::parse(*contents, nullptr, false);
    return object.is_object() ? object : Json::object();
}

template <typename T> std::optional<T> readValue(const std::filesystem::path& file, const std::string& key) {
    std::lock_guard lock(fileMutex());
    const Json object = readObject(file);
    const auto found = object.find(key);
    if (found == object.end()) {
        return std::nullopt;
    }
    try {
        return found->get<T>();
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

bool writeValue(const std::filesystem::path& file, const std::string& key, Json value) {
    std::lock_guard lock(fileMutex());
    Json object = readObject(file);
    object[key] = std::move(value);
    try {
        AtomicFile::write(file, object.dump(2, ' ', false, Json::error_handler_t::replace));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

std::string DefaultsSuite::suiteName(std::string_view appID) {
    const std::string digest = UsageStatsHashing::sha256(appID, "");
    return "com.usagestats." + digest.substr(digest.size() - 12);
}

std::optional<DefaultsSuite> DefaultsSuite::open(const UsageStatsConfiguration& configuration) {
    const auto directory = configuration.platformServices().configDirectory;
    if (directory.empty()) {
        return std::nullopt;
    }
    return DefaultsSuite(directory / (suiteName(configuration.usageStatsAppID()) + ".json"));
}

DefaultsSuite::DefaultsSuite(std::filesystem::path file)
    : file_(std::move(file)) {}

std::optional<std::string> DefaultsSuite::string(const std::string& key) const {
    return readValue<std::string>(file_, key);
}

bool DefaultsSuite::setString(const std::string& key, const std::string& value) {
    return writeValue(file_, key, value);
}

std::optional<std::int64_t> DefaultsSuite::integer(const std::string& key) const {
    return readValue<std::int64_t>(file_, key);
}

bool DefaultsSuite::setInteger(const std::string& key, std::int64_t value) {
    return writeValue(file_, key, value);
}

std::optional<std::vector<std::string>> DefaultsSuite::stringArray(const std::string& key) const {
    return readValue<std::vector<std::string>>(file_, key);
}

bool DefaultsSuite::setStringArray(const std::string& key, const std::vector<std::string>& value) {
    return writeValue(file_, key, value);
}

std::optional<std::string> DefaultsSuite::data(const std::string& key) const {
    return string(key);
}

bool DefaultsSuite::setData(const std::string& key, const std::string& value) {
    return setString(key, value);
}

std::optional<DefaultsSuite> userDefaultsSuite() {
    const auto manager = UsageStatsManager::shared();
    if (!manager) {
        return std::nullopt;
    }
    return DefaultsSuite::open(*manager->configuration());
}

} // namespace UsageStats
