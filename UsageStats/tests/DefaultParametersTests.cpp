#include "UsageStats/CalendarParameters.h"
#include "UsageStats/DefaultSignalPayload.h"
#include "UsageStats/LinuxPlatformFacts.h"
#include "support/TemporaryDirectory.h"
#include "support/TestPlatform.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/utsname.h>

using namespace UsageStats;

namespace {

std::tm utcFields(int year, int month, int day, int hour, int minute) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    const std::time_t seconds = timegm(&fields);
    std::tm normalised{};
    gmtime_r(&seconds, &normalised);
    return normalised;
}

class ScreenFacts final : public PlatformFacts {
public:
    std::optional<ScreenGeometry> mainScreen() const override { return ScreenGeometry{1440, 900, 2}; }
    ColorScheme colorScheme() const override { return ColorScheme::dark; }
    std::optional<LayoutDirection> layoutDirection() const override { return LayoutDirection::rightToLeft; }
    std::string localeIdentifier() const override { return "en"; }
    std::vector<std::string> preferredLanguages() const override { return {}; }
    std::string deviceModel() const override { return "Model"; }
    std::string operatingSystem() const override { return "Linux"; }
    SystemVersion systemVersion() const override { return {6, 1, 2}; }
    std::string architecture() const override { return "aarch64"; }
    std::optional<std::string> applicationVersion() const override { return "2.1"; }
    std::optional<std::string> buildNumber() const override { return "77"; }
};

void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file) << text;
}

} // namespace

TEST(CalendarParameters, NumberDaysFromMondayAndHoursFromOne) {
    auto sunday = calendarParameters(utcFields(2025, 2, 2, 23, 30));
    EXPECT_EQ(sunday["UsageStats.Calendar.dayOfWeek"], "7");
    EXPECT_EQ(sunday["UsageStats.Calendar.isWeekend"], "true");
    EXPECT_EQ(sunday["UsageStats.Calendar.hourOfDay"], "24");
    EXPECT_EQ(sunday["UsageStats.Calendar.dayOfYear"], "33");
    EXPECT_EQ(sunday["UsageStats.Calendar.dayOfMonth"], "2");
    EXPECT_EQ(sunday["UsageStats.Calendar.monthOfYear"], "2");
    EXPECT_EQ(sunday["UsageStats.Calendar.quarterOfYear"], "1");

    auto friday = calendarParameters(utcFields(2025, 1, 31, 0, 5));
    EXPECT_EQ(friday["UsageStats.Calendar.dayOfWeek"], "5");
    EXPECT_EQ(friday["UsageStats.Calendar.isWeekend"], "false");
    EXPECT_EQ(friday["UsageStats.Calendar.hourOfDay"], "1");
}

TEST(CalendarParameters, CountWeeksByIso8601) {
    EXPECT_EQ(calendarParameters(utcFields(2021, 1, 1, 12, 0))["UsageStats.Calendar.weekOfYear"], "53");
    EXPECT_EQ(calendarParameters(utcFields(2024, 12, 30, 12, 0))["UsageStats.Calendar.weekOfYear"], "1");
    EXPECT_EQ(calendarParameters(utcFields(2024, 10, 15, 12, 0))["UsageStats.Calendar.quarterOfYear"], "4");
}

TEST(DefaultSignalPayload, WritesTheTimeZoneAsUtcOffset) {
    EXPECT_EQ(DefaultSignalPayload::timeZoneText(0), "UTC+0");
    EXPECT_EQ(DefaultSignalPayload::timeZoneText(7200), "UTC+2");
    EXPECT_EQ(DefaultSignalPayload::timeZoneText(19800), "UTC+5:30");
    EXPECT_EQ(DefaultSignalPayload::timeZoneText(-12600), "UTC-3:30");
}

