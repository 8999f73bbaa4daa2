#include "RecordedSignals.h"
#include "Settings/KeyboardShortcutsView.h"
#include "Windows/WindowManager.h"

#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

using Testing::RecordedSignal;
using Testing::recordedSignals;

QString cellText(const QGridLayout& grid, int row, int column) {
    return qobject_cast<QLabel*>(grid.itemAtPosition(row, column)->widget())->text();
}

TEST(KeyboardShortcutsTest, ListsTheNineShortcutsWithThePlatformsKeyNames) {
    KeyboardShortcutsView view(QStringLiteral("Marrowbell Demo"));
    const auto* grid = view.findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 9);
    const std::pair<const char*, const char*> rows[] = {
        {"Navigate the current list", "Up / Down arrow keys"},
        {"Navigate between sections or panes", "Left / Right arrow keys"},
        {"Play the selected item", "Return"},
        {"Play or pause the current song", "Space"},
        {"Add the current song to your library", "Ctrl+S"},
        {"Skip to the previous track", "Ctrl+Left"},
        {"Skip to the next track", "Ctrl+Right"},
        {"Search your library", "Ctrl+F"},
        {"Search the Marrowbell Demo catalog", "Ctrl+Shift+F"},
    };
    for (int row = 0; row < 9; ++row) {
        EXPECT_EQ(cellText(*grid, row, 0), QString::fromUtf8(rows[row].first)) << "row " << row;
        EXPECT_EQ(cellText(*grid, row, 1), QString::fromUtf8(rows[row].second)) << "row " << row;
    }
}

TEST(KeyboardShortcutsTest, EachOpeningSendsOneSignalAndTheContentIs400WideAndAsTallAsItsText) {
    recordedSignals->takeSent();
    WindowManager windows;
    windows.setContentFactory(AppWindow::keyboardShortcuts,
                              [] { return new KeyboardShortcutsView(QStringLiteral("Marrowbell Demo")); });
    QWidget* window = windows.open(AppWindow::keyboardShortcuts);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const RecordedSignal viewed{"view_keyboard_shortcuts", {}};
    EXPECT_EQ(recordedSignals->takeSent(), std::vector{viewed});

    window->close();
    EXPECT_TRUE(recordedSignals->takeSent().empty());
    windows.open(AppWindow::keyboardShortcuts);
    EXPECT_EQ(recordedSignals->takeSent(), std::vector{viewed});

    const auto* view = window->findChild<KeyboardShortcutsView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->width(), 400);
    EXPECT_EQ(window->minimumWidth(), 400);
    EXPECT_EQ(window->maximumWidth(), 400);
    // Within a pixel: the height may round either way.
    EXPECT_LE(
        (window->geometry().center() - window->screen()->availableGeometry().center()).manhattanLength(), 1);
    EXPECT_EQ(view->layout()->contentsRect().width(), 360);
    EXPECT_EQ(window->height(), view->layout()->totalHeightForWidth(400)) << "as tall as its content";
    // Nothing is cut off: the window grows to the wrapped text.
    for (const auto* label : view->findChildren<QLabel*>()) {
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        } else {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
        EXPECT_LE(label->geometry().right(), 380) << label->text().toStdString();
    }
}

} // namespace
} // namespace Marrowbell
