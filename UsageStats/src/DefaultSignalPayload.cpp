#include "UsageStats/DefaultSignalPayload.h"

#include "DecimalText.h"
#include "LocalDate.h"
#include "UsageStats/CalendarParameters.h"
#include "UsageStats/PlatformFacts.h"

#include <cstdio>
#include <cstdlib>

namespace UsageStats {
namespace {

constexpr const char* clientVersion = "1.0.0";

std::string firstPart(const std::string& identifier) {
    return identifier.substr(0, identifier.find_first_of("-_"));
}

std::string lastPart(const std::string& identifier) {
    const auto separator = identifier.find_last_of("-_");
    return separator == std::string::npos ? identifier : identifier.substr(separator + 1);
}

std::string colorSchemeText(ColorScheme scheme) {
    switch (scheme) {
    case ColorScheme::light:
        return "Light";
    case ColorScheme::dark:
        return "Dark";
    case ColorScheme::unknown:
        break;
    }
    return "N/A";
}

std::string layoutDirectionText(std::optional<LayoutDirection> direction) {
    if (!direction) {
        return "N/A";
    }
    return *direction == LayoutDirection::rightToLeft ? "rightToLeft" : "leftToRight";
}

struct SystemVersionTexts {
    std::string full;
    std::string major;
    std::string majorMinor;
};

SystemVersionTexts systemVersionTexts(const PlatformFacts& facts) {
    const auto version = facts.systemVersion();
    const std::string name = facts.operatingSystem() + " ";
    const std::string majorMinor = std::to_string(version.major) + "." + std::to_string(version.minor);
    return {name + majorMinor + "." + std::to_string(version.patch), name + std::to_string(version.major),
            name + majorMinor};
}

void addApplicationParameters(Parameters& parameters, const PlatformFacts& facts) {
    const std::string version = facts.applicationVersion().value_or("0");
    const std::string build = facts.buildNumber().value_or("0");
    // No store receipt exists on this platform, so the build never counts as a test distribution, and
    // the store flag is its opposite.
    const std::string testFlight = "false";
    const std::string appStore = "true";
    mergeOver(parameters,
              {
                  {"appVersion", version},
                  {"buildNumber", build},
                  {"isSimulator", "false"},
                  {"isDebug", "false"},
                  {"isTestFlight", testFlight},
                  {"isAppStore", appStore},
                  {"targetEnvironment", "native"},
                  {"usageStatsClientVersion", clientVersion},
                  {"UsageStats.AppInfo.buildNumber", build},
                  {"UsageStats.AppInfo.version", version},
                  {"UsageStats.AppInfo.versionAndBuildNumber", version + " (build " + build + ")"},
                  {"UsageStats.RunContext.isAppStore", appStore},
                  {"UsageStats.RunContext.isDebug", "false"},
                  {"UsageStats.RunContext.isSimulator", "false"},
                  {"UsageStats.RunContext.isTestFlight", testFlight},
                  {"UsageStats.RunContext.targetEnvironment", "native"},
                  {"UsageStats.SDK.name", "CppSDK"},
                  {"UsageStats.SDK.nameAndVersion", std::string("CppSDK ") + clientVersion},
                  {"UsageStats.SDK.version", clientVersion},
              });
}

void addDeviceParameters(Parameters& parameters, const PlatformFacts& facts, long timeZoneOffset) {
    const std::string system = facts.operatingSystem();
    const std::string architecture = facts.architecture();
    const std::string model = facts.deviceModel();
    const auto versions = systemVersionTexts(facts);
    const auto screen = facts.mainScreen();
    const auto screenText = [&screen](double ScreenGeometry::*field) {
        return screen ? shortestDecimalText((*screen).*field) : std::string("N/A");
    };
    mergeOver(parameters,
              {
                  {"platform", system},
                  {"operatingSystem", system},
                  {"systemVersion", versions.full},
                  {"majorSystemVersion", versions.major},
                  {"majorMinorSystemVersion", versions.majorMinor},
                  {"modelName", model},
                  {"architecture", architecture},
                  {"UsageStats.Device.architecture", architecture},
                  {"UsageStats.Device.modelName", model},
                  {"UsageStats.Device.operatingSystem", system},
                  {"UsageStats.Device.orientation", "Fixed"},
                  {"UsageStats.Device.platform", system},
                  {"UsageStats.Device.screenResolutionHeight", screenText(&ScreenGeometry::height)},
                  {"UsageStats.Device.screenResolutionWidth", screenText(&ScreenGeometry::width)},
                  {"UsageStats.Device.screenScaleFactor", screenText(&ScreenGeometry::scaleFactor)},
                  {"UsageStats.Device.systemMajorMinorVersion", versions.majorMinor},
                  {"UsageStats.Device.systemMajorVersion", versions.major},
                  {"UsageStats.Device.systemVersion", versions.full},
                  {"UsageStats.Device.timeZone", DefaultSignalPayload::timeZoneText(timeZoneOffset)},
              });
}

void addLanguageParameters(Parameters& parameters, const PlatformFacts& facts) {
    const std::string locale = facts.localeIdentifier();
    const std::string region = lastPart(locale);
    const std::string appLanguage = firstPart(locale);
    const auto preferred = facts.preferredLanguages();
    const std::string preferredLanguage = firstPart(preferred.empty() ? "zz-ZZ" : preferred.front());
    mergeOver(parameters,
              {
                  {"locale", locale},
                  {"region", region},
                  {"appLanguage", appLanguage},
                  {"preferredLanguage", preferredLanguage},
                  {"UsageStats.RunContext.language", appLanguage},
                  {"UsageStats.RunContext.locale", locale},
                  {"UsageStats.UserPreference.colorScheme", colorSchemeText(facts.colorScheme())},
                  {"UsageStats.UserPreference.language", preferredLanguage},
                  {"UsageStats.UserPreference.layoutDirection", layoutDirectionText(facts.layoutDirection())},
                  {"UsageStats.UserPreference.region", region},
              });
}

} // namespace

Parameters DefaultSignalPayload::parameters(const PlatformFacts& facts, WallTime now) {
    const std::tm local = localCalendarTime(now);
    Parameters parameters;
    addApplicationParameters(parameters, facts);
    addDeviceParameters(parameters, facts, local.tm_gmtoff);
    addLanguageParameters(parameters, facts);
    mergeOver(parameters, calendarParameters(local));
    return parameters;
}

std::string DefaultSignalPayload::timeZoneText(long offsetSeconds) {
    const long magnitude = std::labs(offsetSeconds);
    std::string text =
        std::string("UTC") + (offsetSeconds < 0 ? "-" : "+") + std::to_string(magnitude / 3600);
    if (const long minutes = (magnitude / 60) % 60; minutes != 0) {
        char minutesText[4];
        std::snprintf(minutesText, sizeof minutesText, "%02ld", minutes);
        text += std::string(":") + minutesText;
    }
    return text;
}

} // namespace UsageStats
