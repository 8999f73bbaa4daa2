#pragma once

#include <QAbstractButton>
#include <functional>

namespace TamselUIKit {

/// A link-style text button in a smaller font and the secondary text colour, underlined while the
/// pointer is over it; its whole rectangle reacts to clicks, which run `action`. GUI thread.
class HoverUnderlineButton : public QAbstractButton {
    Q_OBJECT

public:
    HoverUnderlineButton(const QString& label, std::function<void()> action, QWidget* parent = nullptr);

    bool isHovered() const { return hovered_; }
    /// The font the label is drawn in: underlined while hovered.
    QFont labelFont() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);

    bool hovered_ = false;
};

} // namespace TamselUIKit
