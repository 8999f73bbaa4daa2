#include "Player/PlayerButton.h"

#include <QMouseEvent>

namespace Marrowbell {

PlayerButton::PlayerButton(const QString& symbol, Scale scale, QWidget* parent)
    : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(24, 24);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    QFont symbolFont = font();
    symbolFont.setPixelSize(scale == Scale::large ? 18 : 13);
    setFont(symbolFont);
    setSymbol(symbol);
}

void PlayerButton::setSymbol(const QString& symbol) {
    setText(symbol);
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
