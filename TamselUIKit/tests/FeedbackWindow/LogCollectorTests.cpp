#include <TamselUIKit/LogCollector.h>
#include <UnifiedLog/LogStore.h>
#include <UnifiedLog/Logger.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

class LogCollectorTest : public ::testing::Test {
protected:
    void SetUp() override { UnifiedLog::LogStore::shared().removeAll(); }
    void TearDown() override { UnifiedLog::LogStore::shared().removeAll(); }

    const UnifiedLog::Logger logger{"com.example.kit", "feedback"};
};

TEST_F(LogCollectorTest, TakesTheProcesssErrorsAndFaultsOldestFirstWithTheirLevelCodes) {
    logger.notice("Opened %@", {"library"});
    logger.error("Disk is full: %@", {"sda"});
    logger.debug("Scrolling");
    logger.fault("Store damaged; 100% lost");
    EXPECT_EQ(collectLogs(IncludedLogs::currentProcess()),
              u"com.example.kit; feedback; 4; Disk is full: sda\n"
              u"com.example.kit; feedback; 5; Store damaged; 100% lost\n"_s);
}

TEST_F(LogCollectorTest, WithoutErrorsTheTextIsEmpty) {
    logger.info("All well");
    EXPECT_TRUE(collectLogs(IncludedLogs::currentProcess()).isEmpty());
}

TEST_F(LogCollectorTest, KeepsOnlyTheNewestLinesThatFit) {
    logger.error("first");
    logger.error("second");
    logger.error("third");
    const QString newest = u"com.example.kit; feedback; 4; second\ncom.example.kit; feedback; 4; third\n"_s;
    EXPECT_EQ(collectLogs(IncludedLogs::currentProcess(), static_cast<std::size_t>(newest.size())), newest);
    EXPECT_EQ(collectLogs(IncludedLogs::currentProcess(), 10), QString());
}

TEST_F(LogCollectorTest, AnotherProcessWithNoReadableEntriesGivesEmptyText) {
    logger.error("Only in this process");
    EXPECT_TRUE(collectLogs(IncludedLogs::process(u"no-such-prôcess-8f3a"_s)).isEmpty());
}

} // namespace
} // namespace TamselUIKit
