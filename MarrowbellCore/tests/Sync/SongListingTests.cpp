#include "SyncEngine/LibraryFetch.h"
#include "SyncEngine/SongListing.h"
#include "SyncEngine/SongOrder.h"
#include "SyncTestSupport.h"

#include <optional>
#include <string>
#include <utility>

namespace MarrowbellCore {
namespace {

using Strings = std::vector<std::string>;
using OwnerKind = SongMemberships::OwnerKind;

/// More songs than one run of conversions, so that runs meet inside the listing.
constexpr std::size_t librarySize = 5000;
constexpr std::int64_t now = 800'000'000;

class SongListingTest : public Testing::SyncFixture {
protected:
    SongListingTest()
        : SyncFixture(librarySize) {}
};

Strings relatedIdentifiers(const std::optional<RemoteSong::Relationships::Resource>& related) {
    Strings identifiers;
    if (related && related->data) {
        for (const auto& entry : *related->data) {
            if (entry.id) {
                identifiers.push_back(*entry.id);
            }
        }
    }
    return identifiers;
}

Strings ownerIdentifiers(const SongMemberships& memberships, std::size_t song, OwnerKind kind) {
    Strings identifiers;
    for (const auto owner : memberships.owners(song, kind)) {
        identifiers.push_back(memberships.ownerIdentifier(owner));
    }
    return identifiers;
}

using SongKeys = std::vector<std::pair<std::string, std::optional<std::int64_t>>>;

SongKeys keysOf(const std::vector<IncomingSong>& songs) {
    SongKeys keys;
    for (const auto& song : songs) {
        keys.emplace_back(song.identifier, song.order);
    }
    return keys;
}

TEST_F(SongListingTest, HoldsWhatTheWholeListingGivesInTheServicesOrder) {
    const auto progress = Foundation::Progress::make(100);
    const auto remote = LibraryFetch::fetchSongs(true, *progress);
    const auto listing = SongListing::fetch(now, *progress, {});

    const auto expected = SongOrder::incomingLibrarySongs(remote, now);
    EXPECT_EQ(keysOf(listing.songs), keysOf(expected)) << "order values count down across the whole list";
    ASSERT_EQ(listing.songs.size(), librarySize);
    EXPECT_EQ(listing.songs.back().playParameters, expected.back().playParameters);
    EXPECT_EQ(progress->completedUnitCount(), 100);

    ASSERT_EQ(listing.memberships.songCount(), remote.size());
    for (std::size_t song = 0; song < remote.size(); ++song) {
        ASSERT_EQ(listing.memberships.songIdentifier(song), remote[song].id);
        ASSERT_TRUE(remote[song].relationships);
        const auto& relationships = *remote[song].relationships;
        ASSERT_EQ(ownerIdentifiers(listing.memberships, song, OwnerKind::album),
                  relatedIdentifiers(relationships.albums));
        ASSERT_EQ(ownerIdentifiers(listing.memberships, song, OwnerKind::artist),
                  relatedIdentifiers(relationships.artists));
    }
}

} // namespace
} // namespace MarrowbellCore
