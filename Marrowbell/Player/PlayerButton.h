#pragma once

#include <QToolButton>

namespace Marrowbell {

/// One of the player bar's icon buttons: at least 24 x 24, flat, drawn in the inherited text colour or, when
/// tinted, in the accent colour. Tab reaches it; a click leaves the keyboard focus where it was. A button
/// that is ever tinted is a toggle that shows whether it is on by its tint, and tells a screen reader so as
/// its checked state; a screen reader's toggle acts as a click. It remembers the keyboard modifiers of the
/// click that triggered it, so that a handler can tell an Alt-click. GUI thread.
class PlayerButton final : public QToolButton {
    Q_OBJECT

public:
    enum class Scale { medium, large };

    PlayerButton(const QString& symbol, Scale scale, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    void setTinted(bool tinted);
    bool isTinted() const { return tinted_; }
    /// The modifiers held by the mouse click being handled; none for a click by key or screen reader.
    Qt::KeyboardModifiers clickModifiers() const { return clickModifiers_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;
    void checkStateSet() override;

private:
    bool tinted_ = false;
    bool isFollowingTint_ = false;
    Qt::KeyboardModifiers clickModifiers_;
};

} // namespace Marrowbell
