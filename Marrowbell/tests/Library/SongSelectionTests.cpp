#include "Library/SongSelection.h"

#include <QSet>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {
using namespace Qt::StringLiterals;
using MarrowbellCore::LocalSong;

LocalSong song(std::string identifier, std::string title) {
    LocalSong result;
    result.identifier = std::move(identifier);
    result.title = std::move(title);
    return result;
}

QStringList ids(const std::vector<SongSelection>& rows) {
    QStringList result;
    for (const auto& row : rows) {
        result << rowID(row);
    }
    return result;
}

TEST(SongSelectionTest, RowsOfAListOfSongs) {
    EXPECT_TRUE(songSelectionRows(std::vector<MarrowbellCore::LocalSong>{}).empty());
    EXPECT_EQ(ids(songSelectionRows({song("i.1", "One")})), (QStringList{u"play"_s, u"i.1"_s}));
    EXPECT_EQ(ids(songSelectionRows({song("i.1", "One"), song("i.2", "Two")})),
              (QStringList{u"play"_s, u"shuffle"_s, u"i.1"_s, u"i.2"_s}));

    const auto rows = songSelectionRows({song("i.1", "One"), song("i.2", "Zwei")});
    EXPECT_EQ(rowTitle(rows[0]), u"Play"_s);
    EXPECT_EQ(rowTitle(rows[1]), u"Shuffle"_s);
    EXPECT_EQ(rowTitle(rows[3]), u"Zwei"_s);
    ASSERT_NE(rows[3].song(), nullptr);
    EXPECT_EQ(rows[3].song()->identifier, "i.2");
    EXPECT_EQ(rows[0].song(), nullptr);
}

TEST(SongSelectionTest, EqualityAndHashFollowTheCaseAndTheSong) {
    const auto one = SongSelection::song(song("i.1", "One"));
    EXPECT_EQ(one, SongSelection::song(song("i.1", "One")));
    EXPECT_NE(one, SongSelection::song(song("i.2", "One")));
    EXPECT_NE(SongSelection::play(), SongSelection::shuffle());
    // A song whose identifier reads "play" is still a song row.
    EXPECT_NE(SongSelection::song(song("play", "Play")), SongSelection::play());

    const QSet<SongSelection> rows = {SongSelection::play(), SongSelection::shuffle(), one,
                                      SongSelection::song(song("i.1", "One")), SongSelection::play()};
    EXPECT_EQ(rows.size(), 3);
}

} // namespace
} // namespace Marrowbell
