#include "UsageStats/ReservedNames.h"

#include <algorithm>
#include <cctype>

namespace UsageStats {
namespace {

std::string lowercased(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return lower;
}

} // namespace

const std::set<std::string>& reservedKeys() {
    static const std::set<std::string> keys = [] {
        std::set<std::string> lower;
        for (const char* name : {"type",
                                 "clientUser",
                                 "appID",
                                 "sessionID",
                                 "floatValue",
                                 "newSessionBegan",
                                 "platform",
                                 "systemVersion",
                                 "majorSystemVersion",
                                 "majorMinorSystemVersion",
                                 "appVersion",
                                 "buildNumber",
                                 "isSimulator",
                                 "isDebug",
                                 "isTestFlight",
                                 "isAppStore",
                                 "modelName",
                                 "architecture",
                                 "operatingSystem",
                                 "targetEnvironment",
                                 "locale",
                                 "region",
                                 "appLanguage",
                                 "preferredLanguage",
                                 "usageStatsClientVersion"}) {
            lower.insert(lowercased(name));
        }
        return lower;
    }();
    return keys;
}

bool isReservedName(std::string_view name) {
    return reservedKeys().count(lowercased(name)) > 0;
}

bool hasReservedPrefix(std::string_view name) {
    return lowercased(name).rfind("usagestats.", 0) == 0;
}

} // namespace UsageStats
