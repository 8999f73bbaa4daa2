#include "App/LibraryUnavailableBox.h"
#include "AppTestEnvironment.h"
#include "MainWindow/AppModels.h"
#include "Platform/DefaultsKeys.h"
#include "Windows/MainWindow.h"

#include <MarrowbellCore/Store/SQLError.h>
#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace Marrowbell {
namespace {

constexpr int waitMs = 30000;

QByteArray sha256Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

constexpr qint64 pageSize = 4096;

/// Overwrites `count` pages from page `first` (counted from 1) with random bytes, leaving the file's length.
void damagePages(const QString& path, qint64 first, int count) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GE(file.size(), (first - 1 + count) * pageSize);
    QByteArray noise(static_cast<qsizetype>(pageSize * count), '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    }
    ASSERT_TRUE(file.seek((first - 1) * pageSize));
    ASSERT_EQ(file.write(noise), noise.size());
}

/// Overwrites 20 pages in the middle of the file, as a failing disk might.
void damageTheMiddle(const QString& path) {
    const qint64 pages = QFileInfo(path).size() / pageSize;
    ASSERT_GT(pages, 60) << "too small to damage the middle";
    damagePages(path, pages / 2, 20);
}

/// The first page of the Songs table, which every read of songs passes through.
qint64 songsRootPage(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    qint64 page = 0;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = 'Songs'", -1, &statement,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        page = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return page;
}

/// The application's environment and models on a library in a temporary folder, with the main window where
/// the application shows its messages, and the demo service in-process.
class LibraryUnavailableTests : public testing::Test {
protected:
    static constexpr std::size_t demoSongCount = 1000;

    void TearDown() override { quit(); }

    QString databasePath() const { return folder_.filePath(QStringLiteral("local.db")); }

    void start() {
        environment_ = Testing::makeAppEnvironment(folder_, demoSongCount);
        QObject::connect(environment_.get(), &AppEnvironment::storeUnavailable, &window_,
                         [this](const QString& message) {
                             ++messages_;
                             showLibraryUnavailable(&window_, message);
                         });
        models_ = std::make_unique<AppModels>(*environment_);
        window_.show();
    }

    void quit() {
        models_.reset();
        if (environment_) {
            environment_->shutDown();
            environment_.reset();
        }
    }

    /// Runs the full sync the application runs at its first start, and waits for it to end.
    void runFirstSync() {
        environment_->defaults().setValue(DefaultsKeys::performedFullSync, false);
        ASSERT_TRUE(Testing::finishes(models_->main->performFullSync(), waitMs));
    }

    /// The text of the "Library Unavailable" box once it shows, or nothing.
    QString libraryUnavailableText() {
        QString text;
        const bool shown = QTest::qWaitFor(
            [&] {
                for (auto* box : window_.findChildren<QMessageBox*>()) {
                    if (box->isVisible() && box->windowTitle() == QStringLiteral("Library Unavailable")) {
                        text = box->text();
                    }
                }
                return !text.isEmpty();
            },
            waitMs);
        return shown ? text : QString();
    }

    QTemporaryDir folder_;
    MainWindow window_{QStringLiteral("Marrowbell Demo")};
    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<AppModels> models_;
    int messages_ = 0;
};

TEST_F(LibraryUnavailableTests, ADamagedLibraryIsShownOnceAndASyncWritesNothingIntoIt) {
    start();
    runFirstSync();
    ASSERT_TRUE(environment_->defaults().boolValue(DefaultsKeys::performedFullSync));
    quit();
    damageTheMiddle(databasePath());
    const QByteArray damaged = sha256Of(databasePath());

    start();
    const QString text = libraryUnavailableText();
    EXPECT_TRUE(text.contains(QStringLiteral("The library file %1 is damaged").arg(databasePath())))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Reset Data"))) << text.toStdString();
    runFirstSync();
    EXPECT_FALSE(environment_->defaults().boolValue(DefaultsKeys::performedFullSync));
    quit();
    EXPECT_EQ(messages_, 1);
    EXPECT_EQ(sha256Of(databasePath()), damaged);
    EXPECT_TRUE(sha256Of(databasePath() + QStringLiteral("-wal")).isEmpty() ||
                QFile(databasePath() + QStringLiteral("-wal")).size() == 0);
}

TEST_F(LibraryUnavailableTests, DamageFoundByAReadAfterTheOpenIsShownOnceAndEndsEveryStoreCall) {
    start();
    runFirstSync();
    quit();
    const qint64 songsPage = songsRootPage(databasePath());
    ASSERT_GT(songsPage, 0);
    start();
    // A write, even of nothing, waits for the check of the file that the open starts: here it is to pass.
    ASSERT_TRUE(Testing::finishes(environment_->store().run(
        [](MarrowbellCore::LocalDatabase& database) { database.removePlaylists({}); })));
    // Another connection's commit makes the store read its pages from the file again.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &other), SQLITE_OK);
    sqlite3_exec(other, "PRAGMA user_version = 2", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    damagePages(databasePath(), songsPage, 1);
    const QByteArray damaged = sha256Of(databasePath());

    auto read = environment_->store().run(
        [](MarrowbellCore::LocalDatabase& database) { return database.allSongs().size(); });
    ASSERT_TRUE(Testing::finishes(read));
    EXPECT_THROW(read.result(), MarrowbellCore::SQLError);
    const QString text = libraryUnavailableText();
    EXPECT_TRUE(text.contains(QStringLiteral("The library file %1 is damaged").arg(databasePath())))
        << text.toStdString();
    auto write = environment_->store().run([](MarrowbellCore::LocalDatabase& database) {
        database.insert(std::vector{MarrowbellCore::IncomingPlaylist{"p.new", "New"}});
    });
    ASSERT_TRUE(Testing::finishes(write));
    EXPECT_THROW(write.waitForFinished(), StoreUnavailableError);
    runFirstSync();
    EXPECT_FALSE(environment_->defaults().boolValue(DefaultsKeys::performedFullSync));
    quit();
    EXPECT_EQ(messages_, 1);
    EXPECT_EQ(sha256Of(databasePath()), damaged);
}

TEST_F(LibraryUnavailableTests, AnotherProgramsDatabaseIsShownAsNoLibraryAndLeftUntouched) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE contacts (name TEXT); INSERT INTO contacts VALUES ('Ada')", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray before = sha256Of(databasePath());

    start();
    const QString text = libraryUnavailableText();
    EXPECT_TRUE(text.contains(QStringLiteral("The file %1 is not a Marrowbell library").arg(databasePath())))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Reset Data")))
        << "Reset Data would delete the other program's file";
    runFirstSync();
    quit();
    EXPECT_EQ(sha256Of(databasePath()), before);
}

} // namespace
} // namespace Marrowbell
