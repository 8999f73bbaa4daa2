#include <UnifiedLog/LogStore.h>
#include <UnifiedLog/Logger.h>
#include <gtest/gtest.h>
#include <stdexcept>

namespace UnifiedLog {
namespace {

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogStore::shared().setEchoToStandardError(false);
        LogStore::shared().removeAll();
    }
};

TEST_F(LoggerTest, FillsPlaceholdersInOrderAndKeepsTheFormat) {
    const Logger logger("com.example", "search");
    logger.info("Search completed in %f seconds for query: %s", {0.25, " word "});
    logger.error("Failed to load songs: %@", {std::runtime_error("disk full")});
    const auto entries = LogStore::shared().entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].message, "Search completed in 0.250000 seconds for query:  word ");
    EXPECT_EQ(entries[0].category, "search");
    EXPECT_EQ(entries[1].format, "Failed to load songs: %@");
    EXPECT_EQ(entries[1].message, "Failed to load songs: disk full");
    EXPECT_EQ(LogStore::shared().entries(LogLevel::error).size(), 1u);
}

TEST_F(LoggerTest, LeavesUnfilledPlaceholdersAndKeepsOnlyTheNewestEntries) {
    EXPECT_EQ(formatLogMessage("%@ and %@, 100%", {"one"}), "one and %@, 100%");
    const Logger logger("com.example", "sync");
    for (std::size_t i = 0; i < LogStore::capacity + 5; ++i) {
        logger.debug("entry %d", {static_cast<int>(i)});
    }
    const auto entries = LogStore::shared().entries();
    ASSERT_EQ(entries.size(), LogStore::capacity);
    EXPECT_EQ(entries.front().message, "entry 5");
}

} // namespace
} // namespace UnifiedLog
