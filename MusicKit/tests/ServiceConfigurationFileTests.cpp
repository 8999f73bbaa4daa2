#include "ConfigurationFolderTest.h"

#include <MusicKit/ServiceConfiguration.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using MusicKit::ServiceConfiguration;
using MusicKit::ServiceConfigurationError;

namespace {

const std::string validJSON =
    R"({"apiBase":"https://api.example.com","developerToken":"d","userToken":"u","storefront":"gb"})";

/// A service.json that is anything but a small regular file, in a fresh XDG_CONFIG_HOME.
class ServiceConfigurationFileTests : public MusicKit::Testing::ConfigurationFolderTest {
protected:
    /// The error's text, or "" when the file loaded.
    static std::string loadError() {
        try {
            ServiceConfiguration::loadUserFile();
        } catch (const ServiceConfigurationError& error) {
            return error.what();
        }
        return {};
    }

    /// The load's error, failing the test when the load does not finish within `limit`. A reader left
    /// waiting on a named pipe is released by opening the pipe's other end; one that never ends (reading a
    /// device) is left behind, so that the test still ends.
    std::string loadErrorWithin(std::chrono::seconds limit) {
        std::packaged_task<std::string()> task([] { return loadError(); });
        auto load = task.get_future();
        std::thread(std::move(task)).detach();
        if (load.wait_for(limit) == std::future_status::ready) {
            return load.get();
        }
        ADD_FAILURE() << "loading service.json did not finish within " << limit.count() << " s";
        const int writer = ::open(file().c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
        return load.wait_for(std::chrono::seconds(1)) == std::future_status::ready ? load.get()
                                                                                   : std::string();
    }
};

TEST_F(ServiceConfigurationFileTests, OnlyASmallRegularFileIsRead) {
    const auto started = std::chrono::steady_clock::now();
    std::filesystem::create_symlink("/dev/zero", file());
    EXPECT_EQ(loadErrorWithin(std::chrono::seconds(5)),
              file().string() + " is not a regular file but a device.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));

    std::filesystem::remove(file());
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_EQ(loadErrorWithin(std::chrono::seconds(5)),
              file().string() + " is not a regular file but a named pipe.");

    std::filesystem::remove(file());
    std::filesystem::create_directory(file());
    EXPECT_EQ(loadError(), file().string() + " is not a regular file but a folder.");

    std::filesystem::remove(file());
    const std::size_t limit = 1024 * 1024;
    // Padding is valid JSON whitespace, so the file at the limit loads and one byte more does not.
    write(validJSON + std::string(limit - validJSON.size(), ' '));
    EXPECT_EQ(loadError(), "");
    write(validJSON + std::string(limit - validJSON.size() + 1, ' '));
    EXPECT_EQ(loadError(), file().string() + " is too large (1048577 bytes; at most 1 MiB is read).");
}

TEST_F(ServiceConfigurationFileTests, AFileThatCannotBeUsedIsNamedWithWhatIsWrong) {
    write("");
    EXPECT_EQ(loadError(), file().string() + " is empty.");
    write("\xEF\xBB\xBF \n");
    EXPECT_EQ(loadError(), file().string() + " is empty.");

    std::filesystem::remove(file());
    std::filesystem::create_symlink(directory_ / "elsewhere.json", file());
    EXPECT_EQ(loadError(), file().string() + " is a link to " + (directory_ / "elsewhere.json").string() +
                               ", which does not exist.");

    std::filesystem::remove(file());
    write(R"({"apiBase":"https://api.example.com",)");
    EXPECT_TRUE(loadError().starts_with(file().string() + " is not valid JSON: ")) << loadError();
    write(R"({"developerToken":"d","userToken":"u","storefront":"gb"})");
    EXPECT_EQ(loadError(), file().string() + " has no \"apiBase\".");
    write(R"({"apiBase":null,"developerToken":"d","userToken":"u","storefront":"gb"})");
    EXPECT_EQ(loadError(), file().string() + " has no value for \"apiBase\" (it is null).");
    write(R"({"apiBase":"https://a.example","developerToken":7,"userToken":"u","storefront":"gb"})");
    EXPECT_EQ(loadError(), file().string() + " has a \"developerToken\" that is not a text.");
    write(R"(["https://api.example.com"])");
    EXPECT_EQ(loadError(), file().string() + " does not hold a JSON object.");
    write(R"({"apiBase":"https://a.example/v1","developerToken":"d","userToken":"u","storefront":"gb"})");
    EXPECT_EQ(loadError(), file().string() +
                               " has an \"apiBase\" that is not an http or https origin (scheme, host and "
                               "optional port).");
}

TEST_F(ServiceConfigurationFileTests, AByteOrderMarkAndALinkToARealFileAreAccepted) {
    write("\xEF\xBB\xBF" + validJSON);
    EXPECT_EQ(ServiceConfiguration::loadUserFile()->apiBase, "https://api.example.com");

    const auto real = directory_ / "real.json";
    std::filesystem::rename(file(), real);
    std::filesystem::create_symlink(real, file());
    EXPECT_EQ(ServiceConfiguration::loadUserFile()->storefront, "gb");

    std::filesystem::remove(file());
    EXPECT_FALSE(ServiceConfiguration::loadUserFile());
}

TEST_F(ServiceConfigurationFileTests, TheDisplayNameIsReadWhenItIsAText) {
    write(R"({"apiBase":"https://a.example","developerToken":"d","userToken":"u","storefront":"gb",)"
          R"("displayName":"Riverside Radio"})");
    EXPECT_EQ(ServiceConfiguration::loadUserFile()->displayName, "Riverside Radio");
    write(R"({"apiBase":"https://a.example","developerToken":"d","userToken":"u","storefront":"gb",)"
          R"("displayName":12})");
    EXPECT_EQ(ServiceConfiguration::loadUserFile()->displayName, "");
}

} // namespace
