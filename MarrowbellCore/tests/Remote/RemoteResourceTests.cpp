#include "Remote/RemoteAlbum.h"
#include "Remote/RemoteArtist.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"

#include <Foundation/DecodingError.h>
#include <gtest/gtest.h>

using namespace MarrowbellCore;

namespace {

/// A page holding one resource of the given identity and these members after "href".
template <class Page> auto decodeOne(const std::string& members) {
    return Page::decode(R"({"data":[{"id":"x.1","type":"t","href":"/x.1",)" + members +
                        R"(}],"meta":{"total":1}})")
        .data.front();
}

template <class Page> void expectPageFailure(const std::vector<std::string>& memberSets) {
    for (const auto& members : memberSets) {
        EXPECT_THROW(decodeOne<Page>(members), Foundation::DecodingError) << members;
    }
}

} // namespace

TEST(RemoteResourceTests, AlbumRequiresNameAndGenresAndChecksItsOptionals) {
    const auto minimal =
        decodeOne<RemoteAlbumResponse>(R"("attributes":{"name":"","genreNames":[],"artwork":null})");
    EXPECT_EQ(minimal.attributes.name, "");
    EXPECT_FALSE(minimal.attributes.artwork);
    EXPECT_FALSE(minimal.attributes.playParams);

    const auto full = decodeOne<RemoteAlbumResponse>(
        R"("attributes":{"name":"N","genreNames":["Rock"],"artwork":{"url":"u"},"playParams":{"id":"l.1","kind":"album"},
           "unknown":[1]})");
    EXPECT_EQ(full.attributes.artwork->url, "u");
    EXPECT_FALSE(full.attributes.artwork->width);
    EXPECT_EQ(full.attributes.playParams->kind, "album");
    EXPECT_FALSE(full.attributes.playParams->isLibrary);
    EXPECT_EQ(full.encodedJSON(),
              R"({"id":"x.1","type":"t","href":"/x.1","attributes":{"name":"N","genreNames":["Rock"],)"
              R"("artwork":{"url":"u"},"playParams":{"id":"l.1","kind":"album"}}})");

    expectPageFailure<RemoteAlbumResponse>({
        R"("attributes":{"name":"N"})",
        R"("attributes":{"genreNames":[]})",
        R"("attributes":{"name":"N","genreNames":[],"artwork":{}})",
        R"("attributes":{"name":"N","genreNames":[],"artwork":{"url":"u","width":"64"}})",
        R"("attributes":{"name":"N","genreNames":[],"playParams":{"id":"l.1"}})",
        R"("attributes":{"name":"N","genreNames":[],"playParams":{"id":"l.1","kind":"album","isLibrary":1}})",
        R"("attributes":{"name":"N","genreNames":[3]})",
    });
}

TEST(RemoteResourceTests, ArtistNeedsOnlyAttributesAndItsCatalogPartsAreOptional) {
    EXPECT_FALSE(decodeOne<RemoteArtistResponse>(R"("attributes":{})").attributes.name);
    EXPECT_EQ(decodeOne<RemoteArtistResponse>(R"("attributes":{"name":""})").attributes.name, "");
    for (const std::string relationships : {R"("relationships":{})", R"("relationships":{"catalog":{}})",
                                            R"("relationships":{"catalog":{"data":[]}})"}) {
        const auto artist = decodeOne<RemoteArtistResponse>(R"("attributes":{},)" + relationships);
        const auto& catalog = artist.relationships->catalog;
        EXPECT_TRUE(!catalog || !catalog->data || catalog->data->empty()) << relationships;
    }
    const auto withCatalog = decodeOne<RemoteArtistResponse>(
        R"("attributes":{},"relationships":{"catalog":{"data":[{},{"attributes":{"genreNames":null,
           "artwork":{"url":"u"}}}]}})");
    const auto& catalogArtists = *withCatalog.relationships->catalog->data;
    EXPECT_FALSE(catalogArtists[0].id);
    EXPECT_FALSE(catalogArtists[0].attributes);
    EXPECT_FALSE(catalogArtists[1].attributes->genreNames);
    EXPECT_EQ(catalogArtists[1].attributes->artwork->url, "u");

    expectPageFailure<RemoteArtistResponse>({
        "",
        R"("attributes":null)",
        R"("attributes":{},"relationships":{"catalog":{"data":[{"attributes":{"artwork":{}}}]}})",
        R"("attributes":{},"relationships":{"catalog":{"data":[{"attributes":{"genreNames":"Pop"}}]}})",
        R"("attributes":{},"relationships":{"catalog":{"data":{}}})",
    });
}

