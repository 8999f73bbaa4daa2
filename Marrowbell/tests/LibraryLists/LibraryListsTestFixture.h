#pragma once

#include "../MainWindow/MainWindowTestFixture.h"
#include "Lists/CollectionListControllerBase.h"
#include "Lists/ContainerList.h"
#include "Lists/ListEnvironment.h"
#include "Lists/TableCellPainter.h"
#include "MainWindow/PaneFactory.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QAbstractItemModel>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <memory>

namespace Marrowbell::Testing {

/// The panes as the pod makes them, over the application's models with the demo library synced into the
/// store; each pane is shown alone in an active window.
class LibraryListsTest : public MainWindowTest {
protected:
    using MainWindowTest::MainWindowTest;

    void SetUp() override {
        MainWindowTest::SetUp();
        auto synced = model().performFullSync();
        ASSERT_TRUE(finishes(synced, 60000));
        makePane = makeLibraryPaneFactory(*models, ListEnvironment::of(*environment));
    }

    void TearDown() override {
        panes.clear();
        MainWindowTest::TearDown();
    }

    /// Makes and shows the pane of `item` in an active window of its own.
    template <class List> List& showPane(const NavigationItem& item) {
        panes.emplace_back(makePane(item));
        QWidget& pane = *panes.back();
        auto* list = dynamic_cast<List*>(&pane);
        EXPECT_NE(list, nullptr);
        pane.resize(400, 600);
        pane.show();
        QApplication::setActiveWindow(&pane);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&pane));
        return *list;
    }

    /// Selects `kind` as the root list does, then shows its pane.
    template <class List> List& showKind(ContainerKind kind) {
        model().selectContainerKind(containerKindID(kind));
        if (auto path = navigationPathForKind(model().navigationPath.get(), kind)) {
            model().navigationPath.set(std::move(*path));
        }
        settle();
        return showPane<List>(NavigationItem::container(kind));
    }

    static bool showsRows(const CollectionListControllerBase& list, int count) {
        return QTest::qWaitFor([&] { return count > 0 && rowCount(list) == count; }, 15000);
    }

    static int rowCount(const CollectionListControllerBase& list) { return list.model()->rowCount(); }

    /// What a song list shows for `songs`.
    static QStringList songRowTitles(const auto& songs) {
        QStringList titles{QStringLiteral("Play")};
        if (songs.size() > 1) {
            titles << QStringLiteral("Shuffle");
        }
        for (const auto& song : songs) {
            titles << QString::fromStdString(song.title);
        }
        return titles;
    }

    static QStringList shownTitles(const CollectionListControllerBase& list) {
        QStringList titles;
        for (int row = 0; row < rowCount(list); ++row) {
            titles << list.model()->index(row, 0).data().toString();
        }
        return titles;
    }

    static TableCell cellAt(const CollectionListControllerBase& list, int row) {
        return list.cellPainter()->cellForRow(row);
    }

    static QPoint rowCenter(const CollectionListControllerBase& list, int row) {
        return list.visualRect(list.model()->index(row, 0)).center();
    }

    static void doubleClickRow(CollectionListControllerBase& list, int row) {
        list.scrollTo(list.model()->index(row, 0));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCenter(list, row));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rowCenter(list, row));
    }

    /// Right-clicks `row` to open its context menu, gives back the menu's item titles and, when `choice`
    /// names one, chooses it.
    static QStringList contextMenuOf(CollectionListControllerBase& list, int row,
                                     const QString& choice = {}) {
        QStringList titles;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) {
                return;
            }
            for (QAction* action : menu->actions()) {
                titles << action->text();
                if (action->text() == choice) {
                    action->trigger();
                }
            }
            menu->close();
        });
        list.scrollTo(list.model()->index(row, 0));
        // Through the window, which turns a right press into the context menu's request.
        QTest::mouseClick(list.window()->windowHandle(), Qt::RightButton, {},
                          list.viewport()->mapTo(list.window(), rowCenter(list, row)));
        return titles;
    }

    MusicKit::ApplicationMusicPlayer& player() { return *models->player; }

    /// The titles of the player's queue, in order.
    QStringList queuedTitles() {
        QStringList titles;
        for (const auto& entry : player().queue().entries()) {
            titles << QString::fromStdString(entry.title);
        }
        return titles;
    }

    bool playerPlays() {
        return QTest::qWaitFor(
            [&] { return player().state().playbackStatus() == MusicKit::MusicPlayerPlaybackStatus::playing; },
            15000);
    }

    PaneFactory makePane;
    std::vector<std::unique_ptr<QWidget>> panes;
};

} // namespace Marrowbell::Testing
