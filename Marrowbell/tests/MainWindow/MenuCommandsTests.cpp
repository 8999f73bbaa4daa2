#include "Commands/MenuCommands.h"
#include "MainWindowTestFixture.h"
#include "Settings/KeyboardShortcutsView.h"
#include "Settings/SettingsView.h"
#include "Tray/TrayMenu.h"
#include "Windows/WindowManager.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <TamselUIKit/FeedbackView.h>

namespace Marrowbell::Testing {
namespace {

class MenuCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window = std::make_unique<QMainWindow>();
        MenuActions actions;
        actions.openFeedback = [this] { ++feedbackOpened; };
        actions.showSearch = [this](bool catalog) { searches.push_back(catalog); };
        actions.quit = [] {};
        menus = new MenuCommands(*window->menuBar(), model(), QStringLiteral("Demo"), actions);
    }

    void TearDown() override {
        window.reset();
        MainWindowTest::TearDown();
    }

    QAction* item(MenuCommand command) const { return menus->action(command); }

    std::unique_ptr<QMainWindow> window;
    MenuCommands* menus = nullptr;
    int feedbackOpened = 0;
    std::vector<bool> searches;
};

TEST_F(MenuCommandsTest, MenusAndKeysAreThoseOfTheCommandSet) {
    QStringList titles;
    for (QAction* menu : window->menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Song"),
                                   QStringLiteral("&View"), QStringLiteral("&Controls"),
                                   QStringLiteral("&Window"), QStringLiteral("&Help")}));
    EXPECT_EQ(item(MenuCommand::settings)->shortcut(), QKeySequence(QStringLiteral("Ctrl+,")));
    EXPECT_EQ(item(MenuCommand::snapBack)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    EXPECT_EQ(item(MenuCommand::back)->shortcut(), QKeySequence(QStringLiteral("Ctrl+[")));

    item(MenuCommand::reportIssue)->trigger();
    item(MenuCommand::sendFeedback)->trigger();
    EXPECT_EQ(feedbackOpened, 2);
    item(MenuCommand::search)->trigger();
    item(MenuCommand::searchCatalog)->trigger();
    EXPECT_EQ(searches, (std::vector<bool>{false, true}));
}

TEST_F(MenuCommandsTest, EnabledStatesFollowTheModel) {
    EXPECT_FALSE(item(MenuCommand::back)->isEnabled());
    EXPECT_FALSE(item(MenuCommand::addToLibrary)->isEnabled());
    EXPECT_FALSE(item(MenuCommand::share)->isVisible());
    EXPECT_FALSE(item(MenuCommand::snapBack)->isEnabled());
    EXPECT_TRUE(item(MenuCommand::updateLibrary)->isEnabled());
    for (MenuCommand command :
         {MenuCommand::playPause, MenuCommand::stop, MenuCommand::nextTrack, MenuCommand::previousTrack}) {
        EXPECT_FALSE(item(command)->isEnabled()) << "nothing is in the player";
    }

    model().navigationPath.set(pathOf(ContainerKind::playlists));
    model().activePane.set(1);
    model().canAddToLibrary.set(true);
    model().shareLink.set(QUrl(QStringLiteral("https://example.com/song/1")));
    model().saveSnapbackState();
    model().isStopped.set(false);
    model().isPlaying.set(true);
    model().isFullSyncRunning.set(true);
    settle();
    EXPECT_TRUE(item(MenuCommand::back)->isEnabled());
    EXPECT_TRUE(item(MenuCommand::addToLibrary)->isEnabled());
    EXPECT_TRUE(item(MenuCommand::share)->isVisible());
    EXPECT_TRUE(item(MenuCommand::snapBack)->isEnabled());
    EXPECT_TRUE(item(MenuCommand::updateLibrary)->isEnabled()) << "a running full sync does not disable it";
    EXPECT_TRUE(item(MenuCommand::playPause)->isEnabled());
    EXPECT_EQ(item(MenuCommand::playPause)->text(), QStringLiteral("Pause"));

    model().isPlaying.set(false);
    model().activePane.set(0);
    model().isFullSyncRunning.set(false);
    settle();
    EXPECT_EQ(item(MenuCommand::playPause)->text(), QStringLiteral("Play"));
    EXPECT_FALSE(item(MenuCommand::back)->isEnabled());
    EXPECT_TRUE(item(MenuCommand::updateLibrary)->isEnabled());

    item(MenuCommand::repeatOne)->trigger();
    settle();
    EXPECT_EQ(model().repeatMode(), MusicKit::MusicPlayerRepeatMode::one);
    EXPECT_TRUE(item(MenuCommand::repeatOne)->isChecked());
    EXPECT_FALSE(item(MenuCommand::repeatOff)->isChecked());
}