TEST(RemoteResourceTests, SongRequiresNameAndGenresAndKeepsRelationshipShapes) {
    const auto minimal = decodeOne<RemoteSongResponse>(R"("attributes":{"name":"S","genreNames":[]})");
    EXPECT_FALSE(minimal.attributes.trackNumber);
    EXPECT_FALSE(minimal.attributes.playParams);
    EXPECT_FALSE(minimal.relationships);

    const auto song = decodeOne<RemoteSongResponse>(
        R"("attributes":{"name":"S","genreNames":["Pop"],"trackNumber":3,"durationInMillis":215000,"hasLyrics":false,
           "playParams":{"id":"i.1","kind":"song","catalogId":null,"reportingId":"9"}},
           "relationships":{"artists":{},"albums":{"data":[{},{"id":"l.1"}]}})");
    EXPECT_EQ(song.attributes.trackNumber, 3);
    EXPECT_EQ(song.attributes.durationInMillis, 215000);
    EXPECT_FALSE(song.attributes.playParams->catalogId);
    EXPECT_EQ(song.attributes.playParams->reportingId, "9");
    EXPECT_FALSE(song.relationships->artists->data);
    EXPECT_FALSE((*song.relationships->albums->data)[0].id);
    EXPECT_EQ((*song.relationships->albums->data)[1].id, "l.1");
    EXPECT_TRUE(decodeOne<RemoteSongResponse>(
                    R"("attributes":{"name":"S","genreNames":[]},"relationships":{"albums":{"data":[]}})")
                    .relationships->albums->data->empty());

    expectPageFailure<RemoteSongResponse>({
        R"("attributes":{"name":"S"})",
        R"("attributes":{"name":"S","genreNames":null})",
        R"("attributes":{"genreNames":[]})",
        R"("attributes":{"name":"S","genreNames":[],"trackNumber":"3"})",
        R"("attributes":{"name":"S","genreNames":[],"durationInMillis":9223372036854775808})",
        R"("attributes":{"name":"S","genreNames":[],"playParams":{"id":"i.1"}})",
        R"("attributes":{"name":"S","genreNames":[],"playParams":{"id":"i.1","kind":"song","reporting":"yes"}})",
    });
    EXPECT_THROW(
        RemoteSongResponse::decode(
            R"({"data":[{"id":1,"type":"t","href":"h","attributes":{"name":"S","genreNames":[]}}],"meta":{"total":1}})"),
        Foundation::DecodingError);
}

TEST(RemoteResourceTests, PlaylistAttributesAreAllOptionalButTyped) {
    const auto empty = decodeOne<RemotePlaylistResponse>(R"("attributes":{},"relationships":{"tracks":{}})");
    EXPECT_FALSE(empty.attributes.name);
    EXPECT_FALSE(empty.attributes.canEdit);
    EXPECT_EQ(empty.encodedJSON(), R"({"id":"x.1","type":"t","href":"/x.1","attributes":{}})");

    const auto playlist = decodeOne<RemotePlaylistResponse>(
        R"("attributes":{"name":null,"canEdit":true,"playParams":{"id":"p.1","kind":"playlist"}})");
    EXPECT_FALSE(playlist.attributes.name);
    EXPECT_EQ(playlist.attributes.canEdit, true);
    EXPECT_FALSE(playlist.attributes.playParams->globalId);

    expectPageFailure<RemotePlaylistResponse>({
        R"("attributes":null)",
        R"("attributes":{"canEdit":"true"})",
        R"("attributes":{"playParams":{"kind":"playlist"}})",
        R"("attributes":{"dateAdded":20240101})",
    });
}
