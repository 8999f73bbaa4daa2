#include "ModelTestFixture.h"

#include <QElapsedTimer>
#include <UnifiedLog/LogStore.h>
#include <sqlite3.h>
#include <string>

namespace Marrowbell::Testing {
namespace {

/// The first column of the one row `sql` gives on a connection of its own, or nothing.
std::optional<std::string> queryText(const QString& path, const char* sql) {
    std::optional<std::string> text;
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(connection);
    return text;
}

/// A library large enough that storing its songs and rebuilding its album and artist lists take seconds
/// in a sanitizer build.
class QuitDuringSyncTest : public ::testing::Test {
protected:
    static constexpr std::size_t songCount = 30000;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        environment = makeAppEnvironment(folder, songCount);
        player = std::make_unique<MusicKit::ApplicationMusicPlayer>();
        model = std::make_unique<MainViewModel>(*environment, *player);
        UnifiedLog::LogStore::shared().removeAll();
    }

    void TearDown() override {
        model.reset();
        player.reset();
        environment.reset();
    }

    QString databasePath() const { return folder.filePath(QStringLiteral("local.db")); }

    /// Whether the store has committed every song of the library, which it does just before the album and
    /// artist song lists are rebuilt.
    bool songsAreStored() const {
        return queryText(databasePath(), "SELECT count(*) FROM Songs") == std::to_string(songCount);
    }

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<MusicKit::ApplicationMusicPlayer> player;
    std::unique_ptr<MainViewModel> model;
};

TEST_F(QuitDuringSyncTest, QuitDuringTheRelationRebuildEndsTheSyncWithinASecondAndKeepsTheFileIntact) {
    const QFuture<void> started = model->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return songsAreStored() || started.isFinished(); }, 300000));
    ASSERT_FALSE(started.isFinished()) << "the sync ended before the rebuild could be interrupted";

    QElapsedTimer quitting;
    quitting.start();
    environment->shutDown();
    EXPECT_LE(quitting.elapsed(), 1000);

    for (const auto& entry : UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::error)) {
        EXPECT_EQ(entry.message.find("still"), std::string::npos) << entry.message;
    }
    EXPECT_FALSE(environment->defaults().boolValue(DefaultsKeys::performedFullSync));
    EXPECT_EQ(queryText(databasePath(), "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(queryText(databasePath(), "SELECT count(*) FROM Songs"), std::to_string(songCount));
}

} // namespace
} // namespace Marrowbell::Testing
