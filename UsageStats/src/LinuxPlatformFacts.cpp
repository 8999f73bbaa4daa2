#include "UsageStats/LinuxPlatformFacts.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>

namespace UsageStats {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "de_DE.UTF-8@euro" names the locale de_DE.
std::string localeName(const std::string& posixLocale) {
    return posixLocale.substr(0, posixLocale.find_first_of(".@"));
}

std::string unquoted(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<std::string> osReleaseValue(const std::filesystem::path& file, const std::string& key) {
    std::ifstream stream(file);
    std::string line;
    while (std::getline(stream, line)) {
        if (line.rfind(key + "=", 0) == 0) {
            return unquoted(trimmed(line.substr(key.size() + 1)));
        }
    }
    return std::nullopt;
}

int leadingNumber(const std::string& text) {
    return std::atoi(text.c_str());
}

std::string machineArchitecture() {
    utsname system{};
    if (uname(&system) != 0) {
        return "unknown";
    }
    return system.machine;
}

std::string modelName(const std::filesystem::path& dmiProductName, const std::string& architecture) {
    std::ifstream stream(dmiProductName);
    std::string model;
    std::getline(stream, model);
    model = trimmed(model);
    return model.empty() ? architecture : model;
}

SystemVersion releaseVersion(const std::filesystem::path& osRelease) {
    SystemVersion version;
    const auto versionID = osReleaseValue(osRelease, "VERSION_ID");
    if (!versionID) {
        return version;
    }
    std::stringstream parts(*versionID);
    std::string part;
    int* fields[] = {&version.major, &version.minor, &version.patch};
    for (int* field : fields) {
        if (!std::getline(parts, part, '.')) {
            break;
        }
        *field = leadingNumber(part);
    }
    return version;
}

} // namespace

LinuxPlatformFacts::LinuxPlatformFacts()
    : LinuxPlatformFacts(Sources{}) {}

LinuxPlatformFacts::LinuxPlatformFacts(Sources sources)
    : architecture_(machineArchitecture())
    , deviceModel_(modelName(sources.dmiProductName, architecture_))
    , systemVersion_(releaseVersion(sources.osRelease))
    , applicationVersion_(std::move(sources.applicationVersion))
    , buildNumber_(std::move(sources.buildNumber)) {}

std::string LinuxPlatformFacts::localeIdentifier() const {
    for (const char* variable : {"LC_ALL", "LANG"}) {
        const auto name = localeName(environment(variable));
        if (!name.empty()) {
            return name;
        }
    }
    return "C";
}

std::vector<std::string> LinuxPlatformFacts::preferredLanguages() const {
    std::vector<std::string> languages;
    std::stringstream list(environment("LANGUAGE"));
    std::string entry;
    while (std::getline(list, entry, ':')) {
        if (!localeName(entry).empty()) {
            languages.push_back(localeName(entry));
        }
    }
    const auto locale = localeIdentifier();
    if (languages.empty() && locale != "C" && locale != "POSIX") {
        languages.push_back(locale);
    }
    return languages;
}

} // namespace UsageStats
