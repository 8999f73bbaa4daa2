#include "Lists/ListEnvironment.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/NotAuthorizedView.h"
#include "MainWindow/OverlayPanel.h"
#include "MainWindow/OverlayPlacement.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "MainWindow/ToastView.h"
#include "MainWindowTestFixture.h"
#include "Player/PlayerBar.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/ServiceConfiguration.h>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

namespace Marrowbell::Testing {
namespace {

class MainContentTest : public MainWindowTest {
protected:
    void TearDown() override {
        content.reset();
        MainWindowTest::TearDown();
    }

    void makeContent(int width = 600) {
        content = std::make_unique<MainContentView>(
            *models, environment->service().displayName(),
            makeLibraryPaneFactory(*models, ListEnvironment::of(*environment)));
        content->resize(width, 500);
    }

    /// Shows the content, which starts the models, and waits for the whole start-up.
    void showAndStart() {
        QSignalSpy finished(content.get(), &MainContentView::startUpFinished);
        content->show();
        ASSERT_TRUE(finished.wait(30000));
    }

    std::vector<MusicKit::Song> storedSongs() {
        auto future = environment->store().run([](MarrowbellCore::LocalDatabase& database) {
            return database.allLibrarySongs(
                MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong>::keyPath(
                    &MarrowbellCore::LocalSong::title,
                    [](const auto& lhs, const auto& rhs) { return std::weak_order(lhs, rhs); }));
        });
        EXPECT_TRUE(finishes(future));
        std::vector<MusicKit::Song> queue;
        for (const auto& song : future.result()) {
            queue.push_back(MusicKit::Song{song.id(), song.title, song.artistName.value_or(std::string()),
                                           song.albumTitle, song.duration, std::nullopt,
                                           song.playParameters});
        }
        return queue;
    }

    std::unique_ptr<MainContentView> content;
};

TEST_F(MainContentTest, FirstStartSyncsBehindTheSyncingToastThenShowsTheLibrary) {
    makeContent();
    QSignalSpy finished(content.get(), &MainContentView::startUpFinished);
    content->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return content->syncingToast()->isVisible(); }, 10000));
    EXPECT_FALSE(content->pod().view()->isEnabled()) << "the pod takes no input during the first sync";
    EXPECT_TRUE(content->searchButton()->isEnabled());
    EXPECT_EQ(content->syncingToast()->progress(), model().syncProgress.get());

    ASSERT_TRUE(finished.wait(30000));
    settle();
    EXPECT_FALSE(content->syncingToast()->isVisible());
    EXPECT_TRUE(content->pod().view()->isEnabled());
    // The playlists list may already have opened its first playlist in a third pane.
    const std::vector<NavigationItem>& path = model().navigationPath.get();
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(std::vector<NavigationItem>(path.begin(), path.begin() + 2), pathOf(ContainerKind::playlists));
    EXPECT_EQ(content->pod().view()->panes().size(), path.size());
    EXPECT_FALSE(models->madeForYou->items.get().empty());
    EXPECT_FALSE(models->stations->items.get().empty());
    EXPECT_FALSE(content->isNotAuthorized());
}

