#pragma once

#include <QWidget>

namespace Marrowbell {

/// A floating panel inside the main window (the search panel): a rounded, translucent card
/// with a soft shadow in the margin round it, holding one content widget. GUI thread.
class OverlayPanel final : public QWidget {
    Q_OBJECT

public:
    static constexpr double cornerRadius = 22.0;

    explicit OverlayPanel(QWidget* parent = nullptr);

    /// Replaces the content (the old one is deleted); nullptr leaves the card empty.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* content_ = nullptr;
};

} // namespace Marrowbell
