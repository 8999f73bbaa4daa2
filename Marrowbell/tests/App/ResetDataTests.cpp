#include "App/ResetData.h"
#include "Platform/Defaults.h"
#include "Platform/DefaultsKeys.h"
#include "Store/SharedStore.h"

#include <MarrowbellCore/Store/IncomingPlaylist.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <UnifiedLog/LogStore.h>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

class ResetDataTests : public testing::Test {
protected:
    QString databasePath() const { return directory_.filePath(QStringLiteral("Marrowbell/local.db")); }

    /// Runs the reset and waits (bounded) for its quit.
    bool reset() {
        bool quit = false;
        QObject context;
        resetData(store_, defaults_, &context, [&quit] { quit = true; });
        return QTest::qWaitFor([&] { return quit; }, 5000);
    }

    QTemporaryDir directory_;
    SharedStore store_{databasePath()};
    Defaults defaults_{directory_.filePath(QStringLiteral("Marrowbell/Marrowbell.conf"))};
};

TEST_F(ResetDataTests, RemovesTheDatabaseWithItsCompanionsAndTheSettings) {
    store_.open();
    store_
        .run([](MarrowbellCore::LocalDatabase& database) {
            MarrowbellCore::IncomingPlaylist playlist;
            playlist.identifier = "p.1";
            playlist.name = "Mix";
            database.insert(std::vector{playlist});
        })
        .waitForFinished();
    ASSERT_TRUE(QFile::exists(databasePath() + QStringLiteral("-wal")));
    defaults_.setValue(DefaultsKeys::performedFullSync, true);
    defaults_.setValue(DefaultsKeys::fontWeight, 3);
    ASSERT_TRUE(defaults_.sync());

    ASSERT_TRUE(reset());

    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        EXPECT_FALSE(QFile::exists(databasePath() + suffix)) << suffix.toStdString();
    }
    EXPECT_TRUE(QFile::exists(directory_.filePath(QStringLiteral("Marrowbell"))));
    const Defaults reread(defaults_.filePath());
    EXPECT_FALSE(reread.boolValue(DefaultsKeys::performedFullSync));
    EXPECT_FALSE(reread.storedValue(DefaultsKeys::fontWeight).isValid());
    EXPECT_THROW(store_.run([](MarrowbellCore::LocalDatabase&) {}).waitForFinished(), StoreUnavailableError);
}

TEST_F(ResetDataTests, AMissingDatabaseIsLoggedAndTheResetStillQuits) {
    store_.open();
    ASSERT_TRUE(QFile::remove(databasePath()));
    defaults_.setValue(DefaultsKeys::performedFullSync, true);
    UnifiedLog::LogStore::shared().removeAll();

    ASSERT_TRUE(reset());

    EXPECT_FALSE(defaults_.boolValue(DefaultsKeys::performedFullSync));
    const auto errors = UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::error);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back().format, "Failed to remove local database: %@");
    EXPECT_EQ(errors.back().category, "sync");
}

} // namespace
} // namespace Marrowbell
