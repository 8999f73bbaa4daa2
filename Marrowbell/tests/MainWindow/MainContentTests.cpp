#include "Commands/KeyboardShortcuts.h"
#include "Commands/MenuCommands.h"
#include "LibraryLists/SongLists.h"
#include "Lists/CollectionListControllerBase.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/NotAuthorizedView.h"
#include "MainWindow/OverlayPanel.h"
#include "MainWindow/OverlayPlacement.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "MainWindow/ToastView.h"
#include "MainWindowTestFixture.h"
#include "Player/PlaybackTimeView.h"
#include "Player/PlayerBar.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerHoodie.h"
#include "Player/PlayerSymbols.h"
#include "Player/PlayerView.h"
#include "PowerProfilesService.h"
#include "PrivateBus.h"
#include "Search/SearchView.h"
#include "Search/SearchWindow.h"

#include <DemoService/DelayingRelay.h>
#include <DemoService/DemoService.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/ServiceConfiguration.h>
#include <QAbstractItemView>
#include <QAction>
#include <QAnimationDriver>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <UnifiedLog/LogStore.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Marrowbell::Testing {
namespace {

/// A loopback port whose connections the system accepts and nobody ever answers.
class SilentService {
public:
    SilentService()
        : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        if (::bind(socket_, generic, length) == 0 && ::listen(socket_, 16) == 0 &&
            ::getsockname(socket_, generic, &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~SilentService() { ::close(socket_); }
    SilentService(const SilentService&) = delete;
    SilentService& operator=(const SilentService&) = delete;

    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    int socket_;
    int port_ = 0;
};

/// The messages of the error entries logged so far.
std::vector<std::string> loggedErrors() {
    std::vector<std::string> messages;
    for (const auto& entry : UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::error)) {
        messages.push_back(entry.message);
    }
    return messages;
}

bool contains(const std::vector<std::string>& messages, const std::string& text) {
    return std::ranges::any_of(messages, [&](const std::string& message) { return message == text; });
}

/// The visible toast of `content` that reads `label`.
ToastView* toastReading(const QWidget& content, const QString& label) {
    for (ToastView* toast : content.findChildren<ToastView*>()) {
        if (toast->label() == label && toast->isVisible()) {
            return toast;
        }
    }
    return nullptr;
}

/// The description on the not-authorised screen: its word-wrapped label.
QString notAuthorizedText(const NotAuthorizedView& view) {
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        if (label->wordWrap()) {
            return label->text();
        }
    }
    return {};
}

/// Drives the GUI thread's animations by hand, a frame at a time, so that a test sees every frame of an
/// animation however busy the machine is.
class ManualAnimationClock final : public QAnimationDriver {
public:
    static constexpr qint64 frameMs = 16;

    ManualAnimationClock() { install(); }
    ~ManualAnimationClock() override { uninstall(); }
    ManualAnimationClock(const ManualAnimationClock&) = delete;
    ManualAnimationClock& operator=(const ManualAnimationClock&) = delete;

    // Time restarts with each run of the animations: the animation timer adds it to where it stood.
    void start() override {
        elapsed_ = 0;
        QAnimationDriver::start();
    }

    void step() {
        elapsed_ += frameMs;
        advance();
        QCoreApplication::processEvents();
    }
    qint64 elapsed() const override { return elapsed_; }

private:
    qint64 elapsed_ = 0;
};

/// The toast's scale now and frame by frame until `done` (two seconds at most), each frame checked to fade as
/// it grows.
template <class Done>
std::vector<double> framesUntil(ManualAnimationClock& clock, Done done, const ToastView& toast) {
    std::vector<double> scales{toast.scale()};
    for (int frame = 0; frame < 2000 / ManualAnimationClock::frameMs && !done(); ++frame) {
        clock.step();
        scales.push_back(toast.scale());
        EXPECT_NEAR(toast.opacity(), toast.scale(), 0.0001) << "it fades as it grows";
    }
    EXPECT_TRUE(done()) << "the animation ends within two seconds";
    return scales;
}

bool passesThroughTheMiddle(const std::vector<double>& scales) {
    return std::any_of(scales.begin(), scales.end(), [](double scale) { return scale > 0.2 && scale < 0.8; });
}

class MainContentTest : public MainWindowTest {
protected:
    void TearDown() override {
        menuBar.reset();
        content.reset();
        MainWindowTest::TearDown();
    }

