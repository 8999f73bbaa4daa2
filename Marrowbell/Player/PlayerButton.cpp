#include "Player/PlayerButton.h"

#include "Player/PlayerSymbols.h"

#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <optional>

namespace Marrowbell {
namespace {

// Fonts rarely carry the transport glyphs; the style's media icons stand in for them.
std::optional<QStyle::StandardPixmap> transportIcon(const QString& symbol) {
    if (symbol == PlayerSymbols::previous) {
        return QStyle::SP_MediaSkipBackward;
    }
    if (symbol == PlayerSymbols::play) {
        return QStyle::SP_MediaPlay;
    }
    if (symbol == PlayerSymbols::pause) {
        return QStyle::SP_MediaPause;
    }
    if (symbol == PlayerSymbols::next) {
        return QStyle::SP_MediaSkipForward;
    }
    return std::nullopt;
}

} // namespace

PlayerButton::PlayerButton(const QString& symbol, Scale scale, QWidget* parent)
    : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    setMinimumSize(24, 24);
    QFont symbolFont = font();
    symbolFont.setPixelSize(scale == Scale::large ? 18 : 13);
    setFont(symbolFont);
    setIconSize(scale == Scale::large ? QSize(20, 20) : QSize(14, 14));
    setSymbol(symbol);
}

void PlayerButton::setSymbol(const QString& symbol) {
    setText(symbol);
    const std::optional<QStyle::StandardPixmap> icon = transportIcon(symbol);
    setIcon(icon ? style()->standardIcon(*icon) : QIcon());
    setToolButtonStyle(icon ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
}

void PlayerButton::setTinted(bool tinted) {
    tinted_ = tinted;
    {
        const QScopedValueRollback following(isFollowingTint_, true);
        setCheckable(true);
        setChecked(tinted);
    }
    QPalette colours = parentWidget() ? parentWidget()->palette() : palette();
    if (tinted) {
        colours.setColor(QPalette::ButtonText, colours.color(QPalette::Highlight));
        colours.setColor(QPalette::WindowText, colours.color(QPalette::Highlight));
    }
    setPalette(colours);
}

void PlayerButton::mouseReleaseEvent(QMouseEvent* event) {
    clickModifiers_ = event->modifiers();
    QToolButton::mouseReleaseEvent(event);
    // A later click by Space or by a screen reader holds no modifiers.
    clickModifiers_ = {};
}

// The tint shows a toggle that is on; the style's sunken panel for a checked button would say it twice.
void PlayerButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_On;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

// Whether a toggle is on is the owner's to say, after the click has acted.
void PlayerButton::nextCheckState() {}

// Only a screen reader's toggle sets the state from outside: it is undone and acts as a click.
void PlayerButton::checkStateSet() {
    if (isFollowingTint_) {
        return;
    }
    {
        const QScopedValueRollback following(isFollowingTint_, true);
        setChecked(tinted_);
    }
    click();
}

} // namespace Marrowbell