TEST(DefaultSignalPayload, DescribesTheLinuxMachineItRunsOn) {
    UsageStatsTesting::TemporaryDirectory directory;
    writeFile(directory.path() / "os-release", "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n");
    writeFile(directory.path() / "product_name", "Example Book 14\n");
    ::setenv("LANG", "de_AT.UTF-8", 1);
    ::setenv("LANGUAGE", "en_GB:en", 1);
    ::unsetenv("LC_ALL");
    LinuxPlatformFacts facts({directory.path() / "os-release", directory.path() / "product_name", {}, {}});
    utsname system{};
    uname(&system);

    auto parameters = DefaultSignalPayload::parameters(facts, UsageStatsTesting::testStartTime());
    EXPECT_EQ(parameters.size(), 56u);
    EXPECT_EQ(parameters["platform"], "Linux");
    EXPECT_EQ(parameters["operatingSystem"], "Linux");
    EXPECT_EQ(parameters["architecture"], system.machine);
    EXPECT_EQ(parameters["systemVersion"], "Linux 12.0.0");
    EXPECT_EQ(parameters["majorSystemVersion"], "Linux 12");
    EXPECT_EQ(parameters["UsageStats.Device.systemMajorMinorVersion"], "Linux 12.0");
    EXPECT_EQ(parameters["modelName"], "Example Book 14");
    EXPECT_EQ(parameters["locale"], "de_AT");
    EXPECT_EQ(parameters["region"], "AT");
    EXPECT_EQ(parameters["appLanguage"], "de");
    EXPECT_EQ(parameters["preferredLanguage"], "en");
    EXPECT_EQ(parameters["appVersion"], "0");
    EXPECT_EQ(parameters["UsageStats.AppInfo.versionAndBuildNumber"], "0 (build 0)");
    EXPECT_EQ(parameters["UsageStats.Device.screenResolutionWidth"], "N/A");
    EXPECT_EQ(parameters["UsageStats.Device.screenScaleFactor"], "N/A");
    EXPECT_EQ(parameters["UsageStats.UserPreference.colorScheme"], "N/A");
    EXPECT_EQ(parameters["UsageStats.UserPreference.layoutDirection"], "N/A");
    EXPECT_EQ(parameters["UsageStats.SDK.nameAndVersion"], "CppSDK 1.0.0");
    EXPECT_EQ(parameters["UsageStats.Device.orientation"], "Fixed");
    EXPECT_EQ(parameters["targetEnvironment"], "native");
}

TEST(DefaultSignalPayload, FallsBackWhenTheSystemFilesAreMissing) {
    ::setenv("LANG", "C", 1);
    ::unsetenv("LANGUAGE");
    LinuxPlatformFacts facts({"/nonexistent/os-release", "/nonexistent/product_name", {}, {}});
    auto parameters = DefaultSignalPayload::parameters(facts, UsageStatsTesting::testStartTime());
    EXPECT_EQ(parameters["systemVersion"], "Linux 0.0.0");
    EXPECT_EQ(parameters["modelName"], parameters["architecture"]);
    EXPECT_EQ(parameters["preferredLanguage"], "zz");
}

TEST(DefaultSignalPayload, ReportsScreenAppearanceAndApplication) {
    auto parameters = DefaultSignalPayload::parameters(ScreenFacts(), UsageStatsTesting::testStartTime());
    EXPECT_EQ(parameters["UsageStats.Device.screenResolutionWidth"], "1440.0");
    EXPECT_EQ(parameters["UsageStats.Device.screenResolutionHeight"], "900.0");
    EXPECT_EQ(parameters["UsageStats.Device.screenScaleFactor"], "2.0");
    EXPECT_EQ(parameters["UsageStats.UserPreference.colorScheme"], "Dark");
    EXPECT_EQ(parameters["UsageStats.UserPreference.layoutDirection"], "rightToLeft");
    EXPECT_EQ(parameters["UsageStats.AppInfo.versionAndBuildNumber"], "2.1 (build 77)");
    EXPECT_EQ(parameters["region"], "en");
    EXPECT_EQ(parameters["systemVersion"], "Linux 6.1.2");
}
