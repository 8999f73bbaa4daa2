#pragma once

#include "UsageStats/PlatformFacts.h"

#include <filesystem>

namespace UsageStats {

/// Platform facts read from the running Linux system: the locale and languages from the environment
/// ("LC_ALL", "LANG", "LANGUAGE"), the device model from DMI, the system version from os-release and the
/// architecture from uname. A plain process knows no screen, appearance or layout direction, so those
/// read as unknown. The machine's facts are read once, when the object is built; the environment on
/// every call.
class LinuxPlatformFacts final : public PlatformFacts {
public:
    struct Sources {
        std::filesystem::path osRelease = "/etc/os-release";
        std::filesystem::path dmiProductName = "/sys/class/dmi/id/product_name";
        std::optional<std::string> applicationVersion;
        std::optional<std::string> buildNumber;
    };

    LinuxPlatformFacts();
    explicit LinuxPlatformFacts(Sources sources);

    std::optional<ScreenGeometry> mainScreen() const override { return std::nullopt; }
    ColorScheme colorScheme() const override { return ColorScheme::unknown; }
    std::optional<LayoutDirection> layoutDirection() const override { return std::nullopt; }
    std::string localeIdentifier() const override;
    std::vector<std::string> preferredLanguages() const override;
    std::string deviceModel() const override { return deviceModel_; }
    std::string operatingSystem() const override { return "Linux"; }
    SystemVersion systemVersion() const override { return systemVersion_; }
    std::string architecture() const override { return architecture_; }
    std::optional<std::string> applicationVersion() const override { return applicationVersion_; }
    std::optional<std::string> buildNumber() const override { return buildNumber_; }

private:
    std::string architecture_;
    std::string deviceModel_;
    SystemVersion systemVersion_;
    std::optional<std::string> applicationVersion_;
    std::optional<std::string> buildNumber_;
};

} // namespace UsageStats
