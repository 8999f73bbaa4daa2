#include "ModelTestFixture.h"
#include "Observation/AnimationContext.h"
#include "Observation/ObservationTracking.h"

namespace Marrowbell::Testing {
namespace {

using NavigationTest = ModelTest;

bool expectsCollectionPane(ContainerKind kind) {
    return kind == ContainerKind::playlists || kind == ContainerKind::albums ||
           kind == ContainerKind::artists;
}

TEST_F(NavigationTest, FreshModelIsStoppedWithNoPathAndTheAppTitle) {
    EXPECT_TRUE(model->isStopped.get());
    EXPECT_FALSE(model->isPlaying.get());
    EXPECT_TRUE(model->navigationPath.get().empty());
    EXPECT_EQ(model->activePane.get(), 0);
    EXPECT_FALSE(model->selectedContainerKind());
    EXPECT_EQ(model->navigationTitle(), QStringLiteral("Marrowbell"));
}

TEST_F(NavigationTest, EveryKindGivesItsPathWithAndWithoutAnOpenedCollection) {
    startWithoutFullSync();
    for (const ContainerKind kind : allContainerKinds) {
        SCOPED_TRACE(containerKindID(kind).toStdString());
        model->selectContainerKind(containerKindID(kind));
        EXPECT_EQ(model->selectedContainerKind(), kind);
        EXPECT_EQ(model->navigationPath.get(), pathOf(kind));

        model->showSongCollection(kind, QStringLiteral("c1"), QStringLiteral("Collection"), {});
        if (expectsCollectionPane(kind)) {
            EXPECT_EQ(model->navigationPath.get(),
                      pathOf(kind, QStringLiteral("c1"), QStringLiteral("Collection")));
            // Another collection of the same list replaces the third item.
            model->showSongCollection(kind, QStringLiteral("c2"), QStringLiteral("Other"), {});
            EXPECT_EQ(model->navigationPath.get(),
                      pathOf(kind, QStringLiteral("c2"), QStringLiteral("Other")));
            EXPECT_TRUE(model->detailSongs.get().empty());
        } else {
            EXPECT_EQ(model->navigationPath.get(), pathOf(kind)) << "this kind opens no collection";
        }
    }
}

TEST_F(NavigationTest, AnotherKindDropsTheCollectionOfThePreviousKind) {
    startWithoutFullSync();
    const auto playlist = pathOf(ContainerKind::playlists, QStringLiteral("p.1"), QStringLiteral("Mix"));
    model->showSongCollection(ContainerKind::playlists, QStringLiteral("p.1"), QStringLiteral("Mix"), {});
    model->activePane.set(2);

    model->selectContainerKind(QStringLiteral("playlists"));
    EXPECT_EQ(model->navigationPath.get(), playlist) << "the same kind again changes nothing";

    model->selectContainerKind(QStringLiteral("albums"));
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::albums)) << "no playlist under Albums";
    EXPECT_EQ(model->activePane.get(), 1) << "the focus stays on an existing pane";

    // The playlist's songs arriving late do not open it under Albums.
    model->showSongCollection(ContainerKind::playlists, QStringLiteral("p.1"), QStringLiteral("Mix"), {});
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::albums));

    // An unknown identifier (a damaged setting, say) shows playlists.
    model->selectContainerKind(QStringLiteral("podcasts"));
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("playlists"));
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::playlists));
}

TEST_F(NavigationTest, EachListKeepsItsSelectionAcrossKinds) {
    startWithoutFullSync();
    model->selectContainerKind(QStringLiteral("albums"));
    model->selectedAlbumID.set(QStringLiteral("a.7"));
    model->selectContainerKind(QStringLiteral("artists"));
    model->selectedArtistID.set(QStringLiteral("r.3"));
    model->selectContainerKind(QStringLiteral("albums"));
    EXPECT_EQ(model->selectedAlbumID.get(), QStringLiteral("a.7"));
    EXPECT_EQ(model->selectedArtistID.get(), QStringLiteral("r.3"));
}

TEST_F(NavigationTest, BackMovesOnePaneLeftInsideAnAnimationAndStopsAtTheRoot) {
    startWithoutFullSync();
    model->showSongCollection(ContainerKind::playlists, QStringLiteral("p.1"), QStringLiteral("Mix"), {});
    model->activePane.set(2);

    std::vector<double> animationDurations;
    const auto token = ObservationTracking::observe(model.get(), &MainViewModel::activePane, [&](int, int) {
        animationDurations.push_back(AnimationContext::current().duration);
    });
    model->navigateBack();
    EXPECT_EQ(model->activePane.get(), 1);
    EXPECT_EQ(model->navigationPath.get().size(), 3u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !animationDurations.empty(); }, 1000));
    EXPECT_DOUBLE_EQ(animationDurations.front(), 0.3);

    model->navigateBack();
    model->navigateBack();
    EXPECT_EQ(model->activePane.get(), 0);
}

TEST_F(NavigationTest, TitleFollowsTheColumnModeThePaneAndThePath) {
    startWithoutFullSync();
    model->selectContainerKind(QStringLiteral("albums"));
    model->showSongCollection(ContainerKind::albums, QStringLiteral("a.1"), QStringLiteral("Blue"), {});
    model->isSingleColumn.set(true);
    model->activePane.set(2);
    EXPECT_EQ(model->navigationTitle(), QStringLiteral("Blue"));
    model->activePane.set(3);
    EXPECT_EQ(model->navigationTitle(), QStringLiteral("Marrowbell"));

    model->isSingleColumn.set(false);
    model->isDoubleColumn.set(true);
    model->selectContainerKind(QStringLiteral("stations"));
    EXPECT_EQ(model->navigationTitle(), QStringLiteral("Stations for You"));
}

TEST_F(NavigationTest, RepeatCyclesAndShuffleWritesThePlayerOnlyOnAChange) {
    EXPECT_EQ(model->repeatMode(), MusicKit::MusicPlayerRepeatMode::none);
    model->cycleRepeatMode();
    EXPECT_EQ(player->state().repeatMode(), MusicKit::MusicPlayerRepeatMode::all);
    model->cycleRepeatMode();
    EXPECT_EQ(model->repeatMode(), MusicKit::MusicPlayerRepeatMode::one);
    model->cycleRepeatMode();
    EXPECT_EQ(model->repeatMode(), MusicKit::MusicPlayerRepeatMode::none);

    model->setShuffled(true);
    EXPECT_TRUE(model->isShuffled());
    int stateChanges = 0;
    QObject::connect(&player->state(), &MusicKit::MusicPlayerState::objectWillChange,
                     [&] { ++stateChanges; });
    model->setShuffled(true);
    EXPECT_EQ(stateChanges, 0);
    model->setShuffled(false);
    EXPECT_FALSE(player->state().shufflesSongs());
}

} // namespace
} // namespace Marrowbell::Testing