    /// The menu bar's commands, whose keys reach the content as they do in the main window.
    void installMenus() {
        menuBar = std::make_unique<QMenuBar>();
        content->addActions(
            (new MenuCommands(*menuBar, model(), environment->service().displayName(), MenuActions{}))
                ->keyedActions());
    }

    void makeContent(int width = 600) {
        content = std::make_unique<MainContentView>(
            *models, environment->service().displayName(),
            makeLibraryPaneFactory(*models, ListEnvironment::of(*environment)));
        content->resize(width, 500);
    }

    /// Quits and starts the environment and the models again on the same settings, with the library file
    /// or without it.
    void restart(bool removeLibraryFile = false) {
        content.reset();
        models.reset();
        environment->shutDown();
        environment.reset();
        if (removeLibraryFile) {
            for (const char* name : {"local.db", "local.db-wal", "local.db-shm"}) {
                QFile::remove(folder.filePath(QString::fromLatin1(name)));
            }
        }
        environment = makeAppEnvironment(folder, demoSongCount);
        models = std::make_unique<AppModels>(*environment);
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
                                           song.playParameters()});
        }
        return queue;
    }

    /// The play-error alerts on screen.
    std::vector<QMessageBox*> shownAlerts() const {
        std::vector<QMessageBox*> shown;
        for (QMessageBox* alert : content->findChildren<QMessageBox*>()) {
            if (alert->isVisible() &&
                alert->text() == QStringLiteral("The selected item could not be played.")) {
                shown.push_back(alert);
            }
        }
        return shown;
    }

    /// Shows the Songs list and waits for all of its rows.
    SongList* showSongsList() {
        model().selectContainerKind(containerKindID(ContainerKind::songs));
        model().navigationPath.set(pathOf(ContainerKind::songs));
        SongList* songs = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                // The lists share one meta-object, so only the C++ type tells the song lists apart; a detail
                // list found on the way may be dropped by the pod, so none is kept from an earlier look.
                songs = nullptr;
                for (auto* list : content->findChildren<CollectionListControllerBase*>()) {
                    auto* candidate = dynamic_cast<SongList*>(list);
                    if (candidate && candidate->model()->rowCount() == int(demoSongCount) + 2) {
                        songs = candidate;
                    }
                }
                return songs != nullptr;
            },
            15000));
        return songs;
    }

    static void doubleClickRow(SongList& songs, int row) {
        const QPoint center = songs.visualRect(songs.model()->index(row, 0)).center();
        QTest::mouseClick(songs.viewport(), Qt::LeftButton, {}, center);
        QTest::mouseDClick(songs.viewport(), Qt::LeftButton, {}, center);
    }

    /// Double-clicks a song while the service holds its audio's address back for 2.5 s, and waits a second
    /// into the load, the bar showing the song as playing.
    void startSlowPlay(DemoService::Testing::DelayingRelay& relay) {
        SongList* songs = showSongsList();
        ASSERT_TRUE(songs);
        auto slow = *MusicKit::ServiceConfiguration::current();
        slow.apiBase = relay.baseURL();
        MusicKit::ServiceConfiguration::setCurrent(slow);
        relay.delay("/v1/me/playback", std::chrono::milliseconds(2500));
        doubleClickRow(*songs, 5);
        ASSERT_TRUE(QTest::qWaitFor([&] { return playPause().text() == PlayerSymbols::pause; }, 2000));
        QTest::qWait(1000);
    }

    PlayerButton& playPause() const { return *content->playerBar()->view()->playPauseButton(); }

    std::unique_ptr<MainContentView> content;
    std::unique_ptr<QMenuBar> menuBar;
};

