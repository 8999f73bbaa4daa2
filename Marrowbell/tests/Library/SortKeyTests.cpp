#include "Library/LibrarySortDescriptors.h"
#include "Library/LocalizedStandardComparison.h"

#include <DemoService/DemoLibrary.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

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

/// The order as records compare with each other, without keys.
SortDescriptor<LocalSong> byComparison(const SortDescriptor<LocalSong>& descriptor) {
    return SortDescriptor<LocalSong>([descriptor](const LocalSong& lhs, const LocalSong& rhs) {
        return descriptor(lhs, rhs)
                   ? std::weak_ordering::less
                   : (descriptor(rhs, lhs) ? std::weak_ordering::greater : std::weak_ordering::equivalent);
    });
}

std::vector<std::string> identifiers(const std::vector<LocalSong>& songs) {
    std::vector<std::string> result;
    for (const auto& song : songs) {
        result.push_back(song.identifier);
    }
    return result;
}

TEST(SortKeyTest, EverySongOrderWithKeysIsTheOrderOfComparisonsTiesIncluded) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    MarrowbellCore::LocalDatabase store(directory.filePath(QStringLiteral("local.db")).toStdString());
    store.open();
    store.insert(librarySongs());

    for (const auto order : allSongSortOrders) {
        for (const auto direction : {MusicSortDirection::ascending, MusicSortDirection::descending}) {
            const auto descriptor = songSortDescriptor(order, direction, english);
            const auto byKeys = identifiers(store.allLibrarySongs(descriptor));
            ASSERT_EQ(byKeys, identifiers(store.allLibrarySongs(byComparison(descriptor))))
                << sortTitle(order).toStdString() << ", " << sortTitle(direction).toStdString();
        }
    }
}

} // namespace
} // namespace Marrowbell
