#include "Platform/Defaults.h"
#include "Settings/KeyboardShortcutsView.h"
#include "Windows/MainWindow.h"
#include "Windows/WindowManager.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <TamselUIKit/FeedbackView.h>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

/// Settings of their own in a temporary folder.
struct TestDefaults {
    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QStringLiteral("Marrowbell.conf"))};
};

TEST(WindowTests, TheMainWindowStartsAt600By500AndKeepsItsContentAtLeast400By80) {
    TestDefaults settings;
    MainWindow window(QStringLiteral("Marrowbell Demo"), settings.defaults);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), MainWindow::defaultSize);
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("Marrowbell Demo")));

    window.resize(100, 10);
    EXPECT_GE(window.centralWidget()->width(), 400);
    EXPECT_GE(window.centralWidget()->height(), 80);
}

TEST(WindowTests, TheMainWindowComesBackAtItsLastSizeAndPlace) {
    TestDefaults settings;
    const QRect moved(130, 90, 720, 540);
    {
        MainWindow window(QStringLiteral("Marrowbell Demo"), settings.defaults);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.setGeometry(moved);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.geometry() == moved; }, 2000));
        window.close();
    }
    MainWindow next(QStringLiteral("Marrowbell Demo"), settings.defaults);
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    EXPECT_EQ(next.geometry(), moved);
}

TEST(WindowTests, ClosingTheMainWindowLeavesTheApplicationRunningAndPresentingBringsItBackUnminimised) {
    TestDefaults settings;
    MainWindow window(QStringLiteral("Marrowbell Demo"), settings.defaults);
    window.show();
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quit] { quit = true; });
    QApplication::setQuitOnLastWindowClosed(false);
    window.close();
    QTest::qWait(20);
    EXPECT_FALSE(quit);
    window.present();
    EXPECT_TRUE(window.isVisible());
    window.showMinimized();
    window.present();
    EXPECT_FALSE(window.isMinimized());
}

TEST(WindowTests, EachRequestedWindowExistsOnceAndIsMadeOnFirstUse) {
    WindowManager windows;
    EXPECT_EQ(windows.existing(AppWindow::sendFeedback), nullptr);
    QWidget* feedback = windows.open(AppWindow::sendFeedback);
    EXPECT_EQ(feedback->windowTitle(), QStringLiteral("Send Feedback"));
    feedback->close();
    EXPECT_EQ(windows.open(AppWindow::sendFeedback), feedback);
    EXPECT_TRUE(feedback->isVisible());
    EXPECT_NE(windows.open(AppWindow::keyboardShortcuts), feedback);
    EXPECT_EQ(windows.existing(AppWindow::settings), nullptr);
}

TEST(WindowTests, CtrlWClosesTheActiveRequestedWindowEvenWhileTyping) {
    WindowManager windows;
    windows.setContentFactory(AppWindow::sendFeedback, [] {
        return new TamselUIKit::FeedbackView(QStringLiteral("token"), QStringLiteral("Marrowbell"),
                                             QStringLiteral("support@example.com"), std::nullopt);
    });
    windows.setContentFactory(AppWindow::keyboardShortcuts,
                              [] { return new KeyboardShortcutsView(QStringLiteral("Marrowbell Demo")); });
    for (const AppWindow kind :
         {AppWindow::settings, AppWindow::sendFeedback, AppWindow::keyboardShortcuts}) {
        SCOPED_TRACE(WindowManager::title(kind).toStdString());
        QWidget* window = windows.open(kind);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::keyClicks(focused, QStringLiteral("w"));
        QTest::keyClick(focused, Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(windows.existing(kind), window) << "closed, kept for the next opening";
    }
}

TEST(WindowTests, AGivenContentReplacesThePlaceholderAndSizesTheWindow) {
    WindowManager windows;
    windows.setContentFactory(AppWindow::settings, [] {
        auto* content = new QLabel(QStringLiteral("Appearance"));
        content->setFixedSize(300, 200);
        return content;
    });
    QWidget* settings = windows.open(AppWindow::settings);
    ASSERT_NE(settings->findChild<QLabel*>(), nullptr);
    EXPECT_EQ(settings->findChild<QLabel*>()->text(), QStringLiteral("Appearance"));
    EXPECT_EQ(settings->minimumSize(), settings->maximumSize());
    EXPECT_GE(settings->width(), 300);
}

TEST(WindowTests, SendFeedbackOpensCentredAtTheFormsIdealWidthAndResizesOnlyWithinItsBounds) {
    WindowManager windows;
    windows.setContentFactory(AppWindow::sendFeedback, [] {
        return new TamselUIKit::FeedbackView(QStringLiteral("token"), QStringLiteral("Marrowbell"),
                                             QStringLiteral("support@example.com"), std::nullopt);
    });
    QWidget* feedback = windows.open(AppWindow::sendFeedback);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(feedback));
    EXPECT_EQ(feedback->width(), 520);
    // Within a pixel: the height may round either way.
    EXPECT_LE(
        (feedback->geometry().center() - feedback->screen()->availableGeometry().center()).manhattanLength(),
        1);

    feedback->resize(900, feedback->height() + 200);
    EXPECT_EQ(feedback->width(), 680);
    feedback->resize(300, feedback->height());
    EXPECT_EQ(feedback->width(), 420);
    EXPECT_EQ(feedback->minimumHeight(), feedback->maximumHeight()) << "as tall as the form, always";
}

} // namespace
} // namespace Marrowbell
