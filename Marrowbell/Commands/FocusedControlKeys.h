#pragma once

#include <QObject>

namespace Marrowbell {

/// Leaves Space to the focused control that uses it (a button, a combo box, a list other than the pod's)
/// before Play/Pause, whose key reaches every window of the application, takes it. Text fields keep the keys
/// they type by themselves; the pod's lists give Space to Play/Pause unless the user is typing a title.
/// Watches the whole application while it exists. GUI thread.
class FocusedControlKeys final : public QObject {
    Q_OBJECT

public:
    explicit FocusedControlKeys(QObject* parent);
    ~FocusedControlKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace Marrowbell
