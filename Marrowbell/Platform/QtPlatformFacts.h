#pragma once

#include <UsageStats/LinuxPlatformFacts.h>
#include <UsageStats/PlatformFacts.h>

namespace Marrowbell {

/// UsageStats' platform facts with what the GUI knows: the primary screen from QScreen, the colour scheme
/// from the palette and the layout direction from the application; the machine's facts come from the
/// Linux defaults. GUI thread, while the QGuiApplication exists.
class QtPlatformFacts final : public UsageStats::PlatformFacts {
public:
    QtPlatformFacts();

    std::optional<UsageStats::ScreenGeometry> mainScreen() const override;
    UsageStats::ColorScheme colorScheme() const override;
    std::optional<UsageStats::LayoutDirection> layoutDirection() const override;
    std::string localeIdentifier() const override { return linux_.localeIdentifier(); }
    std::vector<std::string> preferredLanguages() const override { return linux_.preferredLanguages(); }
    std::string deviceModel() const override { return linux_.deviceModel(); }
    std::string operatingSystem() const override { return linux_.operatingSystem(); }
    UsageStats::SystemVersion systemVersion() const override { return linux_.systemVersion(); }
    std::string architecture() const override { return linux_.architecture(); }
    std::optional<std::string> applicationVersion() const override { return linux_.applicationVersion(); }
    std::optional<std::string> buildNumber() const override { return linux_.buildNumber(); }

private:
    UsageStats::LinuxPlatformFacts linux_;
};

} // namespace Marrowbell
