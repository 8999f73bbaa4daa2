#include "Library/LibrarySortDescriptors.h"
#include "Library/LocalizedStandardComparison.h"

#include <DemoService/DemoLibrary.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Store/SortedRecords.h>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace Marrowbell {
namespace {
using MarrowbellCore::IncomingSong;
using MarrowbellCore::LocalSong;
using MarrowbellCore::SortDescriptor;

// Texts that collations tell apart, or not, in surprising ways: case, accents composed and decomposed,
// numbers with leading zeros and of many digits, punctuation, characters that collate as nothing, scripts
// other than Latin, emoji, broken UTF-8, and the empty text.
const std::vector<std::string> awkwardTexts = {"",
                                               " ",
                                               "a",
                                               "A",
                                               "á",
                                               "a\xcc\x81",
                                               "Á",
                                               "ab",
                                               "a b",
                                               "a-b",
                                               "a_b",
                                               "ab.",
                                               "abba",
                                               "ABBA",
                                               "Abba ",
                                               "Track 2",
                                               "Track 02",
                                               "track 2",
                                               "Track 10",
                                               "Track 9",
                                               "Track 1000000000000000000000",
                                               "Track 99999999999999999999",
                                               "2",
                                               "02",
                                               "10",
                                               "0",
                                               "00",
                                               "1.5",
                                               "1,5",
                                               "-1",
                                               "Étude",
                                               "Etude",
                                               "étude",
                                               "Echo",
                                               "Zebra",
                                               "Ångström",
                                               "Æon",
                                               "ß",
                                               "ss",
                                               "œuvre",
                                               "Øresund",
                                               "ı",
                                               "İstanbul",
                                               "東京",
                                               "東京 2",
                                               "とうきょう",
                                               "トウキョウ",
                                               "서울",
                                               "北京",
                                               "Москва",
                                               "москва",
                                               "Αθήνα",
                                               "עברית",
                                               "العربية",
                                               "😀",
                                               "😀😀",
                                               "🎵 Song",
                                               "\xe2\x80\x8b",
                                               "\xe2\x80\x8b"
                                               "a",
                                               "\xff\xfe",
                                               "\xc3",
                                               "a\xffz",
                                               "\t",
                                               "!",
                                               "?",
                                               "(a)",
                                               "[a]",
                                               "'a",
                                               "\"a\"",
                                               "…",
                                               "~",
                                               "a\xe2\x80\x8b"
                                               "b"};

const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(SortKeyTest, KeysOrderTextsAsTheComparisonDoesInEveryLocale) {
    for (const QLocale& locale : {english, QLocale::c(), QLocale(QLocale::Swedish, QLocale::Sweden),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Turkish),
                                  QLocale(QLocale::Japanese), QLocale(QLocale::Chinese, QLocale::Taiwan)}) {
        const LocalizedStandardComparison compare(locale);
        for (const auto& lhs : awkwardTexts) {
            const auto lhsKey = compare.sortKey(lhs);
            for (const auto& rhs : awkwardTexts) {
                ASSERT_EQ(lhsKey <=> compare.sortKey(rhs), compare(lhs, rhs))
                    << "'" << lhs << "' and '" << rhs << "' in " << locale.bcp47Name().toStdString();
            }
        }
        const std::optional<std::string> absent, empty("");
        EXPECT_LT(compare.sortKey(absent), compare.sortKey(empty));
    }
}

/// The demo service's library, as synced, and songs of awkward texts in every field, some absent, many equal.
std::vector<IncomingSong> librarySongs() {
    const auto library = DemoService::DemoLibrary::generate(12000, 7);
    std::vector<IncomingSong> songs;
    for (const auto& song : library.songs) {
        const auto& catalogSong = library.catalogSongs[song.catalogSong];
        const auto& album = library.catalogAlbums[catalogSong.album];
        const auto& artist = library.catalogArtists[album.artist];
        IncomingSong incoming;
        incoming.identifier = song.id;
        incoming.title = catalogSong.name;
        incoming.duration = double(catalogSong.durationInMillis) / 1000;
        incoming.albumTitle = album.name;
        incoming.artistName = artist.name;
        incoming.genre = album.genre;
        incoming.order = song.dateAdded;
        if (!song.isUpload) {
            incoming.releaseDate = Foundation::Date{double(catalogSong.album) * 86400};
        }
        songs.push_back(std::move(incoming));
    }
    const auto text = [](std::size_t index) { return awkwardTexts[index % awkwardTexts.size()]; };
    const auto maybeText = [&](std::size_t index) {
        return index % 7 == 0 ? std::nullopt : std::optional(text(index));
    };
    for (std::size_t index = 0; index < 6000; ++index) {
        IncomingSong awkward;
        awkward.identifier = "i.awkward" + std::to_string(index);
        awkward.title = text(index * 31);
        awkward.duration = double(index % 5);
        awkward.albumTitle = maybeText(index * 17 + 3);
        awkward.artistName = maybeText(index / 3);
        awkward.genre = maybeText(index % 11);
        if (index % 4 != 0) {
            awkward.order = std::int64_t(index % 50);
            awkward.releaseDate = Foundation::Date{double(index % 9)};
        }
        songs.push_back(std::move(awkward));
    }
    return songs;
}

