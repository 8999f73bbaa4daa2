#include "CacheFileDates.h"
#include "TamselUIKit/CacheKey.h"
#include "TamselUIKit/InMemoryDiskBackedSecureCodedCache.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace TamselUIKit;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

struct Playlist {
    QString title;
    qint32 songCount = 0;
    bool operator==(const Playlist&) const = default;
};

QDataStream& operator<<(QDataStream& stream, const Playlist& playlist) {
    return stream << playlist.title << playlist.songCount;
}

QDataStream& operator>>(QDataStream& stream, Playlist& playlist) {
    return stream >> playlist.title >> playlist.songCount;
}

struct Station {
    QString title;
    qint32 songCount = 0;
};

QDataStream& operator<<(QDataStream& stream, const Station& station) {
    return stream << station.title << station.songCount;
}

QDataStream& operator>>(QDataStream& stream, Station& station) {
    return stream >> station.title >> station.songCount;
}

using PlaylistCache = InMemoryDiskBackedSecureCodedCache<Playlist>;

class SecureCodedCacheTest : public ::testing::Test {
protected:
    QString filePath(const QString& storedKey) const { return folder_.filePath(storedKey + u".dat"_s); }
    QDir directory() const { return QDir(folder_.path()); }

    QTemporaryDir folder_;
    const Playlist road{u"Road Songs"_s, 12};
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(CacheKey, HashedKeysAreSixtyFourUpperCaseHexDigits) {
    const QRegularExpression hex(u"^[0-9A-F]{64}$"_s);
    for (const QString& key : {QString(), u"abc"_s, QString(5000, u'x'), u"Björk – Homogenic/../"_s}) {
        EXPECT_TRUE(hex.match(cacheKey(key, true)).hasMatch()) << key.toStdString();
    }
    EXPECT_EQ(cacheKey(u"abc"_s, true),
              u"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"_s);
    EXPECT_EQ(cacheKey(u"abc"_s, false), u"abc"_s);
}

TEST_F(SecureCodedCacheTest, FilesAreNamedByTheStoredKey) {
    PlaylistCache hashed(directory(), true);
    hashed.setObject(road, u"playlist 7"_s);
    EXPECT_TRUE(QFile::exists(filePath(cacheKey(u"playlist 7"_s, true))));

    PlaylistCache plain(directory(), false);
    plain.setObject(road, u"playlist-8"_s);
    EXPECT_TRUE(QFile::exists(filePath(u"playlist-8"_s)));
}

TEST_F(SecureCodedCacheTest, UnhashedKeysThatAreNotPlainFileNamesStoreNothing) {
    PlaylistCache plain(QDir(folder_.filePath(u"inner"_s)), false);
    for (const QString& key : {u"../escape"_s, u"a/b"_s, u".."_s, QString()}) {
        EXPECT_THROW(plain.setObject(road, key), std::invalid_argument) << key.toStdString();
        EXPECT_EQ(plain.object(key), std::nullopt);
        plain.removeObject(key);
    }
    EXPECT_FALSE(QFile::exists(folder_.filePath(u"escape.dat"_s)));
    EXPECT_TRUE(QDir(folder_.filePath(u"inner"_s)).isEmpty());
}

TEST_F(SecureCodedCacheTest, DiskHitPromotesAndRefreshesTheDateButAMemoryHitDoesNot) {
    PlaylistCache(directory(), true).setObject(road, u"road"_s);
    const QString path = filePath(cacheKey(u"road"_s, true));
    CacheFileDates::setAge(path, 1h);

    PlaylistCache reader(directory(), true);
    EXPECT_EQ(reader.object(u"road"_s), road);
    ASSERT_TRUE(CacheFileDates::waitForDateRefreshes());
    EXPECT_LT(CacheFileDates::age(path), 60s);

    CacheFileDates::setAge(path, 1h);
    EXPECT_EQ(reader.object(u"road"_s), road);
    ASSERT_TRUE(CacheFileDates::waitForDateRefreshes());
    EXPECT_GE(CacheFileDates::age(path), 59min);

    QFile::remove(path);
    EXPECT_EQ(reader.object(u"road"_s), road);
}

TEST_F(SecureCodedCacheTest, AfterEmptyingMemoryTheValueComesFromDisk) {
    PlaylistCache cache(directory(), true);
    cache.setObject(road, u"road"_s);
    const Playlist renamed{u"Back Roads"_s, 13};
    PlaylistCache(directory(), true).setObject(renamed, u"road"_s);

    EXPECT_EQ(cache.object(u"road"_s), road);
    cache.removeAllFromMemory();
    EXPECT_EQ(cache.object(u"road"_s), renamed);
    QFile::remove(filePath(cacheKey(u"road"_s, true)));
    EXPECT_EQ(cache.object(u"road"_s), renamed);
}

TEST_F(SecureCodedCacheTest, DamagedOrOtherClassFilesAreMissesAndStay) {
    PlaylistCache(directory(), false).setObject(road, u"road"_s);
    InMemoryDiskBackedSecureCodedCache<Station>(directory(), false).setObject({u"Radio"_s, 1}, u"radio"_s);
    QFile archive(filePath(u"road"_s));
    ASSERT_TRUE(archive.open(QIODevice::ReadOnly));
    const QByteArray bytes = archive.readAll();
    writeFile(filePath(u"truncated"_s), bytes.left(bytes.size() - 1));
    writeFile(filePath(u"padded"_s), bytes + '\0');
    writeFile(filePath(u"garbage"_s), "not an archive at all");

    PlaylistCache reader(directory(), false);
    for (const QString& key : {u"truncated"_s, u"padded"_s, u"garbage"_s, u"radio"_s, u"missing"_s}) {
        EXPECT_EQ(reader.object(key), std::nullopt) << key.toStdString();
    }
    EXPECT_TRUE(QFile::exists(filePath(u"garbage"_s)));
    EXPECT_TRUE(QFile::exists(filePath(u"radio"_s)));
}

TEST_F(SecureCodedCacheTest, SweepDeletesFilesAwayFromNowInEitherDirectionAndKeepsMemory) {
    PlaylistCache cache(directory(), false);
    for (const QString& key : {u"old"_s, u"future"_s, u"fresh"_s}) {
        cache.setObject(road, key);
    }
    writeFile(folder_.filePath(u".hidden"_s), "kept");
    CacheFileDates::setAge(filePath(u"old"_s), 2h);
    CacheFileDates::setAge(filePath(u"future"_s), -2h);
    CacheFileDates::setAge(folder_.filePath(u".hidden"_s), 2h);

    cache.removeFiles(3600);

    EXPECT_FALSE(QFile::exists(filePath(u"old"_s)));
    EXPECT_FALSE(QFile::exists(filePath(u"future"_s)));
    EXPECT_TRUE(QFile::exists(filePath(u"fresh"_s)));
    EXPECT_TRUE(QFile::exists(folder_.filePath(u".hidden"_s)));
    EXPECT_EQ(cache.object(u"old"_s), road);

    CacheFileDates::setAge(filePath(u"fresh"_s), 1s);
    cache.removeFiles(0);
    EXPECT_FALSE(QFile::exists(filePath(u"fresh"_s)));
    EXPECT_TRUE(QFile::exists(folder_.filePath(u".hidden"_s)));
}

TEST_F(SecureCodedCacheTest, AFailedWriteThrowsAndKeepsTheValueInMemory) {
    writeFile(folder_.filePath(u"blocker"_s), "a file where the directory should be");
    PlaylistCache cache(QDir(folder_.filePath(u"blocker/cache"_s)), true);

    EXPECT_THROW(cache.setObject(road, u"road"_s), CacheFileError);
    EXPECT_EQ(cache.object(u"road"_s), road);
}

TEST_F(SecureCodedCacheTest, TheMemoryTierEvictsBeyondItsCostLimit) {
    const qsizetype archiveSize = SecureArchive::archived(road).size();
    PlaylistCache cache(directory(), false, archiveSize * 2);
    for (const QString& key : {u"first"_s, u"second"_s, u"third"_s}) {
        cache.setObject(road, key);
    }
    for (const QString& key : {u"first"_s, u"second"_s, u"third"_s}) {
        QFile::remove(filePath(key));
    }
    EXPECT_EQ(cache.object(u"first"_s), std::nullopt);
    EXPECT_EQ(cache.object(u"third"_s), road);
}

TEST(SecureCodedCacheLocation, ANamedCacheLivesInTheUserCacheFolder) {
    QTemporaryDir cacheHome;
    const QByteArray previous = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome.path()));

    PlaylistCache cache(u"Playlists"_s, true);
    EXPECT_TRUE(cache.cacheDirectory().startsWith(cacheHome.path() + u'/'));
    EXPECT_TRUE(cache.cacheDirectory().endsWith(u"/Playlists"_s));
    EXPECT_TRUE(QDir(cache.cacheDirectory()).exists());

    if (previous.isNull()) {
        qunsetenv("XDG_CACHE_HOME");
    } else {
        qputenv("XDG_CACHE_HOME", previous);
    }
}