/// A relay in front of the service the application reaches now.
DemoService::Testing::DelayingRelay relayToCurrentService() {
    return DemoService::Testing::DelayingRelay(
        DemoService::Testing::DelayingRelay::portOf(MusicKit::ServiceConfiguration::current()->apiBase));
}

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
    EXPECT_FALSE(content->syncingToast()->isPresented());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !content->syncingToast()->isVisible(); }, 2000));
    EXPECT_TRUE(content->pod().view()->isEnabled());
    // The playlists list may already have opened its first playlist in a third pane.
    const std::vector<NavigationItem>& path = model().navigationPath.get();
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(std::vector<NavigationItem>(path.begin(), path.begin() + 2), pathOf(ContainerKind::playlists));
    EXPECT_EQ(content->pod().view()->panes().size(), path.size());
    EXPECT_FALSE(models->madeForYou->items.get().empty());
    EXPECT_FALSE(models->stations->items.get().empty());
    EXPECT_FALSE(content->isNotAuthorized());

    // Update Library dims the pod the same way; the list the keys went to has them again after it.
    content->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(content.get(), 5000));
    auto* playlists = qobject_cast<QAbstractItemView*>(content->pod().view()->panes()[1]);
    ASSERT_TRUE(playlists);
    QTest::mouseClick(playlists->viewport(), Qt::LeftButton, {},
                      playlists->visualRect(playlists->model()->index(0, 0)).center());
    ASSERT_TRUE(playlists->hasFocus());
    ASSERT_TRUE(finishes(model().performFullSync(), 60000));
    settle();
    EXPECT_TRUE(content->pod().view()->isEnabled());
    EXPECT_TRUE(playlists->hasFocus());
}

TEST_F(MainContentTest, RefusedAccessShowsTheScreenAndTryAgainRunsTheWholeStart) {
    const MusicKit::ServiceConfiguration good = environment->service().configuration();
    MusicKit::ServiceConfiguration bad = good;
    bad.userToken = "expired";
    MusicKit::ServiceConfiguration::setCurrent(bad);
    UnifiedLog::LogStore::shared().removeAll();
    makeContent();
    QSignalSpy refused(content.get(), &MainContentView::accessRefused);
    content->show();
    ASSERT_TRUE(refused.wait(10000));
    EXPECT_TRUE(content->notAuthorizedView()->isVisible());
    EXPECT_EQ(notAuthorizedText(*content->notAuthorizedView()),
              QStringLiteral("Marrowbell is not able to access your music library. Make sure you are signed "
                             "into Marrowbell Demo in the Marrowbell Demo app first."));
    EXPECT_TRUE(contains(loggedErrors(), "Failed to request music library access: Marrowbell Demo answered "
                                         "with an error (status 401)."));
    EXPECT_TRUE(model().navigationPath.get().empty()) << "nothing starts without access";

    // Space presses the focused button, as it does any button; it does not reach the player.
    content->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(content.get(), 5000));
    content->notAuthorizedView()->tryAgainButton()->setFocus();
    QTest::keyClick(content->notAuthorizedView()->tryAgainButton(), Qt::Key_Space);
    ASSERT_TRUE(refused.wait(10000)) << "still refused while the tokens are bad";
    EXPECT_TRUE(content->notAuthorizedView()->isVisible());

    MusicKit::ServiceConfiguration::setCurrent(good);
    QSignalSpy finished(content.get(), &MainContentView::startUpFinished);
    content->notAuthorizedView()->tryAgainButton()->click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_FALSE(content->notAuthorizedView()->isVisible());
    // Once its own sync has stored the playlists, the list may already have opened the first in a third pane.
    const std::vector<NavigationItem>& path = model().navigationPath.get();
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(std::vector<NavigationItem>(path.begin(), path.begin() + 2), pathOf(ContainerKind::playlists));
    EXPECT_FALSE(models->madeForYou->items.get().empty()) << "Try Again loads Made for You too";
    EXPECT_FALSE(models->stations->items.get().empty()) << "and Stations for You";

    // A synced library shows at once; a refusal then covers it and keeps the keys from it.
    restart();
    MusicKit::ServiceConfiguration expired = environment->service().configuration();
    expired.userToken = "expired";
    MusicKit::ServiceConfiguration::setCurrent(expired);
    makeContent();
    QSignalSpy refusedAgain(content.get(), &MainContentView::accessRefused);
    content->show();
    ASSERT_TRUE(refusedAgain.wait(10000));
    EXPECT_GE(model().navigationPath.get().size(), 2u);
    EXPECT_TRUE(content->notAuthorizedView()->isVisible());
    EXPECT_FALSE(content->pod().view()->isEnabled());
}

