#pragma once

#include "../ModelPlayback/ModelPlaybackFixture.h"
#include "Player/PlayerBar.h"
#include "Player/PlayerView.h"

#include <QWidget>

namespace Marrowbell::Testing {

/// The player bar over a shown host, on a started model with the real player and the demo service.
class PlayerBarTest : public ModelPlaybackTest {
protected:
    void SetUp() override {
        ModelPlaybackTest::SetUp();
        ASSERT_TRUE(finishes(model->start()));
        host = std::make_unique<QWidget>();
        host->resize(600, 400);
        host->show();
        bar = new PlayerBar(*model, *player, host.get());
        ASSERT_TRUE(bar->isAttached());
    }
    void TearDown() override {
        host.reset();
        ModelPlaybackTest::TearDown();
    }

    PlayerView& view() const { return *bar->view(); }

    /// Queues `songs` and waits until the model shows the first one.
    void queueSongs(const std::vector<MusicKit::Song>& songs) {
        player->setQueue(songs);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return model->playingTitle.get() == QString::fromStdString(songs.front().title); }, 5000));
    }

    std::unique_ptr<QWidget> host;
    PlayerBar* bar = nullptr;
};

} // namespace Marrowbell::Testing
