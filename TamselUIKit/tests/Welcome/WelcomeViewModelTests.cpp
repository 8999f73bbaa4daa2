#include "WelcomeTestFiles.h"

#include <QSignalSpy>
#include <QTest>
#include <TamselUIKit/RecentDocumentsNotifier.h>
#include <TamselUIKit/RecentlyUsedDocuments.h>
#include <TamselUIKit/WelcomeViewModel.h>
#include <atomic>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

constexpr int waitMilliseconds = 10'000;

/// Image thumbnails as the kit makes them, counting the requests.
class CountingThumbnails : public ImageFileThumbnailProvider {
public:
    QImage thumbnail(const QUrl& url, const QSize& pixelSize) const override {
        ++requests;
        return ImageFileThumbnailProvider::thumbnail(url, pixelSize);
    }
    mutable std::atomic<int> requests = 0;
};

class WelcomeViewModelTest : public ::testing::Test {
protected:
    WelcomeViewModel makeModel(bool useThumbnails) {
        return WelcomeViewModel(useThumbnails, true,
                                std::make_shared<RecentlyUsedDocuments>(files.listPath()), thumbnails);
    }
    static void reload(WelcomeViewModel& model) {
        const QFuture<void> reloaded = model.reload();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded.isFinished(); }, waitMilliseconds));
    }
    static QStringList names(const WelcomeViewModel& model) {
        QStringList names;
        for (const auto& recent : model.recents()) {
            names.append(recent.displayName);
        }
        return names;
    }

    Testing::RecentFiles files;
    std::shared_ptr<CountingThumbnails> thumbnails = std::make_shared<CountingThumbnails>();
};

TEST_F(WelcomeViewModelTest, KeepsTheTenMostRecentDocuments) {
    QStringList twelve;
    for (int index = 1; index <= 12; ++index) {
        twelve.append(u"doc%1.tar.txt"_s.arg(index));
    }
    files.write(twelve);
    auto model = makeModel(false);
    reload(model);
    ASSERT_EQ(model.recents().size(), 10);
    EXPECT_EQ(model.recents().first().displayName, u"doc1.tar"_s);
    EXPECT_EQ(model.recents().last().displayName, u"doc10.tar"_s);
    EXPECT_FALSE(model.recents().first().fastIcon.isNull());
    EXPECT_TRUE(model.recentsToThumbnails().isEmpty());
    EXPECT_EQ(thumbnails->requests, 0);
}

TEST_F(WelcomeViewModelTest, AnUnchangedListIsNotRepublishedAndGetsNoNewThumbnails) {
    files.write({u"cover.png"_s, u"notes.txt"_s});
    auto model = makeModel(true);
    QSignalSpy published(&model, &WelcomeViewModel::recentsChanged);
    QSignalSpy thumbnailed(&model, &WelcomeViewModel::thumbnailsChanged);
    reload(model);
    ASSERT_TRUE(thumbnailed.wait(waitMilliseconds));
    ASSERT_TRUE(QTest::qWaitFor([&] { return thumbnails->requests == 2; }, waitMilliseconds));
    EXPECT_EQ(published.size(), 1);
    EXPECT_EQ(model.recentsToThumbnails().keys(),
              QList<QUrl>{QUrl::fromLocalFile(files.path(u"cover.png"_s))});

    RecentDocumentsNotifier::shared().postRecentsDidChange();
    reload(model);
    QTest::qWait(50);
    EXPECT_EQ(published.size(), 1);
    EXPECT_EQ(thumbnails->requests, 2);
}

TEST_F(WelcomeViewModelTest, AsksOnlyForThumbnailsItLacksAndForgetsThoseOfDocumentsThatLeft) {
    files.write({u"cover.png"_s});
    auto model = makeModel(true);
    QSignalSpy thumbnailed(&model, &WelcomeViewModel::thumbnailsChanged);
    reload(model);
    ASSERT_TRUE(thumbnailed.wait(waitMilliseconds));

    files.write({u"back.png"_s, u"cover.png"_s});
    reload(model);
    ASSERT_TRUE(thumbnailed.wait(waitMilliseconds));
    EXPECT_EQ(thumbnails->requests, 2);
    EXPECT_EQ(model.recentsToThumbnails().size(), 2);
    EXPECT_EQ(model.recentsToThumbnails().value(QUrl::fromLocalFile(files.path(u"back.png"_s))).size(),
              QSize(40, 20));

    files.write({u"back.png"_s});
    reload(model);
    EXPECT_EQ(model.recentsToThumbnails().keys(),
              QList<QUrl>{QUrl::fromLocalFile(files.path(u"back.png"_s))});
}

TEST_F(WelcomeViewModelTest, AnEmptyListClearsTheRecentsAndTheNewestOfOverlappingReloadsWins) {
    files.write({u"a.txt"_s, u"b.txt"_s});
    auto model = makeModel(false);
    reload(model);
    ASSERT_EQ(names(model), (QStringList{u"a"_s, u"b"_s}));

    files.write({u"c.txt"_s});
    const QFuture<void> older = model.reload();
    files.write({});
    const QFuture<void> newer = model.reload();
    ASSERT_TRUE(QTest::qWaitFor([&] { return older.isFinished() && newer.isFinished(); }, waitMilliseconds));
    EXPECT_TRUE(model.recents().isEmpty());
}

} // namespace
} // namespace TamselUIKit
