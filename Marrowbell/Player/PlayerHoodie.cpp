#include "Player/PlayerHoodie.h"

#include "Artwork/ArtworkImageCache.h"
#include "Artwork/ArtworkView.h"
#include "Model/MainViewModel.h"
#include "Player/PlaybackTimeView.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerSymbols.h"
#include "Player/SnapBackIcon.h"

#include <QEnterEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace Marrowbell {
namespace {

constexpr int addButtonWidth = 14;
constexpr int titleRowSpacing = 4;
constexpr int titleMargin = 4;
constexpr int snapBackIconSize = 22;
constexpr qreal cornerRadius = 4.0;

QLabel* makeLabel(int pixelSize, bool medium, QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont labelFont = label->font();
    labelFont.setPixelSize(pixelSize);
    labelFont.setWeight(medium ? QFont::Medium : QFont::Normal);
    label->setFont(labelFont);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

} // namespace

PlayerHoodie::PlayerHoodie(MainViewModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model) {
    setFixedHeight(panelHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // With nothing playing the title part is hidden and the empty square keeps to the left.
    row->addWidget(makeArtworkPart(), 0, Qt::AlignLeft);
    row->addWidget(makeTitlePart(), 1);
    timeBar_ = new PlaybackTimeView(this);
    connect(timeBar_, &PlaybackTimeView::seekRequested, this,
            [this](double seconds) { model_.seekTo(seconds); });
    refresh();
}

QWidget* PlayerHoodie::makeArtworkPart() {
    artworkPart_ = new QWidget(this);
    artworkPart_->setFixedSize(artworkSize, artworkSize);
    artworkPart_->installEventFilter(this);
    artwork_ = new ArtworkView(QSize(artworkSize, artworkSize), 0.0, true, artworkPart_);
    artwork_->setGeometry(0, 0, artworkSize, artworkSize);
    snapBack_ = new PlayerButton(PlayerSymbols::snapBack, PlayerButton::Scale::large, artworkPart_);
    snapBack_->setGeometry(0, 0, artworkSize, artworkSize);
    snapBack_->setToolTip(tr("Library SnapBack"));
    snapBack_->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 128); color: white; border: none;"));
    snapBack_->setIcon(SnapBackIcon::make(snapBackIconSize));
    snapBack_->setIconSize(QSize(snapBackIconSize, snapBackIconSize));
    snapBack_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    snapBack_->hide();
    connect(snapBack_, &PlayerButton::clicked, this, [this] { model_.snapBack(); });
    return artworkPart_;
}

QWidget* PlayerHoodie::makeTitlePart() {
    titlePart_ = new QWidget(this);
    auto* column = new QVBoxLayout(titlePart_);
    column->setContentsMargins(titleMargin, 0, titleMargin, 0);
    column->setSpacing(0);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(titleRowSpacing);
    balance_ = new QWidget(titlePart_);
    balance_->setFixedWidth(addButtonWidth);
    title_ = makeLabel(12, true, titlePart_);
    title_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    add_ = new PlayerButton(PlayerSymbols::addToLibrary, PlayerButton::Scale::medium, titlePart_);
    add_->setMinimumSize(addButtonWidth, addButtonWidth);
    add_->setFixedWidth(addButtonWidth);
    add_->setToolTip(tr("Add to Library"));
    connect(add_, &PlayerButton::clicked, this, [this] { (void)model_.addPlayingSongToLibrary(); });
    // The title, the button after it and the spacer before it stand together in the row's centre.
    titleRow->addStretch(1);
    titleRow->addWidget(balance_);
    titleRow->addWidget(title_);
    titleRow->addWidget(add_);
    titleRow->addStretch(1);
    column->addStretch(1);
    column->addLayout(titleRow);
    subtitle_ = makeLabel(11, false, titlePart_);
    subtitle_->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(subtitle_);
    titlePart_->installEventFilter(this);
    title_->installEventFilter(this);
    subtitle_->installEventFilter(this);
    column->addStretch(1);
    return titlePart_;
}

void PlayerHoodie::refresh() {
    const std::optional<QString> artworkKey = model_.playingItemIDForArtwork.get();
    artwork_->setVisible(artworkKey.has_value());
    if (artworkKey) {
        artwork_->setArtwork(ArtworkImageCache::thumbnailURL(model_.artworkForPlayingItemID.get()),
                             *artworkKey);
    }
    const std::optional<QString> title = model_.playingTitle.get();
    titlePart_->setVisible(title.has_value());
    timeBar_->setVisible(title.has_value());
    titleText_ = title.value_or(QString());
    subtitleText_ = model_.playingSubtitle.get().value_or(QString());
    showTimes();
    updateHoverActions();
}

void PlayerHoodie::showTimes() {
    timeBar_->setTimes(model_.currentPlayingTime.get(), model_.playingDuration.get());
}

// Long texts end in an ellipsis instead of being cut on both sides of their centre.
void PlayerHoodie::showTexts() {
    for (auto [label, text] : {std::pair{title_, &titleText_}, std::pair{subtitle_, &subtitleText_}}) {
        const int room = std::max(0, label->contentsRect().width());
        label->setText(label->fontMetrics().elidedText(*text, Qt::ElideRight, room));
        label->setToolTip(*text);
    }
}

// The title is as wide as its text, or as the row leaves it. The spacer balances the add button so that the
// title stays centred, but only while the whole title fits beside both; in a narrow bar the title gets that
// room instead.
void PlayerHoodie::updateTitleRow() {
    const bool offersAdd = add_->isVisibleTo(titlePart_);
    const int room = titlePart_->contentsRect().width() - titleMargin * 2;
    // Rounded up: a label narrower than the text by a fraction of a pixel already elides it.
    const int textWidth =
        static_cast<int>(std::ceil(QFontMetricsF(title_->font()).horizontalAdvance(titleText_)));
    const int buttonWidth = offersAdd ? addButtonWidth + titleRowSpacing : 0;
    const bool balanced = offersAdd && textWidth + 2 * buttonWidth <= room;
    balance_->setVisible(balanced);
    title_->setFixedWidth(std::clamp(room - buttonWidth, 0, textWidth));
}

void PlayerHoodie::updateHoverActions() {
    const bool offersAdd = isInsideHoodie_ && model_.canAddToLibrary.get();
    add_->setVisible(offersAdd);
    updateTitleRow();
    showTexts();
    snapBack_->setVisible(artwork_->isVisibleTo(this) && isInsideArtwork_ &&
                          model_.lastSavedSnapbackState.get().has_value());
}

void PlayerHoodie::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = palette().color(QPalette::Window).lightnessF() < 0.5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, dark ? 0.24f : 0.08f));
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
}

void PlayerHoodie::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Everything in the panel, the artwork's outer corners too, is cut to its rounded shape.
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
    // The line runs along the bottom edge of the title part.
    const int left = artworkSize + 1;
    timeBar_->setGeometry(left, height() - PlaybackTimeView::viewHeight, std::max(0, width() - left),
                          PlaybackTimeView::viewHeight);
    timeBar_->raise();
}

void PlayerHoodie::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    isInsideHoodie_ = true;
    updateHoverActions();
}

void PlayerHoodie::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    isInsideHoodie_ = false;
    isInsideArtwork_ = false;
    updateHoverActions();
}

bool PlayerHoodie::eventFilter(QObject* watched, QEvent* event) {
    if (watched == titlePart_ && event->type() == QEvent::Resize) {
        // The room the title had before the part was laid out (it may just have been shown) is stale.
        updateTitleRow();
        showTexts();
    } else if ((watched == title_ || watched == subtitle_) && event->type() == QEvent::Resize) {
        showTexts();
    } else if (watched == artworkPart_ &&
               (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        isInsideArtwork_ = event->type() == QEvent::Enter;
        updateHoverActions();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Marrowbell
