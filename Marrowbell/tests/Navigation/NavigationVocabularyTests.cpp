#include "Navigation/ContainerKind.h"
#include "Navigation/NavigationItem.h"
#include "Navigation/StoredRecordTitling.h"

#include <QCoreApplication>
#include <QSet>
#include <UnifiedLog/LogStore.h>
#include <gtest/gtest.h>
#include <unordered_set>

namespace Marrowbell {
using namespace Qt::StringLiterals;
namespace {

TEST(ContainerKindTest, IdentifiersRoundTripInRootListOrder) {
    const QStringList ids = {u"playlists"_s, u"albums"_s,     u"artists"_s,
                             u"songs"_s,     u"madeForYou"_s, u"stations"_s};
    ASSERT_EQ(allContainerKinds.size(), std::size_t(ids.size()));
    for (std::size_t index = 0; index < allContainerKinds.size(); ++index) {
        const auto kind = allContainerKinds[index];
        EXPECT_EQ(static_cast<std::size_t>(kind), index);
        EXPECT_EQ(containerKindID(kind), ids[qsizetype(index)]);
        EXPECT_EQ(containerKindFromID(ids[qsizetype(index)]), kind);
    }
    EXPECT_EQ(containerKindTitle(ContainerKind::madeForYou), u"Made for You"_s);
    EXPECT_EQ(containerKindTitle(ContainerKind::stations), u"Stations for You"_s);
    EXPECT_EQ(containerKindSymbolName(ContainerKind::playlists), u"square.grid.3x3"_s);
    EXPECT_EQ(rowTitle(ContainerKind::songs), u"Songs"_s);
}

TEST(ContainerKindTest, TitlesAndOtherTextsAreNotIdentifiers) {
    for (const auto& text : {u"Made for You"_s, u"Playlists"_s, QString(), u"root"_s, u"playlists "_s}) {
        EXPECT_FALSE(containerKindFromID(text).has_value()) << text.toStdString();
    }
}

TEST(ContainerKindTest, AnUnknownStoredIdentifierFallsBackToPlaylistsWithALogLine) {
    auto& log = UnifiedLog::LogStore::shared();
    log.setEchoToStandardError(false);
    log.removeAll();

    EXPECT_EQ(containerKindFromIDOrPlaylists(u"albums"), ContainerKind::albums);
    EXPECT_TRUE(log.entries().empty());

    EXPECT_EQ(containerKindFromIDOrPlaylists(u"favourites"), ContainerKind::playlists);
    const auto entries = log.entries(UnifiedLog::LogLevel::error, "com.BrondleTamsel.Marrowbell");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].category, "collection");
    EXPECT_NE(entries[0].message.find("favourites"), std::string::npos);
    log.setEchoToStandardError(true);
}

TEST(NavigationItemTest, SharedIdentifiersDoNotMakeItemsEqual) {
    const auto songsKind = NavigationItem::container(ContainerKind::songs);
    const auto songsCollection = NavigationItem::songCollection(u"songs"_s, u"Songs"_s);
    EXPECT_EQ(songsKind.id(), songsCollection.id());
    EXPECT_NE(songsKind, songsCollection);

    const auto renamed = NavigationItem::songCollection(u"songs"_s, u"Renamed"_s);
    EXPECT_NE(songsCollection, renamed);
    EXPECT_EQ(songsCollection, NavigationItem::songCollection(u"songs"_s, u"Songs"_s));

    EXPECT_EQ(NavigationItem().id(), u"root"_s);
    EXPECT_EQ(NavigationItem(), NavigationItem::root());
    for (const auto kind : allContainerKinds) {
        EXPECT_NE(NavigationItem::container(kind).id(), NavigationItem::root().id());
    }
}

TEST(NavigationItemTest, HashesAgreeWithEquality) {
    const QList<NavigationItem> path = {NavigationItem::root(),
                                        NavigationItem::container(ContainerKind::albums),
                                        NavigationItem::songCollection(u"a1"_s, u"Blue"_s),
                                        NavigationItem::songCollection(u"a1"_s, u"Red"_s),
                                        NavigationItem::container(ContainerKind::albums),
                                        NavigationItem::songCollection(u"a1"_s, u"Blue"_s)};
    EXPECT_EQ(QSet<NavigationItem>(path.begin(), path.end()).size(), 4);
    EXPECT_EQ(std::unordered_set<NavigationItem>(path.begin(), path.end()).size(), 4u);

    const auto* collection = path[3].as<NavigationItem::SongCollection>();
    ASSERT_NE(collection, nullptr);
    EXPECT_EQ(collection->title, u"Red"_s);
    EXPECT_EQ(path[1].as<NavigationItem::SongCollection>(), nullptr);
}

TEST(TitledTest, StoredContainersShowTheirNames) {
    MarrowbellCore::LocalPlaylist playlist;
    playlist.identifier = "p.1";
    playlist.name = "Road Trip";
    MarrowbellCore::LocalAlbum album;
    album.identifier = "l.2";
    album.title = "Été";
    EXPECT_EQ(rowID(playlist), u"p.1"_s);
    EXPECT_EQ(rowTitle(playlist), u"Road Trip"_s);
    EXPECT_EQ(rowTitle(album), QStringLiteral("Été"));
}

} // namespace
} // namespace Marrowbell

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
