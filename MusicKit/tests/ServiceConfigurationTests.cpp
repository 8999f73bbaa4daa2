#include "ConfigurationFolderTest.h"

#include <MusicKit/ServiceConfiguration.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using MusicKit::ServiceConfiguration;
using MusicKit::ServiceConfigurationError;

namespace {

using ServiceConfigurationTests = MusicKit::Testing::ConfigurationFolderTest;

std::string configurationJSON(const std::string& apiBase) {
    return R"({"apiBase":")" + apiBase +
           R"(","developerToken":"dev-SECRET","userToken":"user-SECRET","storefront":"gb","other":1})";
}

} // namespace

TEST_F(ServiceConfigurationTests, TheUserFileIsFoundInTheXDGConfigFolder) {
    EXPECT_EQ(ServiceConfiguration::userFilePath(), directory_ / "Marrowbell" / "service.json");
    EXPECT_FALSE(ServiceConfiguration::loadUserFile());

    write(configurationJSON("https://api.example.com:8443//"));
    const auto configuration = ServiceConfiguration::loadUserFile();
    ASSERT_TRUE(configuration);
    EXPECT_EQ(configuration->apiBase, "https://api.example.com:8443");
    EXPECT_EQ(configuration->developerToken, "dev-SECRET");
    EXPECT_EQ(configuration->userToken, "user-SECRET");
    EXPECT_EQ(configuration->storefront, "gb");

    const auto inHome =
        std::filesystem::path(std::getenv("HOME")) / ".config" / "Marrowbell" / "service.json";
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(ServiceConfiguration::userFilePath(), inHome);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ServiceConfiguration::userFilePath(), inHome);
}

TEST_F(ServiceConfigurationTests, AnInvalidFileFailsWithoutQuotingTheTokens) {
    for (const std::string& contents :
         {configurationJSON("https://api.example.com/v1"), configurationJSON("ftp://api.example.com"),
          configurationJSON("https://"), configurationJSON("https://api example.com"),
          std::string(R"({"apiBase":"https://a.example","developerToken":"dev-SECRET","storefront":"us"})"),
          std::string(R"({"apiBase":"https://a.example","developerToken":"dev-SECRET",)")}) {
        write(contents);
        try {
            ServiceConfiguration::loadUserFile();
            ADD_FAILURE() << contents;
        } catch (const ServiceConfigurationError& error) {
            EXPECT_EQ(std::string(error.what()).find("SECRET"), std::string::npos) << error.what();
        }
    }
}

TEST(CurrentServiceConfigurationTests, IsSetInCodeAndClearedAgain) {
    ServiceConfiguration configuration;
    configuration.apiBase = "http://127.0.0.1:1";
    ServiceConfiguration::setCurrent(configuration);
    EXPECT_EQ(ServiceConfiguration::current()->apiBase, "http://127.0.0.1:1");
    ServiceConfiguration::setCurrent(std::nullopt);
    EXPECT_FALSE(ServiceConfiguration::current());
}
