#include "MarrowbellCore/Store/SQLError.h"
#include "StoreFixture.h"

#include <Foundation/CancellationError.h>
#include <UnifiedLog/LogStore.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <random>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MarrowbellCore {
namespace {

using Testing::TemporaryDirectory;

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

/// Whether SQLite's write-ahead log beside `path` holds anything (a log left empty changes nothing).
bool hasLoggedWrites(const std::string& path) {
    return !fileBytes(path + "-wal").empty();
}

IncomingSong librarySong(const std::string& identifier, const std::string& title) {
    IncomingSong song;
    song.identifier = identifier;
    song.title = title;
    song.playParameters = MusicKit::PlayParameters{identifier, "song"};
    return song;
}

/// A closed library of a few hundred pages, songs and albums mixed through the file.
void writeLibrary(const std::string& path) {
    LocalDatabase store(path);
    store.open();
    for (int batch = 0; batch < 10; ++batch) {
        std::vector<IncomingSong> songs;
        for (int i = 0; i < 200; ++i) {
            const auto number = std::to_string(batch * 200 + i);
            songs.push_back(librarySong("i." + number, "A song title long enough " + number));
        }
        store.insert(songs);
        store.insert(std::vector{IncomingAlbum{"l." + std::to_string(batch), "Album"}});
    }
    store.close();
}

/// Overwrites `count` pages in the middle of the file with random bytes, as a failing disk might.
void damagePages(const std::string& path, int count) {
    constexpr std::size_t pageSize = 4096;
    std::string bytes = fileBytes(path);
    ASSERT_GT(bytes.size(), pageSize * static_cast<std::size_t>(count) * 3)
        << "too small to damage the middle";
    std::mt19937 random(7);
    const std::size_t first = (bytes.size() / pageSize / 2) * pageSize;
    std::generate_n(bytes.begin() + static_cast<std::ptrdiff_t>(first), pageSize * count,
                    [&] { return static_cast<char>(random()); });
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void expectDamaged(const SQLError& error, const std::string& path) {
    EXPECT_EQ(error.kind, SQLError::Kind::damaged) << error.what();
    EXPECT_NE(error.message.find("The library file " + path + " is damaged"), std::string::npos)
        << error.message;
}

class DamagedFileTest : public testing::Test {
protected:
    void SetUp() override {
        Testing::resetLog();
        writeLibrary(path);
        damagePages(path, 20);
        damagedBytes = fileBytes(path);
    }

    /// A store on the damaged file that counts the damage it reports.
    std::unique_ptr<LocalDatabase> storeOnDamagedFile() {
        auto store = std::make_unique<LocalDatabase>(path);
        store->setDamageObserver([this](const SQLError& error) {
            ++damageReports;
            expectDamaged(error, path);
        });
        return store;
    }

    /// Every later call fails as damaged, a write included, and the file stays as it was.
    void expectNothingMoreReadOrWritten(LocalDatabase& store) {
        try {
            store.sync(std::vector{IncomingPlaylist{"p.new", "Written"}});
            ADD_FAILURE() << "a damaged file was written";
        } catch (const SQLError& error) {
            expectDamaged(error, path);
        }
        EXPECT_THROW(store.insert(std::vector{librarySong("i.new", "New")}), SQLError);
        EXPECT_THROW(store.allAlbums(), SQLError);
        store.close();
        EXPECT_EQ(damageReports, 1);
        EXPECT_TRUE(fileBytes(path) == damagedBytes) << "the damaged file was changed";
        EXPECT_FALSE(hasLoggedWrites(path));
    }

    TemporaryDirectory directory;
    const std::string path = directory.file("local.db");
    std::string damagedBytes;
    // The check of the file reports from a thread of its own.
    std::atomic<int> damageReports = 0;
};

TEST_F(DamagedFileTest, IsRefusedByTheCheckOfItsOpenAndLeftByteForByte) {
    auto store = storeOnDamagedFile();
    store->open();
    // The write waits for the check that the open started, and its failure.
    try {
        store->insert(std::vector{librarySong("i.new", "New")});
        FAIL() << "a damaged file was written";
    } catch (const SQLError& error) {
        expectDamaged(error, path);
        EXPECT_NE(error.message.find("database disk image is malformed"), std::string::npos) << error.message;
    }
    expectNothingMoreReadOrWritten(*store);
}

TEST_F(DamagedFileTest, DamageMetByAReadStopsEveryLaterWrite) {
    // Without the check of the open, the damage shows only when a read reaches it.
    auto store = storeOnDamagedFile();
    try {
        store->allSongs();
        FAIL() << "a damaged song table read as complete";
    } catch (const SQLError& error) {
        expectDamaged(error, path);
    }
    expectNothingMoreReadOrWritten(*store);
}

/// While it lives, holds every read of a database that SQLite opens for reading only (the store's check of
/// its file) until `release()`, or for 30 s at most, by standing in for SQLite's default file system.
class ReadOnlyReadGate {
public:
    ReadOnlyReadGate()
        : base_(sqlite3_vfs_find(nullptr))
        , vfs_(*base_) {
        vfs_.zName = "read-only-read-gate";
        vfs_.xOpen = &openFile;
        current = this;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~ReadOnlyReadGate() {
        release();
        sqlite3_vfs_unregister(&vfs_);
        current = nullptr;
    }
    ReadOnlyReadGate(const ReadOnlyReadGate&) = delete;
    ReadOnlyReadGate& operator=(const ReadOnlyReadGate&) = delete;

    bool waitUntilHolding() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return holding_ > 0; });
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
    }

private:
    static int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
        const int result = current->base_->xOpen(current->base_, name, file, flags, outFlags);
        if (result == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_DB) && (flags & SQLITE_OPEN_READONLY)) {
            // The file stays the default file system's own; only its reads pass through the gate first.
            current->baseMethods_ = file->pMethods;
            current->methods_ = *file->pMethods;
            current->methods_.xRead = &readFile;
            file->pMethods = &current->methods_;
        }
        return result;
    }
    static int readFile(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
        current->hold();
        return current->baseMethods_->xRead(file, buffer, amount, offset);
    }
    void hold() {
        std::unique_lock lock(mutex_);
        ++holding_;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::seconds(30), [this] { return released_; });
    }

    static inline ReadOnlyReadGate* current = nullptr;
    sqlite3_vfs* base_;
    sqlite3_vfs vfs_;
    const sqlite3_io_methods* baseMethods_ = nullptr;
    sqlite3_io_methods methods_{};
    std::mutex mutex_;
    std::condition_variable changed_;
    int holding_ = 0;
    bool released_ = false;
};

