#include <Foundation/DecodingError.h>
#include <MusicKit/Artwork.h>
#include <MusicKit/PlayParameters.h>
#include <MusicKit/Song.h>
#include <gtest/gtest.h>

namespace MusicKit {
namespace {

TEST(ArtworkURL, FillsEveryWidthAndHeightPlaceholder) {
    EXPECT_EQ(Artwork("https://a.test/{w}x{h}/{w}.png").url(64, 32)->absoluteString(),
              "https://a.test/64x32/64.png");
    EXPECT_EQ(Artwork("https://a.test/fixed.png").url(64, 64)->absoluteString(), "https://a.test/fixed.png");
    EXPECT_FALSE(Artwork("https://a.test/{W}x{H}.png").url(64, 64));
}

TEST(PlayParametersCoding, RoundTripsThroughABinaryPropertyList) {
    const PlayParameters parameters{"i.1", "song", true, false, "c.1", std::nullopt, "r.1"};
    const auto bytes = parameters.propertyListEncoded();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "bplist00");
    EXPECT_EQ(PlayParameters::decode(Foundation::PropertyListDictionary::decodeBinary(bytes)), parameters);
    const auto dictionary = parameters.propertyListDictionary();
    EXPECT_EQ(*dictionary.find("isLibrary"), Foundation::PropertyListValue(true));
    EXPECT_EQ(dictionary.find("purchasedId"), nullptr);
}

TEST(PlayParametersCoding, ReadsJSONAndSkipsValuesItDoesNotUnderstand) {
    const auto parameters =
        PlayParameters::decodeJSON(R"({"id":"i.1","kind":"song","catalogId":5,"reporting":true})");
    EXPECT_EQ(parameters.id, "i.1");
    EXPECT_FALSE(parameters.catalogId);
    EXPECT_EQ(parameters.reporting, true);
    EXPECT_THROW(PlayParameters::decodeJSON(R"({"id":"i.1"})"), Foundation::DecodingError);
}

TEST(SongIdentity, SongsWithOneIdAreEqual) {
    const Song first{.id = MusicItemID("1"), .title = "A"};
    const Song second{.id = MusicItemID("1"), .title = "B"};
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::hash<Song>{}(first), std::hash<Song>{}(second));
    EXPECT_NE(first, (Song{.id = MusicItemID("2"), .title = "A"}));
}

} // namespace
} // namespace MusicKit
