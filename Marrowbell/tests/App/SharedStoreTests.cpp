#include "App/AppEnvironment.h"
#include "Store/SharedStore.h"

#include <MarrowbellCore/Store/SQLError.h>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

class SharedStoreTests : public testing::Test {
protected:
    QString databasePath() const { return directory_.filePath(QStringLiteral("Marrowbell/local.db")); }

    void writeGarbageDatabase() const {
        QDir().mkpath(directory_.filePath(QStringLiteral("Marrowbell")));
        QFile file(databasePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }

    QTemporaryDir directory_;
};

TEST_F(SharedStoreTests, CreatesItsFolderAndRunsCallsOnceOpen) {
    SharedStore store(databasePath());
    EXPECT_TRUE(QFile::exists(databasePath()));
    store.open().waitForFinished();
    auto playlists =
        store.run([](MarrowbellCore::LocalDatabase& database) { return database.allPlaylists(); });
    EXPECT_TRUE(playlists.result().empty());
    EXPECT_TRUE(store.database()->isOpen());
}

TEST_F(SharedStoreTests, AFailedOpenMakesEveryLaterCallFailClearly) {
    writeGarbageDatabase();
    SharedStore store(databasePath());
    EXPECT_THROW(store.open().waitForFinished(), MarrowbellCore::SQLError);
    auto read = store.run([](MarrowbellCore::LocalDatabase& database) { return database.allSongs(); });
    try {
        read.waitForFinished();
        FAIL() << "a read on a store that did not open succeeded";
    } catch (const StoreUnavailableError& error) {
        EXPECT_NE(std::string(error.what())
                      .find("unavailable: The library file " + databasePath().toStdString() +
                            " is damaged (file is not a database)"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(store.database(), StoreUnavailableError);
}

TEST_F(SharedStoreTests, CallsAfterTheCloseFailAsClosed) {
    SharedStore store(databasePath());
    store.open();
    store.close().waitForFinished();
    EXPECT_THROW(store.run([](MarrowbellCore::LocalDatabase&) {}).waitForFinished(), StoreUnavailableError);
}

TEST_F(SharedStoreTests, AFolderThatCannotBeMadeIsACreationErrorNamingIt) {
    QFile blocker(directory_.filePath(QStringLiteral("Marrowbell")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        SharedStore store(databasePath());
        FAIL() << "a store was made below a file";
    } catch (const StoreCreationError& error) {
        EXPECT_NE(
            std::string(error.what()).find("Could not create the folder " + directory_.path().toStdString()),
            std::string::npos)
            << error.what();
    }
}

TEST_F(SharedStoreTests, TheEnvironmentAnnouncesAFailedOpen) {
    writeGarbageDatabase();
    AppEnvironment environment({.databasePath = databasePath(),
                                .settingsPath = directory_.filePath(QStringLiteral("Marrowbell.conf")),
                                .demoSongCount = 20});
    QSignalSpy failures(&environment, &AppEnvironment::storeUnavailable);
    ASSERT_TRUE(failures.wait(5000));
    EXPECT_TRUE(failures.at(0).at(0).toString().contains(QStringLiteral("file is not a database")));
    EXPECT_TRUE(environment.service().isDemo());
    EXPECT_EQ(environment.service().displayName(), QStringLiteral("Marrowbell Demo"));
}

} // namespace
} // namespace Marrowbell
