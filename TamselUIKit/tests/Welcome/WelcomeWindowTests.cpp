#include "OpenedURLs.h"
#include "WelcomeTestFiles.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMimeDatabase>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <TamselUIKit/RecentlyUsedDocuments.h>
#include <TamselUIKit/WelcomeView.h>
#include <TamselUIKit/WelcomeViewModel.h>
#include <TamselUIKit/WelcomeWindowController.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

constexpr int waitMilliseconds = 10'000;
const QString showsOnLaunchKey = u"showWelcomeWindowAtLaunch"_s;

class WelcomeWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<WelcomeWindowController> makeWindow(QList<WelcomeAction> actions = {}) {
        return std::make_unique<WelcomeWindowController>(
            std::move(actions), showsOnLaunchKey, QIcon(), false, false, std::nullopt, nullptr,
            std::make_shared<RecentlyUsedDocuments>(files.listPath()));
    }
    /// Shows the window and waits for the reload that showing starts.
    static void show(WelcomeWindowController& window) {
        QSignalSpy published(&window.viewModel(), &WelcomeViewModel::recentsChanged);
        window.showWindow();
        published.wait(1'000);
    }
    static QLabel* label(const QWidget& parent, const QString& name) {
        return parent.findChild<QLabel*>(name);
    }
    static QPoint rowCentre(QListWidget& list, int row) {
        return list.visualItemRect(list.item(row)).center();
    }

    Testing::RecentFiles files;
};

TEST_F(WelcomeWindowTest, NamesTheApplicationAndSaysWhenThereAreNoRecentDocuments) {
    auto window = makeWindow();
    show(*window);
    EXPECT_EQ(window->windowTitle(), u"Welcome to Inkwell"_s);
    EXPECT_EQ(label(*window, u"title"_s)->text(), u"Welcome to Inkwell"_s);
    EXPECT_TRUE(label(*window, u"noRecents"_s)->isVisible());
    EXPECT_EQ(label(*window, u"noRecents"_s)->text(), u"No Recent Documents"_s);
    EXPECT_GE(window->width(), 720);

    files.write({u"notes.txt"_s});
    QSignalSpy published(&window->viewModel(), &WelcomeViewModel::recentsChanged);
    window->viewModel().reload();
    ASSERT_TRUE(published.wait(waitMilliseconds));
    EXPECT_FALSE(label(*window, u"noRecents"_s)->isVisible());
    EXPECT_EQ(window->welcomeView().recentsList()->count(), 1);
}

TEST_F(WelcomeWindowTest, AClickSelectsARecentAndACtrlClickClearsTheSelection) {
    const auto urls = files.write({u"first.txt"_s, u"second.txt"_s});
    auto window = makeWindow();
    show(*window);
    QListWidget& list = *window->welcomeView().recentsList();
    ASSERT_EQ(list.count(), 2);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
    EXPECT_EQ(window->welcomeView().selectedRecent(), urls[1]);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(list, 0));
    EXPECT_EQ(window->welcomeView().selectedRecent(), std::nullopt);
}

TEST_F(WelcomeWindowTest, ADoubleClickClosesTheWindowOnceAndOpensTheDocument) {
    const auto urls = files.write({u"first.txt"_s});
    Testing::OpenedURLs opened(u"file"_s);
    auto window = makeWindow();
    QSignalSpy closed(window.get(), &WelcomeWindowController::didClose);
    show(*window);
    QListWidget& list = *window->welcomeView().recentsList();
    ASSERT_EQ(list.count(), 1);

    // The offscreen platform's synthetic double-click does not reach the item view's double-click handling.
    Q_EMIT list.itemDoubleClicked(list.item(0));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(opened.urls, urls);
    QTest::qWait(50);
    EXPECT_EQ(closed.size(), 1);
}

TEST_F(WelcomeWindowTest, AnUnreadableDocumentIsOfKindDocumentAndShowsItsFileIcon) {
    const auto urls = files.write({u"gone.txt"_s, u"here.txt"_s});
    QFile::remove(urls[0].toLocalFile());
    auto window = makeWindow();
    show(*window);
    QListWidget& list = *window->welcomeView().recentsList();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(label(*list.itemWidget(list.item(0)), u"kind"_s)->text(), u"Document"_s);
    EXPECT_EQ(label(*list.itemWidget(list.item(1)), u"kind"_s)->text(),
              QMimeDatabase().mimeTypeForName(u"text/plain"_s).comment());
    EXPECT_EQ(label(*list.itemWidget(list.item(1)), u"name"_s)->text(), u"here"_s);
    EXPECT_EQ(label(*list.itemWidget(list.item(1)), u"icon"_s)->graphicsEffect(), nullptr);
}

TEST_F(WelcomeWindowTest, ActionRowsRunTheirActionsAndADividerIsOneLine) {
    int created = 0;
    auto window = makeWindow({WelcomeAction(u"New Document"_s, u"doc"_s, [&] { ++created; }),
                              WelcomeAction::divider(), WelcomeAction::divider()});
    show(*window);
    const auto buttons = window->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), u"New Document"_s);
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_EQ(created, 1);

    window->setActions({WelcomeAction::divider()});
    EXPECT_TRUE(window->findChildren<QToolButton*>().isEmpty());
    const auto lines = window->findChildren<QFrame*>();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const QFrame* frame) { return frame->frameShape() == QFrame::HLine; }),
              1);
}

TEST_F(WelcomeWindowTest, TheShowAtLaunchSwitchIsKeptInTheSettings) {
    QSettings().remove(showsOnLaunchKey);
    auto window = makeWindow();
    auto* showsOnLaunch = window->findChild<QCheckBox*>(u"showsOnLaunch"_s);
    EXPECT_TRUE(showsOnLaunch->isChecked());
    EXPECT_EQ(showsOnLaunch->text(), u"Show this window when Inkwell starts"_s);
    showsOnLaunch->setChecked(false);
    EXPECT_FALSE(QSettings().value(showsOnLaunchKey, true).toBool());
    EXPECT_FALSE(makeWindow()->findChild<QCheckBox*>(u"showsOnLaunch"_s)->isChecked());
}

} // namespace
} // namespace TamselUIKit