TEST(StoreFileTests, ReadsGoAheadWhileTheFileIsCheckedAndWritesWaitForTheCheck) {
    TemporaryDirectory directory;
    const std::string path = directory.file("local.db");
    writeLibrary(path);
    ReadOnlyReadGate gate;
    LocalDatabase store(path);
    store.open();
    ASSERT_TRUE(gate.waitUntilHolding()) << "the file is not checked beside the store's own reads";

    EXPECT_EQ(store.allSongs().size(), 2000u);
    std::stop_source stopped;
    auto cancelled = std::async(std::launch::async, [&] {
        store.sync(std::vector{IncomingPlaylist{"p.cancelled", "Cancelled"}}, stopped.get_token());
    });
    auto written = std::async(std::launch::async, [&] {
        store.insert(std::vector{IncomingPlaylist{"p.new", "Written"}});
    });
    EXPECT_EQ(written.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout)
        << "a write went ahead of the check";
    stopped.request_stop();
    ASSERT_EQ(cancelled.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_THROW(cancelled.get(), Foundation::CancellationError);
    gate.release();
    ASSERT_EQ(written.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    written.get();
    EXPECT_EQ(store.allPlaylists().size(), 1u);
    store.close();
}

TEST(StoreFileTests, AnSQLiteFileOfSomethingElseIsNotALibraryAndStaysUntouched) {
    TemporaryDirectory directory;
    const std::string path = directory.file("local.db");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('keep me');", nullptr,
                     nullptr, nullptr);
        sqlite3_close(db);
    }
    const auto before = fileBytes(path);
    LocalDatabase store(path);
    try {
        store.open();
        FAIL() << "another program's file was taken for a library";
    } catch (const SQLError& error) {
        EXPECT_EQ(error.kind, SQLError::Kind::notALibrary);
        EXPECT_NE(error.message.find("The file " + path + " is not a Marrowbell library"), std::string::npos)
            << error.message;
        EXPECT_NE(error.message.find("(notes)"), std::string::npos) << error.message;
    }
    EXPECT_FALSE(store.isOpen());
    store.close();
    EXPECT_TRUE(fileBytes(path) == before);
    EXPECT_EQ(Testing::queryText(path, "SELECT name FROM sqlite_master"), std::vector<std::string>{"notes"});
}

TEST(StoreFileTests, ItsFaultsAreLoggedUnderTheCoreSubsystemAndTheStoreCategory) {
    Testing::resetLog();
    TemporaryDirectory directory;
    const std::string path = directory.file("local.db");
    std::ofstream(path) << std::string(4096, 'x');
    LocalDatabase store(path);
    EXPECT_THROW(store.open(), SQLError);
    const auto entries = Testing::coreLogEntries();
    const auto cacheSize =
        std::find_if(entries.begin(), entries.end(), [](const UnifiedLog::LogEntry& entry) {
            return entry.message.starts_with("Failed to set cache size");
        });
    ASSERT_NE(cacheSize, entries.end()) << "no core log line for the failed set-up";
    EXPECT_EQ(cacheSize->category, "store");
    for (const auto& entry : UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::debug, "")) {
        EXPECT_FALSE(entry.subsystem.empty() || entry.category.empty()) << entry.message;
    }
}

/// Runs `open` where the library's folder may not be written: as the unprivileged user when this test runs
/// as root, whom permissions do not stop. Gives the error's text on standard error and exits with 0 for a
/// `notWritable` error.
void openAsUnprivilegedUser(const std::string& path) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
        std::_Exit(3);
    }
    try {
        LocalDatabase store(path);
        store.open();
    } catch (const SQLError& error) {
        std::fputs(error.what(), stderr);
        std::_Exit(error.kind == SQLError::Kind::notWritable ? 0 : 1);
    }
    std::_Exit(2);
}

TEST(StoreFileTests, AFolderThatCannotBeWrittenIsNamedInTheError) {
    TemporaryDirectory directory;
    const auto folder = directory.path() / "Marrowbell";
    const std::string path = (folder / "local.db").string();
    std::filesystem::create_directory(folder);
    writeLibrary(path);
    ASSERT_EQ(chmod(directory.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    const std::string expected = "The folder " + folder.string() + " is not writable";

    EXPECT_EXIT(openAsUnprivilegedUser(path), testing::ExitedWithCode(0), expected);
    // With no file yet, the file itself cannot be made.
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    std::filesystem::remove(path);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    EXPECT_EXIT(openAsUnprivilegedUser(path), testing::ExitedWithCode(0),
                "Failed to open database: " + expected);
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
}

} // namespace
} // namespace MarrowbellCore
