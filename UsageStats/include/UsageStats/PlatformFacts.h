#pragma once

#include <optional>
#include <string>
#include <vector>

namespace UsageStats {

struct ScreenGeometry {
    double width = 0;  ///< in points
    double height = 0; ///< in points
    double scaleFactor = 1;
};

enum class ColorScheme { light, dark, unknown };

enum class LayoutDirection { leftToRight, rightToLeft };

struct SystemVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
};

/// What the default parameters report about the machine and the application. The application supplies an
/// implementation that knows its screens and appearance; `LinuxPlatformFacts` is the stand-alone default.
/// Called on the main thread.
class PlatformFacts {
public:
    virtual ~PlatformFacts() = default;

    /// The main screen, or nothing when there is none.
    virtual std::optional<ScreenGeometry> mainScreen() const = 0;
    virtual ColorScheme colorScheme() const = 0;
    /// Nothing when there is no application object.
    virtual std::optional<LayoutDirection> layoutDirection() const = 0;
    /// Such as "de_DE".
    virtual std::string localeIdentifier() const = 0;
    /// The user's preferred languages, most preferred first; may be empty.
    virtual std::vector<std::string> preferredLanguages() const = 0;
    virtual std::string deviceModel() const = 0;
    /// Such as "Linux".
    virtual std::string operatingSystem() const = 0;
    virtual SystemVersion systemVersion() const = 0;
    /// The machine's architecture, such as "x86_64".
    virtual std::string architecture() const = 0;
    /// The application's version and build number, when it declares them.
    virtual std::optional<std::string> applicationVersion() const = 0;
    virtual std::optional<std::string> buildNumber() const = 0;
};

} // namespace UsageStats
