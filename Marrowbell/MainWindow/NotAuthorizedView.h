#pragma once

#include <QWidget>

class QPushButton;

namespace Marrowbell {

/// The screen laid over the pod while the music service refuses access: a welcome title, why the library
/// cannot be shown, and "Try Again". GUI thread.
class NotAuthorizedView final : public QWidget {
    Q_OBJECT

public:
    explicit NotAuthorizedView(const QString& serviceDisplayName, QWidget* parent = nullptr);

    QPushButton* tryAgainButton() const { return tryAgain_; }

Q_SIGNALS:
    void tryAgainRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* tryAgain_;
};

} // namespace Marrowbell
