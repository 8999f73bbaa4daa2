#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteSong.h"

#include <Foundation/DecodingError.h>
#include <gtest/gtest.h>

using namespace MarrowbellCore;
using Foundation::DecodingError;

namespace {

const std::string album =
    R"({"id":"l.1","type":"library-albums","href":"/v1/me/library/albums/l.1","attributes":{"name":"A","genreNames":[]}})";

DecodingError pageFailure(const std::string& body) {
    try {
        RemoteAlbumResponse::decode(body);
    } catch (const DecodingError& error) {
        return error;
    }
    ADD_FAILURE() << "decoded: " << body;
    return DecodingError(DecodingError::Kind::dataCorrupted, {}, "");
}

} // namespace

TEST(RemotePageTests, NextIsAbsentWhenMissingOrNullAndAnEmptyPageDecodes) {
    for (const std::string next : {"", R"("next":null,)"}) {
        const auto page = RemoteAlbumResponse::decode("{" + next + R"("data":[],"meta":{"total":0}})");
        EXPECT_FALSE(page.next);
        EXPECT_TRUE(page.data.empty());
        EXPECT_EQ(page.meta.total, 0);
    }
    const auto page = RemoteAlbumResponse::decode(R"({"next":"/v1/x?offset=100","data":[)" + album + "," +
                                                  album + R"(],"meta":{"total":250,"extra":1},"links":{}})");
    EXPECT_EQ(page.next, "/v1/x?offset=100");
    EXPECT_EQ(page.data.size(), 2u);
    EXPECT_EQ(page.meta.total, 250);
}

TEST(RemotePageTests, EnvelopeFaultsFailTheWholePageWithKindAndPath) {
    struct Case {
        std::string body;
        DecodingError::Kind kind;
        std::vector<std::string> path;
    };
    const std::vector<Case> cases{
        {R"({"data":[]})", DecodingError::Kind::keyNotFound, {"meta"}},
        {R"({"data":[],"meta":{}})", DecodingError::Kind::keyNotFound, {"meta", "total"}},
        {R"({"data":[],"meta":{"total":"3"}})", DecodingError::Kind::typeMismatch, {"meta", "total"}},
        {R"({"data":[],"meta":{"total":1.5}})", DecodingError::Kind::dataCorrupted, {"meta", "total"}},
        {R"({"data":[],"meta":{"total":18446744073709551616}})",
         DecodingError::Kind::dataCorrupted,
         {"meta", "total"}},
        {R"({"meta":{"total":0}})", DecodingError::Kind::keyNotFound, {"data"}},
        {R"({"data":null,"meta":{"total":0}})", DecodingError::Kind::valueNotFound, {"data"}},
        {R"({"data":[null],"meta":{"total":1}})", DecodingError::Kind::valueNotFound, {"data", "Index 0"}},
        {R"({"next":5,"data":[],"meta":{"total":0}})", DecodingError::Kind::typeMismatch, {"next"}},
        {R"([])", DecodingError::Kind::typeMismatch, {}},
        {R"({"data":[],"meta":{"total":0})", DecodingError::Kind::dataCorrupted, {}},
    };
    for (const auto& testCase : cases) {
        const auto error = pageFailure(testCase.body);
        EXPECT_EQ(error.kind(), testCase.kind) << testCase.body;
        EXPECT_EQ(error.codingPath(), testCase.path) << testCase.body;
    }
}

TEST(RemotePageTests, OneBadResourceFailsThePageAtItsPosition) {
    const std::string bad =
        R"({"id":"l.2","type":"library-albums","href":"/l.2","attributes":{"name":"B","genreNames":["Pop"],
            "playParams":{"id":"l.2"}}})";
    const auto error = pageFailure(R"({"data":[)" + album + "," + bad + R"(],"meta":{"total":2}})");
    EXPECT_EQ(error.kind(), DecodingError::Kind::keyNotFound);
    EXPECT_EQ(error.codingPath(),
              (std::vector<std::string>{"data", "Index 1", "attributes", "playParams", "kind"}));
}

TEST(RemotePageTests, WritingLeavesOutAbsentOptionalsAndDecodesBackAlike) {
    const auto page = RemoteSongResponse::decode(
        R"({"next":null,"data":[{"id":"i.1","type":"library-songs","href":"/i.1","attributes":{"name":"S\"q",
            "genreNames":["Pop"],"artwork":{"url":"http://a/{w}x{h}.png"},"playParams":{"id":"i.1","kind":"song"}},
            "relationships":{"albums":{"data":[{}]}}}],"meta":{"total":1}})");
    const std::string written = page.encodedJSON();
    EXPECT_EQ(
        written,
        R"({"data":[{"id":"i.1","type":"library-songs","href":"/i.1","attributes":{"genreNames":["Pop"],)"
        R"("name":"S\"q","artwork":{"url":"http://a/{w}x{h}.png"},"playParams":{"id":"i.1",)"
        R"("kind":"song"}},"relationships":{"albums":{"data":[{}]}}}],"meta":{"total":1}})");
    EXPECT_EQ(RemoteSongResponse::decode(written).encodedJSON(), written);
}