TEST_F(MainContentTest, ASyncedLibraryShowsAtOnceWhileTheServiceStaysSilent) {
    makeContent();
    showAndStart();
    restart();
    SilentService silent;
    MusicKit::ServiceConfiguration configuration = environment->service().configuration();
    configuration.apiBase = silent.baseURL();
    configuration.timeoutLimit = 10.0;
    MusicKit::ServiceConfiguration::setCurrent(configuration);
    makeContent();
    content->show();
    // The stored lists do not wait the five seconds that the service is given to refuse access.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto panes = content->pod().view()->panes();
            auto* playlists = panes.size() >= 2 ? qobject_cast<QAbstractItemView*>(panes[1]) : nullptr;
            return playlists && playlists->model()->rowCount() > 0;
        },
        4500));
    EXPECT_TRUE(content->pod().view()->isEnabled());
    EXPECT_FALSE(toastReading(*content, QStringLiteral("Connecting to Marrowbell Demo…")));
    EXPECT_FALSE(content->notAuthorizedView()->isVisible());
    // The start's syncs cannot reach the service: the user is told so once, over the stored library.
    ASSERT_TRUE(QTest::qWaitFor([&] { return content->findChild<QMessageBox*>() != nullptr; }, 8000));
    EXPECT_EQ(content->findChild<QMessageBox*>()->text(), QStringLiteral("The library could not be synced."));
    EXPECT_TRUE(content->findChild<QMessageBox*>()->informativeText().startsWith(
        QStringLiteral("Marrowbell Demo did not answer in time.")));
    EXPECT_FALSE(content->notAuthorizedView()->isVisible());
}

TEST_F(MainContentTest, AFirstStartWithTheServiceDownSyncsAndSaysWhatFailedInsteadOfAskingToSignIn) {
    MusicKit::ServiceConfiguration unreachable = environment->service().configuration();
    unreachable.apiBase = "http://127.0.0.1:1";
    MusicKit::ServiceConfiguration::setCurrent(unreachable);
    makeContent();
    showAndStart();
    EXPECT_FALSE(content->notAuthorizedView()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return content->findChild<QMessageBox*>() != nullptr; }, 5000));
    EXPECT_TRUE(content->findChild<QMessageBox*>()->informativeText().startsWith(
        QStringLiteral("Marrowbell Demo could not be reached.")));
    EXPECT_FALSE(environment->defaults().boolValue(DefaultsKeys::performedFullSync));
}

TEST_F(MainContentTest, ALibraryFileThatIsGoneIsSyncedAgainAtTheNextStart) {
    makeContent();
    showAndStart();
    environment->defaults().setValue(QStringLiteral("lastAlbumTrackSync-a.1"), 1.0);
    restart(true);
    Defaults& defaults = environment->defaults();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !defaults.boolValue(DefaultsKeys::performedFullSync) &&
                   !defaults.storedValue(DefaultsKeys::lastPlaylistSync).isValid() &&
                   !defaults.storedValue(QStringLiteral("lastAlbumTrackSync-a.1")).isValid();
        },
        5000))
        << "what the settings knew of the file before is forgotten";
    makeContent();
    showAndStart();
    EXPECT_EQ(storedSongs().size(), demoSongCount);
    EXPECT_TRUE(defaults.boolValue(DefaultsKeys::performedFullSync));
}

TEST_F(MainContentTest, AFailedFirstSyncSaysWhatFailedOverThePartialLibraryAndIsNotRecordedAsDone) {
    DemoService::DemoService service({.songCount = 200});
    service.start();
    MusicKit::ServiceConfiguration::setCurrent(service.configuration());
    // Request 1 asks for access, 2 is the sync's own access check, 3 its first page of playlists.
    service.injectFault(3, DemoService::DemoFault::malformedJSON());
    makeContent();
    showAndStart();

    ASSERT_TRUE(QTest::qWaitFor([&] { return content->findChild<QMessageBox*>() != nullptr; }, 5000));
    const QMessageBox* alert = content->findChild<QMessageBox*>();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->text(), QStringLiteral("The library could not be synced."));
    EXPECT_TRUE(alert->informativeText().startsWith(
        QStringLiteral("Marrowbell Demo sent data that could not be read.")))
        << alert->informativeText().toStdString();
    EXPECT_FALSE(environment->defaults().boolValue(DefaultsKeys::performedFullSync));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !content->syncingToast()->isVisible(); }, 2000));
    // The failure came before the window system placed the window: the alert still opens over it.
    content->move(content->pos() + QPoint(240, 130));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return alert->frameGeometry().center() == content->frameGeometry().center(); }, 2000));

    // The next full sync that succeeds clears the failure; its alert has been read and stays closed.
    QTest::keyClick(const_cast<QMessageBox*>(alert), Qt::Key_Return);
    ASSERT_TRUE(finishes(model().performFullSync()));
    settle();
    EXPECT_FALSE(content->findChild<QMessageBox*>() && content->findChild<QMessageBox*>()->isVisible());
    EXPECT_TRUE(environment->defaults().boolValue(DefaultsKeys::performedFullSync));
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

