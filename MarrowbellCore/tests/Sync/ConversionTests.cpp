#include "StoreTestSupport.h"
#include "SyncEngine/RemoteConversions.h"
#include "SyncEngine/ServiceDates.h"

#include <Foundation/JSONDecoding.h>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>

namespace MarrowbellCore {
namespace {

template <class Resource> Resource decoded(std::string_view json) {
    return Foundation::decodeJSON(json,
                                  [](const Foundation::JSONValue& root) { return Resource::decode(root); });
}

double localMidnight(int year, int month, int day) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_isdst = -1;
    return Foundation::Date::fromTimeIntervalSince1970(static_cast<double>(std::mktime(&time)))
        .timeIntervalSinceReferenceDate;
}

TEST(ServiceDateParsing, AcceptsInternetDateTimesAndBareDays) {
    EXPECT_EQ(ServiceDates::parseServiceDate("2001-01-01T00:01:00Z")->timeIntervalSinceReferenceDate, 60.0);
    EXPECT_EQ(ServiceDates::parseServiceDate("2001-01-01T01:00:00+01:00")->timeIntervalSinceReferenceDate,
              0.0);
    EXPECT_EQ(ServiceDates::parseServiceDate("2021-03-04")->timeIntervalSinceReferenceDate,
              localMidnight(2021, 3, 4));
    for (const char* rejected : {"2021", "2021-02-30", "2021-03-04T05:06:07", "March 4, 2021", ""}) {
        EXPECT_FALSE(ServiceDates::parseServiceDate(rejected)) << rejected;
    }
}

TEST(ServiceDateParsing, ReleaseDatesAreBareDaysOnly) {
    EXPECT_EQ(ServiceDates::parseReleaseDate("1999-12-31")->timeIntervalSinceReferenceDate,
              localMidnight(1999, 12, 31));
    EXPECT_FALSE(ServiceDates::parseReleaseDate("1999-12-31T00:00:00Z"));
    EXPECT_FALSE(ServiceDates::parseReleaseDate(std::nullopt));
}

TEST(ServiceDateParsing, ManyDistinctDaysKeepTheRememberedDaysBoundedAndTheAnswersRight) {
    char text[16];
    for (int year = 1000; year < 1100; ++year) {
        for (int day = 1; day <= 28; ++day) {
            for (int month = 1; month <= 12; ++month) {
                std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
                ASSERT_TRUE(ServiceDates::parseReleaseDate(std::string(text)));
            }
        }
    }
    EXPECT_LE(ServiceDates::rememberedLocalDays(), ServiceDates::rememberedLocalDaysLimit());
    EXPECT_EQ(ServiceDates::parseReleaseDate("1999-12-31")->timeIntervalSinceReferenceDate,
              localMidnight(1999, 12, 31));
}

TEST(ArtworkTemplate, FillsBothPlaceholdersWith64) {
    EXPECT_EQ(artworkURL("https://a.test/{w}x{h}/{w}.jpg")->absoluteString(), "https://a.test/64x64/64.jpg");
    EXPECT_EQ(artworkURL("https://a.test/plain.jpg")->absoluteString(), "https://a.test/plain.jpg");
    EXPECT_FALSE(artworkURL("https://a.test/{W}x{H}.jpg"));
}

TEST(RecordConversion, AlbumsAndPlaylistsFallBackAsTheServiceLeavesThem) {
    const auto album = incomingAlbum(decoded<RemoteAlbum>(
        R"({"id":"l.1","type":"library-albums","href":"/l.1","attributes":{"name":"","genreNames":[],
            "releaseDate":"2020-05-06T00:00:00Z","artwork":{"url":"https://a.test/{w}x{h}.jpg"}}})"));
    EXPECT_EQ(album.title, "Unknown Album");
    EXPECT_FALSE(album.genre);
    EXPECT_TRUE(album.releaseDate);
    EXPECT_EQ(album.artworkURL->absoluteString(), "https://a.test/64x64.jpg");
    EXPECT_EQ(
        incomingAlbum(
            decoded<RemoteAlbum>(
                R"({"id":"l.2","type":"t","href":"h","attributes":{"name":" ","genreNames":["Pop","Rock"]}})"))
            .title,
        " ");

    const auto playlists = incomingPlaylists(
        {decoded<RemotePlaylist>(R"({"id":"p.1","type":"t","href":"h","attributes":{}})"),
         decoded<RemotePlaylist>(R"({"id":"p.2","type":"t","href":"h","attributes":{"name":""}})")});
    ASSERT_EQ(playlists.size(), 1u);
    EXPECT_EQ(playlists[0].identifier, "p.2");
}

TEST(RecordConversion, ArtistsPreferTheirLibraryNameThenTheCatalogs) {
    const auto catalog =
        R"("relationships":{"catalog":{"data":[{"attributes":{"name":"Catalog","genreNames":["Jazz","Pop"],
                            "artwork":{"url":"https://a.test/{w}.jpg"}}}]}}})";
    const auto withEmptyName = incomingArtist(decoded<RemoteArtist>(
        std::string(R"({"id":"r.1","type":"t","href":"h","attributes":{"name":""},)") + catalog));
    EXPECT_EQ(withEmptyName.name, "");
    EXPECT_EQ(withEmptyName.genre, "Jazz");
    EXPECT_EQ(withEmptyName.artworkURL->absoluteString(), "https://a.test/64.jpg");
    EXPECT_EQ(
        incomingArtist(decoded<RemoteArtist>(
                           std::string(R"({"id":"r.2","type":"t","href":"h","attributes":{},)") + catalog))
            .name,
        "Catalog");
    const auto bare =
        incomingArtist(decoded<RemoteArtist>(R"({"id":"r.3","type":"t","href":"h","attributes":{}})"));
    EXPECT_EQ(bare.name, "Unknown Artist");
    EXPECT_FALSE(bare.genre);
    EXPECT_FALSE(bare.artworkURL);
    EXPECT_FALSE(bare.dateAdded);
}

TEST(RecordConversion, SongsCarryTheirFieldsAndTheCallersOrder) {
    const auto remote = decoded<RemoteSong>(
        R"({"id":"i.1","type":"library-songs","href":"h","attributes":{"name":"Song","genreNames":["Pop"],
            "durationInMillis":215000,"releaseDate":"2019-01-02","trackNumber":4,
            "playParams":{"id":"i.1","kind":"song","isLibrary":true,"catalogId":"1440"}}})");
    const auto song = incomingSong(remote, 7, false);
    EXPECT_EQ(song.duration, 215.0);
    EXPECT_EQ(song.genre, "Pop");
    EXPECT_EQ(song.trackNumber, 4);
    EXPECT_EQ(song.order, 7);
    EXPECT_FALSE(song.isPassive);
    EXPECT_FALSE(song.dateAdded);
    EXPECT_EQ(song.releaseDate->timeIntervalSinceReferenceDate, localMidnight(2019, 1, 2));
    EXPECT_EQ(song.playParameters, (MusicKit::PlayParameters{"i.1", "song", true, std::nullopt, "1440"}));

    const auto passive = incomingSong(
        decoded<RemoteSong>(
            R"({"id":"i.2","type":"t","href":"h","attributes":{"name":"S","genreNames":[],"durationInMillis":1}})"),
        std::nullopt, true);
    EXPECT_EQ(passive.duration, 0.001);
    EXPECT_FALSE(passive.order);
    EXPECT_TRUE(passive.isPassive);
    EXPECT_FALSE(passive.playParameters);
}

} // namespace
} // namespace MarrowbellCore
