#include "MarrowbellCore/Store/IncomingAlbum.h"
#include "MarrowbellCore/Store/IncomingArtist.h"
#include "MarrowbellCore/Store/IncomingPlaylist.h"
#include "MarrowbellCore/Store/IncomingSong.h"
#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"

#include <Foundation/DecodingError.h>
#include <gtest/gtest.h>
#include <unordered_set>

namespace MarrowbellCore {
namespace {

// "é" precomposed and as "e" with a combining accent.
const std::string composed = "caf\u00e9";
const std::string decomposed = "cafe\u0301";

template <class Record> class RecordIdentityTest : public ::testing::Test {};

using RecordTypes = ::testing::Types<LocalSong, LocalAlbum, LocalArtist, LocalPlaylist, IncomingSong,
                                     IncomingAlbum, IncomingArtist, IncomingPlaylist>;
TYPED_TEST_SUITE(RecordIdentityTest, RecordTypes);

TYPED_TEST(RecordIdentityTest, EqualityAndHashingFollowTheIdentifierAlone) {
    TypeParam first{};
    first.identifier = composed;
    TypeParam second{};
    second.identifier = decomposed;
    if constexpr (requires { second.pk; }) {
        second.pk = 42;
    }
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::hash<TypeParam>{}(first), std::hash<TypeParam>{}(second));
    EXPECT_EQ((std::unordered_set<TypeParam>{first, second}.size()), 1u);

    TypeParam other = first;
    other.identifier = "cafe";
    EXPECT_NE(first, other);
}

TEST(RecordThumbnails, ArePrefixThenIdentifier) {
    EXPECT_EQ((LocalAlbum{.identifier = ""}).thumbnailID(), "album-");
    EXPECT_EQ((LocalArtist{.identifier = "r.1"}).thumbnailID(), "artist-r.1");
    EXPECT_EQ((LocalPlaylist{.identifier = "p.1"}).thumbnailID(), "playlist-p.1");
}

LocalSong songWithRemote(std::optional<MusicKit::PlayParameters> parameters) {
    LocalSong song;
    song.identifier = "i.library";
    song.title = "Intro";
    if (parameters) {
        song.storedPlayParameters = PlayParameterBytes::copying(parameters->propertyListEncoded());
    }
    return song;
}

TEST(PlayingSongByID, ComparesTheServiceIdentifiersThenTheLibraryIdentifier) {
    const auto plain = songWithRemote(std::nullopt);
    EXPECT_FALSE(plain.matchesPlayingSong(std::optional<std::string>()));
    EXPECT_TRUE(plain.matchesPlayingSong(std::optional<std::string>("i.library")));
    EXPECT_FALSE(plain.matchesPlayingSong(std::optional<std::string>("123")));

    const auto remote = songWithRemote(MusicKit::PlayParameters{"i.library", "song", std::nullopt,
                                                                std::nullopt, "123", "456", std::nullopt});
    for (const char* id : {"123", "456", "i.library"}) {
        EXPECT_TRUE(remote.matchesPlayingSong(std::optional<std::string>(id))) << id;
    }
    EXPECT_FALSE(remote.matchesPlayingSong(std::optional<std::string>("789")));
}

TEST(PlayingSongByEntry, UsesTheSongIdWhenThereIsOneAndTheTitleOtherwise) {
    const auto song = songWithRemote(MusicKit::PlayParameters{"i.library", "song", std::nullopt, std::nullopt,
                                                              std::nullopt, std::nullopt, "777"});
    EXPECT_FALSE(song.matchesPlayingSong(std::optional<MusicKit::MusicPlayerQueueEntry>()));

    MusicKit::MusicPlayerQueueEntry entry;
    entry.title = "Intro";
    EXPECT_TRUE(song.matchesPlayingSong(std::optional(entry)));
    entry.item = MusicKit::MusicVideo{MusicKit::MusicItemID("v.1"), "Intro"};
    EXPECT_TRUE(song.matchesPlayingSong(std::optional(entry)));

    entry.item = MusicKit::Song{.id = MusicKit::MusicItemID("999"), .title = "Intro"};
    EXPECT_FALSE(song.matchesPlayingSong(std::optional(entry)))
        << "equal titles do not count for a song entry";
    entry.item = MusicKit::Song{.id = MusicKit::MusicItemID("777"), .title = "Other"};
    EXPECT_TRUE(song.matchesPlayingSong(std::optional(entry)));
}

TEST(RemotePlayParametersCoding, WritesOnlyPresentMembersAndRoundTrips) {
    const RemotePlayParameters minimal{"i.1", "song"};
    EXPECT_EQ(minimal.encodedJSON(), R"({"id":"i.1","kind":"song"})");
    EXPECT_EQ(RemotePlayParameters::decodeJSON(minimal.encodedJSON()), minimal);

    const RemotePlayParameters full{"i.\"2\"", "song", true, false, "c", "p", "r"};
    EXPECT_EQ(RemotePlayParameters::decodeJSON(full.encodedJSON()), full);
    const auto fromPropertyList = RemotePlayParameters::decode(
        MusicKit::PlayParameters{"i.\"2\"", "song", true, false, "c", "p", "r"}.propertyListDictionary());
    EXPECT_EQ(fromPropertyList, full);
}

TEST(RemotePlayParametersCoding, RequiresIdAndKindAndRejectsWrongKindsOfValue) {
    EXPECT_EQ(RemotePlayParameters::decodeJSON(R"({"id":"i.1","kind":"song","catalogId":null,"extra":5})")
                  .catalogId,
              std::nullopt);
    try {
        RemotePlayParameters::decodeJSON(R"({"id":"i.1"})");
        FAIL();
    } catch (const Foundation::DecodingError& error) {
        EXPECT_EQ(error.kind(), Foundation::DecodingError::Kind::keyNotFound);
        EXPECT_EQ(error.codingPath(), std::vector<std::string>{"kind"});
    }
    EXPECT_THROW(RemotePlayParameters::decodeJSON(R"({"id":"i.1","kind":"song","isLibrary":1})"),
                 Foundation::DecodingError);
    EXPECT_THROW(RemotePlayParameters::decodeJSON(R"({"id":"i.1","kind":null})"), Foundation::DecodingError);
}

} // namespace
} // namespace MarrowbellCore