/// Albums and artists of awkward names, genres and dates, some absent, many equal.
void insertContainers(MarrowbellCore::LocalDatabase& store) {
    const auto text = [](std::size_t index) { return awkwardTexts[index % awkwardTexts.size()]; };
    const auto maybeText = [&](std::size_t index) {
        return index % 5 == 0 ? std::nullopt : std::optional(text(index));
    };
    std::vector<MarrowbellCore::IncomingAlbum> albums;
    std::vector<MarrowbellCore::IncomingArtist> artists;
    for (std::size_t index = 0; index < 3000; ++index) {
        const auto date = index % 3 == 0 ? std::nullopt : std::optional(Foundation::Date{double(index % 13)});
        albums.push_back({"l.album" + std::to_string(index), text(index * 7), maybeText(index / 2),
                          maybeText(index % 9), date, date, std::nullopt});
        artists.push_back({"r.artist" + std::to_string(index), text(index / 3), maybeText(index % 4 + 1),
                           date, std::nullopt});
    }
    store.insert(albums);
    store.insert(artists);
}

/// The same order without keys: records compared with each other, as sorts were before keys.
template <class Record> SortDescriptor<Record> withoutKeys(const SortDescriptor<Record>& descriptor) {
    return SortDescriptor<Record>(descriptor).withSortKeys({});
}

template <class Records> std::vector<std::string> identifiers(const Records& records) {
    std::vector<std::string> result;
    for (const auto& record : records) {
        result.push_back(record.identifier);
    }
    return result;
}

/// A list in another order than the store's, as a list shown before a re-sort is.
template <class Record> std::vector<Record> shuffled(std::vector<Record> records) {
    std::mt19937 random(5);
    std::shuffle(records.begin(), records.end(), random);
    return records;
}

/// Every order and direction of `orders`: the store's read by keys and a re-sort in memory of the same
/// records give the list that comparing records gives, equal records in the same places.
template <class Orders, class Describe, class Read>
void expectKeysAndReSortsKeepTheComparisonsOrder(const Orders& orders, Describe describe, Read read) {
    const MarrowbellCore::SortedRecords records(
        shuffled(read(describe(orders.front(), MusicSortDirection::ascending))));
    for (const auto order : orders) {
        for (const auto direction : allMusicSortDirections) {
            const auto descriptor = describe(order, direction);
            const auto byComparison = identifiers(read(withoutKeys(descriptor)));
            const auto context = sortTitle(order).toStdString() + ", " + sortTitle(direction).toStdString();
            ASSERT_EQ(identifiers(read(descriptor)), byComparison) << context;
            ASSERT_EQ(identifiers(MarrowbellCore::resorted(records, descriptor)), byComparison) << context;
        }
    }
}

class SortKeyStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(directory.isValid());
        store.open();
    }

    QTemporaryDir directory;
    MarrowbellCore::LocalDatabase store{directory.filePath(QStringLiteral("local.db")).toStdString()};
};

TEST_F(SortKeyStoreTest, EverySongOrderByKeysAndReSortedInMemoryIsTheOrderOfComparisonsTiesIncluded) {
    store.insert(librarySongs());
    expectKeysAndReSortsKeepTheComparisonsOrder(
        allSongSortOrders,
        [](SongSortOrder order, MusicSortDirection direction) {
            return songSortDescriptor(order, direction, english);
        },
        [&](const SortDescriptor<LocalSong>& descriptor) { return store.allLibrarySongs(descriptor); });
}

TEST_F(SortKeyStoreTest, EveryAlbumAndArtistOrderByKeysAndReSortedInMemoryIsTheOrderOfComparisons) {
    insertContainers(store);
    expectKeysAndReSortsKeepTheComparisonsOrder(
        allAlbumSortOrders,
        [](AlbumSortOrder order, MusicSortDirection direction) {
            return albumSortDescriptor(order, direction, english);
        },
        [&](const SortDescriptor<MarrowbellCore::LocalAlbum>& descriptor) {
            return store.allAlbums(descriptor);
        });
    expectKeysAndReSortsKeepTheComparisonsOrder(
        allArtistsSortOrders,
        [](ArtistsSortOrder order, MusicSortDirection direction) {
            return artistSortDescriptor(order, direction, english);
        },
        [&](const SortDescriptor<MarrowbellCore::LocalArtist>& descriptor) {
            return store.allArtists(descriptor);
        });
}

} // namespace
} // namespace Marrowbell