TEST_F(MainContentTest, AddedToLibraryGrowsAndFadesInAndEveryToastGoesAtOnce) {
    environment->defaults().setValue(DefaultsKeys::performedFullSync, true);
    makeContent();
    showAndStart();
    ManualAnimationClock clock;
    ToastView& added = *content->addToast();
    model().showAddToast.set(true);
    settle();
    ASSERT_TRUE(added.isVisible());
    const auto growing = framesUntil(
        clock, [&] { return added.scale() == 1.0; }, added);
    EXPECT_TRUE(std::is_sorted(growing.begin(), growing.end())) << "it grows without a jump back";
    EXPECT_LT(growing.front(), 0.95) << "it starts small";
    EXPECT_TRUE(passesThroughTheMiddle(growing));
    EXPECT_EQ(added.opacity(), 1.0);
    EXPECT_EQ(added.geometry().center(), content->pod().view()->geometry().center());
    model().showAddToast.set(false);
    settle();
    EXPECT_FALSE(added.isVisible()) << "it disappears at once";

    ToastView& syncing = *content->syncingToast();
    model().showSyncingToast.set(true);
    settle();
    EXPECT_TRUE(syncing.isVisible());
    EXPECT_EQ(syncing.scale(), 1.0) << "it appears at once";
    EXPECT_EQ(syncing.opacity(), 1.0);
    model().showSyncingToast.set(false);
    settle();
    EXPECT_FALSE(syncing.isVisible()) << "it disappears at once";
}

TEST_F(MainContentTest, WhileTheSystemSavesPowerTheStartLeavesTheRecommendationsUnloaded) {
    DesktopIntegration::Testing::PrivateBus bus;
    ASSERT_TRUE(bus.start());
    DesktopIntegration::Testing::PowerProfilesService profiles;
    profiles.activeProfile = QStringLiteral("power-saver");
    ASSERT_TRUE(bus.offer(&profiles, QStringLiteral("net.hadess.PowerProfiles"),
                          QStringLiteral("/net/hadess/PowerProfiles")));
    makeContent();
    content->usePowerProfilesBus(bus.connect(QStringLiteral("client")));
    showAndStart();
    settle();
    EXPECT_FALSE(model().navigationPath.get().empty()) << "the central model started";
    EXPECT_TRUE(models->madeForYou->items.get().empty());
    EXPECT_TRUE(models->stations->items.get().empty());
}

TEST_F(MainContentTest, SpacePlaysOrPausesInThePodButNeverInTheSearchPanelNorWhileStopped) {
    makeContent();
    installMenus();
    showAndStart();
    content->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(content.get(), 5000));
    const std::size_t errors = loggedErrors().size();
    const int pane = model().activePane.get();
    ASSERT_TRUE(qobject_cast<QAbstractItemView*>(QApplication::focusWidget())) << "a list has the keys";
    for (const QKeyCombination key :
         {KeyboardShortcuts::playPause, KeyboardShortcuts::previousTrack, KeyboardShortcuts::nextTrack}) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
    QTest::qWait(200);
    EXPECT_TRUE(model().isStopped.get());
    EXPECT_EQ(loggedErrors().size(), errors) << "disabled while stopped, the keys do nothing";
    EXPECT_EQ(model().activePane.get(), pane);

    models->player->setQueue(storedSongs());
    model().isStopped.set(false);

    content->showSearch();
    QLineEdit* field = content->searchWindow().view().searchField();
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("a"));
    QTest::keyClick(field, Qt::Key_Space);
    EXPECT_EQ(field->text(), QStringLiteral("a ")) << "the field takes the space";
    QListView* results = content->searchWindow().view().resultList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->model()->rowCount() > 1; }, 15000));
    results->setFocus();
    results->setCurrentIndex(results->model()->index(1, 0));
    QTest::keyClick(results, Qt::Key_Space);
    EXPECT_FALSE(QTest::qWaitFor([&] { return model().isPlaying.get(); }, 2000));
    EXPECT_TRUE(content->searchPanel()->isVisible());

    content->closeSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !content->searchPanel()->isVisible(); }, 1000));
    content->pod().view()->setFocus();
    QTest::keyClick(content->pod().view(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().isPlaying.get(); }, 5000));
    QTest::keyClick(content->pod().view(), Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model().isPlaying.get(); }, 5000));
}

