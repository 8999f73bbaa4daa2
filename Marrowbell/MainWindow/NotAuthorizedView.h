#pragma once

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;

namespace Marrowbell {

/// The screen laid over the pod while the music service refuses access, cannot be reached or fails: a welcome
/// title, why the library cannot be shown, and "Try Again". GUI thread.
class NotAuthorizedView final : public QWidget {
    Q_OBJECT

public:
    explicit NotAuthorizedView(const QString& serviceDisplayName, QWidget* parent = nullptr);

    QPushButton* tryAgainButton() const { return tryAgain_; }
    QString description() const;
    /// With a cause (ServiceFailureText), says that the service could not be reached or failed instead of
    /// asking the user to sign in; without one, asks again.
    void setFailureCause(const std::optional<QString>& cause);

Q_SIGNALS:
    void tryAgainRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString signInText_;
    QLabel* description_;
    QPushButton* tryAgain_;
};

} // namespace Marrowbell
