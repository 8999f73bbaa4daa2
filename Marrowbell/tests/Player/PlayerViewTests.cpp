#include "Artwork/ArtworkImageCache.h"
#include "Artwork/ArtworkView.h"
#include "Player/PlaybackTimeView.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerHoodie.h"
#include "Player/PlayerSymbols.h"
#include "Player/SnapBackIcon.h"
#include "PlayerFixture.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>

namespace Marrowbell::Testing {
namespace {

using Status = MusicKit::MusicPlayerPlaybackStatus;
using Repeat = MusicKit::MusicPlayerRepeatMode;

class PlayerViewTest : public PlayerBarTest {
protected:
    void click(QWidget* widget, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(widget, Qt::LeftButton, modifiers, widget->rect().center());
    }
    bool waitForStatus(Status status) {
        return QTest::qWaitFor([&] { return player->state().playbackStatus() == status; }, 8000);
    }
    void hover(QWidget* widget) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(widget, &enter);
    }

    /// What a screen reader reads of a button: its name, its description and whether it is on.
    static QString reads(QWidget* button) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
        return QStringList{face->text(QAccessible::Name), face->text(QAccessible::Description),
                           face->state().checked ? QStringLiteral("on") : QStringLiteral("off")}
            .join(QStringLiteral(", "));
    }
    static QString name(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    static void settle() {
        for (int turn = 0; turn < 3; ++turn) {
            QCoreApplication::processEvents();
        }
    }
    static bool shows(const QImage& image, const QColor& color) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).rgb() == color.rgb()) {
                    return true;
                }
            }
        }
        return false;
    }

    const std::vector<MusicKit::Song> songs{catalogSong(20), catalogSong(21), catalogSong(22)};
};

