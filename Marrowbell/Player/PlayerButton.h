#pragma once

#include <QToolButton>

namespace Marrowbell {

/// One of the player bar's icon buttons: at least 24 x 24, flat, never taking the keyboard focus, drawn in
/// the inherited text colour or, when tinted, in the accent colour. It remembers the keyboard modifiers of
/// the click that triggered it, so that a handler can tell an Alt-click. GUI thread.
class PlayerButton final : public QToolButton {
    Q_OBJECT

public:
    enum class Scale { medium, large };

    PlayerButton(const QString& symbol, Scale scale, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    void setTinted(bool tinted);
    bool isTinted() const { return tinted_; }
    /// The modifiers held when the last click was released.
    Qt::KeyboardModifiers clickModifiers() const { return clickModifiers_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool tinted_ = false;
    Qt::KeyboardModifiers clickModifiers_;
};

} // namespace Marrowbell
