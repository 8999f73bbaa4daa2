#include "Player/PlayerButton.h"

#include "Player/PlayerSymbols.h"

#include <QMouseEvent>
#include <QStyle>
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
    setFocusPolicy(Qt::NoFocus);
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
}

} // namespace Marrowbell