TEST_F(PlayerViewTest, ShowsThePlayingSongsArtworkTitleAndSubtitle) {
    PlayerHoodie& hoodie = *view().hoodie();
    EXPECT_FALSE(hoodie.titleLabel()->isVisibleTo(&hoodie)) << "nothing plays";
    EXPECT_FALSE(hoodie.artwork()->isVisibleTo(&hoodie));
    EXPECT_FALSE(hoodie.timeBar()->isVisibleTo(&hoodie));

    queueSongs(songs);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return hoodie.titleLabel()->toolTip() == QString::fromStdString(songs[0].title); }, 2000));
    EXPECT_TRUE(hoodie.titleLabel()->isVisibleTo(&hoodie));
    ASSERT_TRUE(model->playingSubtitle.get());
    EXPECT_EQ(hoodie.subtitleLabel()->toolTip(), *model->playingSubtitle.get());
    EXPECT_TRUE(hoodie.subtitleLabel()->toolTip().contains(QString::fromStdString(songs[0].artistName)));
    EXPECT_FALSE(hoodie.titleLabel()->text().isEmpty()) << "shown, cut with an ellipsis when too long";
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->playingItemIDForArtwork.get().has_value(); }, 8000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hoodie.artwork()->state().isLoaded(); }, 8000))
        << "the artwork comes from the song's URL";
    EXPECT_TRUE(hoodie.artwork()->isVisibleTo(&hoodie));
    EXPECT_TRUE(hoodie.artwork()->loadIdentity().startsWith(*model->playingItemIDForArtwork.get()));
    EXPECT_TRUE(hoodie.artwork()->loadIdentity().contains(QString::fromStdString(songs[0].id.rawValue())));

    // The panel's rounded corners cut the artwork's outer corners.
    QImage shown(hoodie.size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    hoodie.render(&shown, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(shown.pixelColor(4, 4).alpha(), 255) << "the artwork";
    EXPECT_EQ(shown.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(shown.pixelColor(0, PlayerHoodie::artworkSize - 1).alpha(), 0);

    // The next song's artwork is never asked for under the song before it, which would store its picture
    // there.
    QSignalSpy loaded(&ArtworkImageCache::shared(), &ArtworkImageCache::imageReady);
    ASSERT_TRUE(finishes(model->skipToNextEntry()));
    const QString nextKey = QStringLiteral("song-") + QString::fromStdString(songs[1].id.rawValue());
    ASSERT_TRUE(QTest::qWaitFor([&] { return hoodie.artwork()->loadIdentity().startsWith(nextKey); }, 8000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hoodie.artwork()->state().isLoaded(); }, 8000));
    for (const QList<QVariant>& arguments : loaded) {
        const QString id = arguments.at(0).toString().section(u'-', 1, -1);
        EXPECT_TRUE(arguments.at(1).toUrl().path().contains(QStringLiteral("/artwork/") + id + u'/'))
            << arguments.at(0).toString().toStdString() << " " << arguments.at(1).toString().toStdString();
    }
}

TEST_F(PlayerViewTest, ASongWhoseArtworkWasNeverShownIsFetchedOnceForTheModelAndTheBar) {
    PlayerHoodie& hoodie = *view().hoodie();
    auto song = catalogSong(23);
    song.artwork = artworkFor("never-shown");
    queueSongs({song});
    ASSERT_TRUE(QTest::qWaitFor([&] { return hoodie.artwork()->state().isLoaded(); }, 8000));
    EXPECT_EQ(hoodie.artwork()->state().image.size(), QSize(64, 64));
    QTest::qWait(200);
    EXPECT_EQ(artworkRequests("never-shown"), 1);
}

TEST_F(PlayerViewTest, TransportButtonsReachThePlayerAndAltClickOnPauseStops) {
    queueSongs(songs);
    const QStringList names{QStringLiteral("Previous"), QStringLiteral("Play"),    QStringLiteral("Next"),
                            QStringLiteral("Repeat"),   QStringLiteral("Shuffle"), QStringLiteral("Up Next")};
    EXPECT_EQ(
        (QStringList{name(view().previousButton()), name(view().playPauseButton()), name(view().nextButton()),
                     name(view().repeatButton()), name(view().shuffleButton()), name(view().upNextButton())}),
        names);
    click(view().playPauseButton());
    ASSERT_TRUE(waitForStatus(Status::playing));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return view().playPauseButton()->text() == PlayerSymbols::pause; }, 5000));
    EXPECT_EQ(name(view().playPauseButton()), QStringLiteral("Pause"));

    click(view().nextButton());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->queue().currentIndex() == 1u; }, 8000));
    click(view().previousButton());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->queue().currentIndex() == 0u; }, 8000));

    ASSERT_TRUE(
        QTest::qWaitFor([&] { return view().playPauseButton()->text() == PlayerSymbols::pause; }, 5000));
    click(view().playPauseButton());
    ASSERT_TRUE(waitForStatus(Status::paused));
    EXPECT_EQ(player->queue().entries().size(), songs.size()) << "a plain pause keeps the queue";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return view().playPauseButton()->text() == PlayerSymbols::play; }, 5000));

    click(view().playPauseButton());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return view().playPauseButton()->text() == PlayerSymbols::pause; }, 8000));
    click(view().playPauseButton(), Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->isStopped.get(); }, 5000));
    EXPECT_TRUE(player->queue().entries().empty()) << "stopping empties the queue";
    EXPECT_NE(player->state().playbackStatus(), Status::playing);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !view().hoodie()->titleLabel()->isVisibleTo(view().hoodie()); }, 5000));
}

