#include "Player/PlayerView.h"

#include "Model/MainViewModel.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AccessibleNames.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerHoodie.h"
#include "Player/PlayerSymbols.h"
#include "Player/UpNextPanel.h"

#include <QHBoxLayout>

namespace Marrowbell {

using Scale = PlayerButton::Scale;
using MusicKit::MusicPlayerRepeatMode;

PlayerView::PlayerView(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , player_(player)
    , previous_(new PlayerButton(PlayerSymbols::previous, Scale::medium, this))
    , playPause_(new PlayerButton(PlayerSymbols::play, Scale::large, this))
    , next_(new PlayerButton(PlayerSymbols::next, Scale::medium, this))
    , hoodie_(new PlayerHoodie(model, this))
    , repeat_(new PlayerButton(PlayerSymbols::repeatAll, Scale::medium, this))
    , shuffle_(new PlayerButton(PlayerSymbols::shuffle, Scale::medium, this))
    , upNext_(new PlayerButton(PlayerSymbols::upNext, Scale::medium, this)) {
    setFocusPolicy(Qt::NoFocus);
    previous_->setAccessibleName(AccessibleNames::previous());
    next_->setAccessibleName(AccessibleNames::next());
    repeat_->setAccessibleName(AccessibleNames::repeat());
    shuffle_->setAccessibleName(AccessibleNames::shuffle());
    upNext_->setAccessibleName(AccessibleNames::upNext());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 0, 14, 0);
    row->setSpacing(4);
    for (QWidget* child : std::initializer_list<QWidget*>{previous_, playPause_, next_}) {
        row->addWidget(child);
    }
    // The panel is padded 4 on either side.
    row->addSpacing(4);
    row->addWidget(hoodie_, 1);
    row->addSpacing(4);
    for (QWidget* child : std::initializer_list<QWidget*>{repeat_, shuffle_, upNext_}) {
        row->addWidget(child);
    }

    connect(previous_, &PlayerButton::clicked, this, [this] { (void)model_.skipToPreviousEntry(); });
    connect(playPause_, &PlayerButton::clicked, this, &PlayerView::playOrPause);
    connect(next_, &PlayerButton::clicked, this, [this] { (void)model_.skipToNextEntry(); });
    connect(repeat_, &PlayerButton::clicked, this, [this] { model_.cycleRepeatMode(); });
    connect(shuffle_, &PlayerButton::clicked, this, [this] { model_.setShuffled(!model_.isShuffled()); });
    connect(upNext_, &PlayerButton::clicked, this, &PlayerView::showUpNext);
    followModel();
    refresh();
}

PlayerView::~PlayerView() = default;

UpNextView* PlayerView::upNext() const {
    return upNextPanel_ && upNextPanel_->isOpen() ? &upNextPanel_->view() : nullptr;
}

void PlayerView::followModel() {
    const auto follow = [this](auto keyPath) {
        tokens_.push_back(
            ObservationTracking::observe(&model_, keyPath, [this](const auto&, const auto&) { refresh(); }));
    };
    follow(&MainViewModel::isPlaying);
    follow(&MainViewModel::playingItemIDForArtwork);
    follow(&MainViewModel::artworkForPlayingItemID);
    follow(&MainViewModel::playingTitle);
    follow(&MainViewModel::playingSubtitle);
    follow(&MainViewModel::canAddToLibrary);
    follow(&MainViewModel::lastSavedSnapbackState);
    follow(&MainViewModel::repeatMode);
    follow(&MainViewModel::isShuffled);
    // The time advances every second while playing; it moves the time bar and nothing else.
    const auto followTime = [this](auto keyPath) {
        tokens_.push_back(ObservationTracking::observe(
            &model_, keyPath, [this](const auto&, const auto&) { hoodie_->showTimes(); }));
    };
    followTime(&MainViewModel::playingDuration);
    followTime(&MainViewModel::currentPlayingTime);
}

void PlayerView::refresh() {
    const bool isPlaying = model_.isPlaying.get();
    playPause_->setSymbol(isPlaying ? PlayerSymbols::pause : PlayerSymbols::play);
    playPause_->setToolTip(isPlaying ? tr("Pause (Alt-click to stop)") : tr("Play"));
    playPause_->setAccessibleName(isPlaying ? AccessibleNames::pause() : AccessibleNames::play());
    const MusicPlayerRepeatMode repeatMode = model_.repeatMode();
    repeat_->setSymbol(repeatMode == MusicPlayerRepeatMode::one ? PlayerSymbols::repeatOne
                                                                : PlayerSymbols::repeatAll);
    repeat_->setTinted(repeatMode != MusicPlayerRepeatMode::none);
    repeat_->setAccessibleDescription(repeatMode == MusicPlayerRepeatMode::one ? AccessibleNames::repeatOne()
                                      : repeatMode == MusicPlayerRepeatMode::all
                                          ? AccessibleNames::repeatAll()
                                          : AccessibleNames::repeatOff());
    shuffle_->setTinted(model_.isShuffled());
    hoodie_->refresh();
}

void PlayerView::playOrPause() {
    if (!model_.isPlaying.get()) {
        (void)model_.resume();
    } else if (playPause_->clickModifiers().testFlag(Qt::AltModifier)) {
        (void)model_.stop();
    } else {
        model_.pause();
    }
}

void PlayerView::showUpNext() {
    if (upNextPanel_ && upNextPanel_->isOpen()) {
        return;
    }
    delete upNextPanel_;
    upNextPanel_ = new UpNextPanel(model_, player_, *upNext_, this);
    upNextPanel_->open();
}

} // namespace Marrowbell