TEST_F(MenuCommandsTest, UpdateLibraryChosenDuringASyncRunsOneMoreSyncAfterIt) {
    const QFuture<void> first = model().performFullSync();
    const auto firstProgress = model().syncProgress.get();
    settle();
    ASSERT_TRUE(model().isFullSyncRunning.get());
    ASSERT_TRUE(item(MenuCommand::updateLibrary)->isEnabled());
    for (int choice = 0; choice < 3; ++choice) {
        item(MenuCommand::updateLibrary)->trigger();
    }
    EXPECT_EQ(model().syncProgress.get(), firstProgress) << "no second sync while the first runs";

    ASSERT_TRUE(finishes(first));
    EXPECT_TRUE(model().isFullSyncRunning.get()) << "the queued sync follows at once";
    const auto secondProgress = model().syncProgress.get();
    EXPECT_NE(secondProgress, firstProgress);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().isFullSyncRunning.get(); }, 30000));
    QTest::qWait(200);
    EXPECT_FALSE(model().isFullSyncRunning.get()) << "three choices make one more sync, not three";
    EXPECT_EQ(model().syncProgress.get(), secondProgress);
    EXPECT_FALSE(model().showSyncingToast.get());
}

TEST_F(MenuCommandsTest, TheKeysActFromEveryRequestedWindowUnlessItsFocusedControlUsesThem) {
    WindowManager windows;
    windows.serveCommands(menus->keyedActions());
    windows.setContentFactory(AppWindow::settings, [this] {
        return new SettingsView(environment->defaults(), environment->notifications(),
                                DesktopIntegration::UserNotificationCenter::current());
    });
    windows.setContentFactory(AppWindow::sendFeedback, [] {
        return new TamselUIKit::FeedbackView(QStringLiteral("token"), QStringLiteral("Marrowbell"),
                                             QStringLiteral("support@example.com"), std::nullopt);
    });
    windows.setContentFactory(AppWindow::keyboardShortcuts,
                              [] { return new KeyboardShortcutsView(QStringLiteral("Demo")); });
    const std::pair<AppWindow, std::vector<MenuCommand>> tried[] = {
        {AppWindow::keyboardShortcuts, {MenuCommand::playPause, MenuCommand::nextTrack, MenuCommand::search}},
        {AppWindow::settings, {MenuCommand::nextTrack, MenuCommand::stop, MenuCommand::quit}},
        {AppWindow::sendFeedback, {MenuCommand::stop, MenuCommand::updateLibrary}},
    };
    for (const auto& [kind, commands] : tried) {
        QWidget* front = windows.open(kind);
        ASSERT_TRUE(QTest::qWaitForWindowActive(front));
        for (const MenuCommand command : commands) {
            SCOPED_TRACE((WindowManager::title(kind) + u' ' + item(command)->text()).toStdString());
            model().isStopped.set(false);
            settle();
            QSignalSpy chosen(item(command), &QAction::triggered);
            QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : front;
            QTest::keySequence(focused, item(command)->shortcut());
            EXPECT_EQ(chosen.count(), 1);
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().isFullSyncRunning.get(); }, 30000));

    // The focused control keeps the keys it uses itself.
    model().isStopped.set(false);
    settle();
    QSignalSpy playPause(item(MenuCommand::playPause), &QAction::triggered);
    QWidget* feedback = windows.open(AppWindow::sendFeedback);
    ASSERT_TRUE(QTest::qWaitForWindowActive(feedback));
    auto* name = feedback->findChild<QLineEdit*>();
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("A B"));
    EXPECT_EQ(name->text(), QStringLiteral("A B"));
    QWidget* settings = windows.open(AppWindow::settings);
    ASSERT_TRUE(QTest::qWaitForWindowActive(settings));
    auto* box = settings->findChild<QCheckBox*>();
    const bool wasChecked = box->isChecked();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_NE(box->isChecked(), wasChecked);
    EXPECT_EQ(playPause.count(), 0);
}

TEST_F(MenuCommandsTest, TrayMenuOffersTheTransportWhileSomethingIsInThePlayer) {
    QMenu menu;
    int quits = 0;
    fillTrayMenu(menu, model(), [&quits] { ++quits; });
    QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Play"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Next Track"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("Previous Track"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(items[i]->isEnabled());
    }
    items[4]->trigger();
    EXPECT_EQ(quits, 1);

    model().isStopped.set(false);
    model().isPlaying.set(true);
    fillTrayMenu(menu, model(), [] {});
    items = menu.actions();
    EXPECT_EQ(items[0]->text(), QStringLiteral("Pause"));
    EXPECT_TRUE(items[0]->isEnabled());
}

} // namespace
} // namespace Marrowbell::Testing