TEST_F(PlayerViewTest, RepeatCyclesAndShuffleTogglesTheirTintsFollowingThePlayer) {
    queueSongs(songs);
    PlayerButton& repeat = *view().repeatButton();
    EXPECT_FALSE(repeat.isTinted());
    EXPECT_EQ(reads(&repeat), QStringLiteral("Repeat, Off, off"));
    click(&repeat);
    EXPECT_EQ(player->state().repeatMode(), Repeat::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return repeat.isTinted(); }, 2000));
    EXPECT_EQ(repeat.text(), PlayerSymbols::repeatAll);
    EXPECT_EQ(reads(&repeat), QStringLiteral("Repeat, All, on"));
    click(&repeat);
    EXPECT_EQ(player->state().repeatMode(), Repeat::one);
    ASSERT_TRUE(QTest::qWaitFor([&] { return repeat.text() == PlayerSymbols::repeatOne; }, 2000));
    EXPECT_TRUE(repeat.isTinted());
    EXPECT_EQ(reads(&repeat), QStringLiteral("Repeat, One, on"));
    click(&repeat);
    EXPECT_EQ(player->state().repeatMode(), Repeat::none);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !repeat.isTinted(); }, 2000));
    EXPECT_EQ(reads(&repeat), QStringLiteral("Repeat, Off, off"));

    PlayerButton& shuffle = *view().shuffleButton();
    click(&shuffle);
    EXPECT_TRUE(player->state().shufflesSongs());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shuffle.isTinted(); }, 2000));
    EXPECT_EQ(reads(&shuffle), QStringLiteral("Shuffle, , on"));
    // A screen reader toggles rather than clicks: the same change, and the state follows the player.
    QAccessible::queryAccessibleInterface(&shuffle)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(player->state().shufflesSongs());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shuffle.isTinted(); }, 2000));
    EXPECT_EQ(reads(&shuffle), QStringLiteral("Shuffle, , off"));
}

TEST_F(PlayerViewTest, TheTimeBarAdvancesWhilePlayingAndAClickSeeks) {
    queueSongs(songs);
    PlaybackTimeView& timeBar = *view().hoodie()->timeBar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeBar.maxTime() == *songs[0].duration; }, 2000));
    click(view().playPauseButton());
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeBar.time() > 1.0; }, 8000)) << "ticks every second";

    QTest::mouseClick(&timeBar, Qt::LeftButton, {}, QPoint(timeBar.width() / 4, timeBar.height() / 2));
    const double quarter = *songs[0].duration * (timeBar.width() / 4) / timeBar.width();
    EXPECT_NEAR(model->currentPlayingTime.get(), quarter, 0.01);
    EXPECT_NEAR(player->playbackTime(), quarter, 1.5);
    EXPECT_NEAR(quarter, *songs[0].duration / 4, *songs[0].duration / timeBar.width());
}

TEST_F(PlayerViewTest, AStationShowsNoSeekableTime) {
    player->setQueue(MusicKit::Station{MusicKit::MusicItemID("ra.12"), "Station 12", artworkFor("ra.12")});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return model->playingTitle.get() == QStringLiteral("Station 12"); }, 5000));
    PlaybackTimeView& timeBar = *view().hoodie()->timeBar();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return view().hoodie()->titleLabel()->toolTip() == QStringLiteral("Station 12"); }, 2000));
    EXPECT_EQ(timeBar.maxTime(), 0.0);
    model->currentPlayingTime.set(17.0);
    QTest::mouseClick(&timeBar, Qt::LeftButton, {}, QPoint(timeBar.width() / 4, timeBar.height() / 2));
    EXPECT_EQ(model->currentPlayingTime.get(), 17.0) << "a click does not seek to 0";
}

