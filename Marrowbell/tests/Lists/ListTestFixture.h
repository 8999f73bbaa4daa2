#pragma once

#include "App/DisplaySettings.h"
#include "Artwork/ArtworkImageCache.h"
#include "Artwork/NowPlayingAnimationClock.h"
#include "Lists/CollectionListController.h"
#include "Lists/TableCellPainter.h"
#include "Platform/AppNotifications.h"
#include "Platform/Defaults.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace Marrowbell::Testing {

/// One row of a test list: an identifier, a title, a subtitle and where its artwork comes from.
struct TestRow {
    QString id;
    QString title;
    QString subtitle;
    QUrl artwork = {};
    /// Whatever the row keeps alive as long as it exists.
    std::shared_ptr<const void> keptAlive = {};
};

} // namespace Marrowbell::Testing

template <> struct Marrowbell::Titling<Marrowbell::Testing::TestRow> {
    static QString id(const Marrowbell::Testing::TestRow& row) { return row.id; }
    static QString title(const Marrowbell::Testing::TestRow& row) { return row.title; }
};

namespace Marrowbell::Testing {

inline std::vector<TestRow> numberedRows(int count) {
    std::vector<TestRow> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({QStringLiteral("id-%1").arg(i), QStringLiteral("Title %1").arg(i),
                        QStringLiteral("Subtitle %1").arg(i)});
    }
    return rows;
}

/// A list of TestRows over real settings, notifications, artwork cache and clock, shown in an active window.
class ListTest : public ::testing::Test {
protected:
    using TestList = CollectionListController<TestRow>;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        defaults = std::make_unique<Defaults>(folder.filePath(QStringLiteral("settings.conf")));
        DisplaySettings::registerDefaults(*defaults);
        artwork = std::make_unique<ArtworkImageCache>(folder.filePath(QStringLiteral("artwork")));
    }

    ListEnvironment environment() { return {*defaults, notifications, *artwork, clock}; }

    /// Makes and shows the list; `playingID` marks the row that shows the now-playing bars.
    void makeList(std::vector<TestRow> rows, const QString& autosaveName = QStringLiteral("TestList")) {
        list = std::make_unique<TestList>(
            environment(), std::move(rows),
            TestList::SelectionBinding{[this] { return selection; },
                                       [this](const std::optional<QString>& id) {
                                           selection = id;
                                           ++selectionWrites;
                                       }},
            1, autosaveName,
            [this](TableCell& cell, const TestRow& row, CellConfiguration) {
                cell.title = row.title;
                cell.subtitle = row.subtitle;
                cell.setArtwork(row.artwork.isEmpty() ? std::nullopt : std::optional(row.artwork),
                                QStringLiteral("test-") + row.id);
                cell.showNowPlayingIndicator = row.id == playingID;
                cell.refreshAppearance(*defaults);
            },
            [this](const TestRow& row) { played.push_back(row.id); });
        list->setPauseAction([this] { ++pauses; });
        list->resize(400, 300);
        list->show();
        QApplication::setActiveWindow(list.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    }

    QPoint rowCenter(int row) const { return list->visualRect(list->model()->index(row, 0)).center(); }
    QPoint artworkCenter(int row) const {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        return list->cellPainter()
            ->layoutInRow(list->cellPainter()->cellForRow(row), rect, false)
            .artwork.center()
            .toPoint();
    }

    QTemporaryDir folder;
    std::unique_ptr<Defaults> defaults;
    AppNotifications notifications;
    std::unique_ptr<ArtworkImageCache> artwork;
    NowPlayingAnimationClock clock;
    std::optional<QString> selection;
    int selectionWrites = 0;
    std::vector<QString> played;
    int pauses = 0;
    QString playingID;
    std::unique_ptr<TestList> list;
};

} // namespace Marrowbell::Testing
