// A program that links the core and the music kit (and the log) itself, as the application does, must hold
// one copy of each library's process-wide state: what the program sets, the core sees, and the other way
// round.

#include "StoreTestSupport.h"

#include <DemoService/DemoServiceTest.h>
#include <MarrowbellCore/Logging/Loggers.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/ServiceConfiguration.h>
#include <UnifiedLog/LogStore.h>
#include <memory>

namespace MarrowbellCore {
namespace {

class LinkShapeTest : public DemoService::Testing::DemoServiceTest<40, 5> {
protected:
    void SetUp() override {
        DemoServiceTest::SetUp();
        Testing::resetLog();
        store->open();
    }

    Testing::TemporaryDirectory directory;
    std::shared_ptr<LocalDatabase> store = std::make_shared<LocalDatabase>(directory.file("local.db"));
};

TEST_F(LinkShapeTest, TheCoreSeesTheServiceConfigurationTheProgramSets) {
    MusicKit::ServiceConfiguration::setCurrent(std::nullopt);
    EXPECT_THROW(SyncEngine(store).syncPlaylists(), MusicKit::ServiceConfigurationError);

    MusicKit::ServiceConfiguration::setCurrent(service->configuration());
    SyncEngine(store).syncPlaylists();
    EXPECT_EQ(store->allPlaylists().size(), library().playlists.size());
}

TEST_F(LinkShapeTest, TheProgramReadsWhatTheCoreLogs) {
    store->close();
    EXPECT_TRUE(store->search("anything").empty());
    const auto entries =
        UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::error, Loggers::subsystem);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].format, "Could not search playlists: %@");
}

} // namespace
} // namespace MarrowbellCore
