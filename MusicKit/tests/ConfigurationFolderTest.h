#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace MusicKit::Testing {

/// Points XDG_CONFIG_HOME at a fresh folder for the length of a test; `file()` is its service.json.
class ConfigurationFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("marrowbell-config-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_ / "Marrowbell");
        ::setenv("XDG_CONFIG_HOME", directory_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(directory_);
    }

    std::filesystem::path file() const { return directory_ / "Marrowbell" / "service.json"; }
    void write(const std::string& contents) const { std::ofstream(file(), std::ios::binary) << contents; }

    std::filesystem::path directory_;
};

} // namespace MusicKit::Testing