TEST_F(PlayerViewTest, HoverOffersAddToLibraryAndSnapBackOnlyWhenTheyApply) {
    PlayerHoodie& hoodie = *view().hoodie();
    QWidget* artworkPart = hoodie.artwork()->parentWidget();
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    // Nothing plays: only the empty square, at the left, and nothing over it even with a place saved.
    model->saveSnapbackState();
    hover(&hoodie);
    QApplication::sendEvent(artworkPart, &enter);
    EXPECT_FALSE(hoodie.snapBackButton()->isVisibleTo(&hoodie));
    EXPECT_EQ(artworkPart->geometry(), QRect(0, 0, PlayerHoodie::artworkSize, PlayerHoodie::artworkSize));
    QApplication::sendEvent(&hoodie, &leave);
    model->lastSavedSnapbackState.set(std::nullopt);

    queueSongs({songNotInLibrary()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->canAddToLibrary.get(); }, 8000));
    EXPECT_FALSE(hoodie.addButton()->isVisibleTo(&hoodie)) << "not while the pointer is elsewhere";
    hover(&hoodie);
    EXPECT_TRUE(hoodie.addButton()->isVisibleTo(&hoodie));
    EXPECT_EQ(hoodie.addButton()->toolTip(), QStringLiteral("Add to Library"));

    QApplication::sendEvent(artworkPart, &enter);
    EXPECT_FALSE(hoodie.snapBackButton()->isVisibleTo(&hoodie)) << "no place saved";

    model->saveSnapbackState();
    const int savedPane = model->activePane.get();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hoodie.snapBackButton()->isVisibleTo(&hoodie); }, 2000));
    const QImage control = hoodie.snapBackButton()->grab().toImage();
    EXPECT_TRUE(shows(control, SnapBackIcon::arrowColor)) << "a white arrow";
    EXPECT_TRUE(shows(control, SnapBackIcon::discColor)) << "on an orange disc";
    model->activePane.set(savedPane == 0 ? 1 : 0);
    click(hoodie.snapBackButton());
    EXPECT_EQ(model->activePane.get(), savedPane) << "the click snaps back";

    QApplication::sendEvent(&hoodie, &leave);
    EXPECT_FALSE(hoodie.addButton()->isVisibleTo(&hoodie));
    EXPECT_FALSE(hoodie.snapBackButton()->isVisibleTo(&hoodie));
}

TEST_F(PlayerViewTest, AShortTitleShowsWholeAndALongOneWholeAgainOnceTheBarGrows) {
    QLabel* title = view().hoodie()->titleLabel();
    for (const char* text :
         {"Neon", "Love", "Hollow", "Road", "Echo", "서울", "Glass Hollow", "Øresund Paper"}) {
        MusicKit::Song song = songs[0];
        song.title = text;
        queueSongs({song});
        settle();
        EXPECT_EQ(title->text(), QString::fromUtf8(text));
    }
    MusicKit::Song song = songs[0];
    song.title = "A Title Far Too Long For The Narrowest Bar That There Is";
    queueSongs({song});
    host->resize(300, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return title->text().endsWith(QChar(0x2026)); }, 2000));
    host->resize(1200, 400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return title->text() == QString::fromStdString(song.title); }, 2000));
}

TEST_F(PlayerViewTest, TheTitleStaysCentredBesideAddToLibraryUntilTheBarIsTooNarrow) {
    queueSongs({songNotInLibrary()});
    PlayerHoodie& hoodie = *view().hoodie();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->canAddToLibrary.get(); }, 8000));
    hover(&hoodie);
    host->resize(1200, 400);
    QLabel* title = hoodie.titleLabel();
    QWidget* titlePart = title->parentWidget();
    const int titleWidth = title->fontMetrics().horizontalAdvance(model->playingTitle.get().value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return titlePart->width() > titleWidth + 60; }, 2000));
    settle();
    EXPECT_NEAR(title->geometry().center().x(), titlePart->width() / 2, 1) << "balanced by a spacer";
    EXPECT_NEAR(hoodie.addButton()->x(), title->geometry().center().x() + titleWidth / 2 + 4, 2)
        << "the button stands right after the title's text";

    host->resize(300, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return titlePart->width() < titleWidth + 44; }, 2000));
    settle();
    EXPECT_EQ(title->x(), 4) << "the spacer gives way to the title";
    EXPECT_TRUE(hoodie.addButton()->isVisible());
    EXPECT_EQ(hoodie.addButton()->geometry().right(), titlePart->width() - 4 - 1);
}

} // namespace
} // namespace Marrowbell::Testing