TEST_F(MainContentTest, RefusedAccessShowsTheScreenAndTryAgainRunsTheWholeStart) {
    const MusicKit::ServiceConfiguration good = environment->service().configuration();
    MusicKit::ServiceConfiguration bad = good;
    bad.userToken = "expired";
    MusicKit::ServiceConfiguration::setCurrent(bad);
    environment->defaults().setValue(DefaultsKeys::performedFullSync, true);
    makeContent();
    QSignalSpy refused(content.get(), &MainContentView::accessRefused);
    content->show();
    ASSERT_TRUE(refused.wait(10000));
    EXPECT_TRUE(content->notAuthorizedView()->isVisible());
    QStringList texts;
    for (const QLabel* label : content->notAuthorizedView()->findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(
        texts.contains(u"Marrowbell is not able to access your music library. Make sure you are signed "
                       u"into Marrowbell Demo in the Marrowbell Demo app first."))
        << texts.join(u'|').toStdString();
    EXPECT_TRUE(model().navigationPath.get().empty()) << "nothing starts without access";

    content->notAuthorizedView()->tryAgainButton()->click();
    ASSERT_TRUE(refused.wait(10000)) << "still refused while the tokens are bad";
    EXPECT_TRUE(content->notAuthorizedView()->isVisible());

    MusicKit::ServiceConfiguration::setCurrent(good);
    QSignalSpy finished(content.get(), &MainContentView::startUpFinished);
    content->notAuthorizedView()->tryAgainButton()->click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_FALSE(content->notAuthorizedView()->isVisible());
    EXPECT_EQ(model().navigationPath.get(), pathOf(ContainerKind::playlists));
    EXPECT_FALSE(models->madeForYou->items.get().empty()) << "Try Again loads Made for You too";
    EXPECT_FALSE(models->stations->items.get().empty()) << "and Stations for You";
}

TEST_F(MainContentTest, AddedToLibraryShowsForThreeSecondsAndOutranksTheOthers) {
    environment->defaults().setValue(DefaultsKeys::performedFullSync, true);
    makeContent();
    showAndStart();
    model().showSyncingToast.set(true);
    model().showAddToast.set(true);
    settle();
    EXPECT_TRUE(content->addToast()->isVisible());
    EXPECT_FALSE(content->syncingToast()->isVisible()) << "only one toast at a time";
    EXPECT_EQ(content->addToast()->label(), QStringLiteral("Added to Library"));
    model().showSyncingToast.set(false);

    QTest::qWait(MainContentView::addToastDurationMs - 500);
    EXPECT_TRUE(content->addToast()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !content->addToast()->isVisible(); }, 1500));
    EXPECT_FALSE(model().showAddToast.get());
    const QRect pod = content->pod().view()->geometry();
    EXPECT_EQ(content->addToast()->geometry().center(), pod.center());
}

TEST_F(MainContentTest, ToolbarColumnModeAndOverlaysFollowTheWindow) {
    environment->defaults().setValue(DefaultsKeys::performedFullSync, true);
    makeContent(380);
    showAndStart();
    settle();
    EXPECT_TRUE(model().isSingleColumn.get());
    EXPECT_FALSE(content->backAction()->isEnabled());
    EXPECT_TRUE(content->sortButton()->isEnabled());

    content->resize(700, 500);
    settle();
    EXPECT_FALSE(model().isSingleColumn.get());
    EXPECT_TRUE(model().isDoubleColumn.get());
    content->resize(900, 500);
    settle();
    EXPECT_FALSE(model().isDoubleColumn.get());
    EXPECT_EQ(content->pod().view()->visiblePaneCount(), 3);

    model().activePane.set(1);
    model().selectContainerKind(QStringLiteral("stations"));
    settle();
    EXPECT_TRUE(content->backAction()->isEnabled());
    EXPECT_FALSE(content->sortButton()->isEnabled());

    EXPECT_TRUE(content->playerBar()->isVisible());
    EXPECT_EQ(content->playerBar()->geometry(), OverlayPlacement::playerBar(content->size()));
    EXPECT_EQ(content->playerBar()->geometry().width(), 600 + 2 * OverlayPlacement::inset);
    content->showSearch();
    EXPECT_TRUE(content->searchPanel()->isVisible());
    EXPECT_EQ(content->searchPanel()->geometry().top(), OverlayPlacement::searchTopOffset);
    QTest::keyClick(content->searchPanel(), Qt::Key_Escape);
    QTest::keyClick(content->searchPanel(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !content->searchPanel()->isVisible(); }, 1000));
}

TEST_F(MainContentTest, SpaceTogglesPlayback) {
    makeContent();
    showAndStart();
    models->player->setQueue(storedSongs());
    content->activateWindow();
    content->pod().view()->setFocus();
    QTest::keyClick(content->pod().view(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().isPlaying.get(); }, 5000));
    QTest::keyClick(content->pod().view(), Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model().isPlaying.get(); }, 5000));
}

} // namespace
} // namespace Marrowbell::Testing