TEST_F(MainContentTest, EveryFailedPlayShowsTheAlertAndLeavesThePlayerStopped) {
    makeContent();
    showAndStart();
    SongList* songs = showSongsList();
    ASSERT_TRUE(songs);
    // The service no longer answers: nothing listens at its address.
    auto unreachable = *MusicKit::ServiceConfiguration::current();
    unreachable.apiBase = "http://127.0.0.1:1";
    MusicKit::ServiceConfiguration::setCurrent(unreachable);

    for (const int row : {5, 6}) {
        SCOPED_TRACE(row);
        doubleClickRow(*songs, row);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shownAlerts().size() == 1; }, 15000))
            << "every failure shows it";
        EXPECT_EQ(models->player->state().playbackStatus(), MusicKit::MusicPlayerPlaybackStatus::stopped);
        EXPECT_TRUE(QTest::qWaitFor([&] { return playPause().text() == PlayerSymbols::play; }, 3000))
            << "the bar offers to play, not to pause";
        EXPECT_FALSE(model().isPlaying.get());

        shownAlerts().front()->button(QMessageBox::Ok)->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shownAlerts().empty(); }, 2000));
    }
}

TEST_F(MainContentTest, StopWhileASongLoadsEndsItQuietly) {
    makeContent();
    showAndStart();
    auto relay = relayToCurrentService();
    const auto errorsBefore = loggedErrors().size();
    ASSERT_NO_FATAL_FAILURE(startSlowPlay(relay));
    QTest::mouseClick(&playPause(), Qt::LeftButton, Qt::AltModifier, playPause().rect().center());

    QTest::qWait(3000);
    EXPECT_TRUE(shownAlerts().empty());
    const auto errors = loggedErrors();
    EXPECT_EQ(std::vector(errors.begin() + static_cast<std::ptrdiff_t>(errorsBefore), errors.end()),
              std::vector<std::string>{});
    EXPECT_TRUE(model().isStopped.get());
    EXPECT_EQ(playPause().text(), PlayerSymbols::play);
    EXPECT_EQ(models->player->state().playbackStatus(), MusicKit::MusicPlayerPlaybackStatus::stopped);
}

TEST_F(MainContentTest, PauseAndSeekWhileASongLoadsHoldUntilPlay) {
    makeContent();
    showAndStart();
    auto relay = relayToCurrentService();
    ASSERT_NO_FATAL_FAILURE(startSlowPlay(relay));
    QTest::mouseClick(&playPause(), Qt::LeftButton, {}, playPause().rect().center());
    PlaybackTimeView& timeBar = *content->playerBar()->view()->hoodie()->timeBar();
    QTest::mouseClick(&timeBar, Qt::LeftButton, {}, QPoint(timeBar.width() / 4, timeBar.height() / 2));
    const double quarter = model().currentPlayingTime.get();
    ASSERT_GT(quarter, 10.0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return models->player->isPreparedToPlay(); }, 8000));
    QTest::qWait(500);
    EXPECT_EQ(models->player->state().playbackStatus(), MusicKit::MusicPlayerPlaybackStatus::paused);
    EXPECT_EQ(playPause().text(), PlayerSymbols::play);
    EXPECT_NEAR(model().currentPlayingTime.get(), quarter, 0.01);

    QTest::mouseClick(&playPause(), Qt::LeftButton, {}, playPause().rect().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return models->player->playbackTime() > quarter; }, 5000));
    EXPECT_NEAR(models->player->playbackTime(), quarter, 1.5) << "the song starts where the bar was clicked";
}

} // namespace
} // namespace Marrowbell::Testing
