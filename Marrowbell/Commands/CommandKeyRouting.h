#pragma once

#include <QList>
#include <QObject>

class QAction;

namespace Marrowbell {

/// Decides who gets a key bound to one of `commands` (the menu bar's), across the whole application: the
/// focused control that uses Space (a button, a combo box, a list other than the pod's) keeps it before
/// Play/Pause takes it, and text fields keep what they type by themselves; the key of a disabled or hidden
/// command does nothing, unless the focused control uses that key itself. GUI thread.
class CommandKeyRouting final : public QObject {
    Q_OBJECT

public:
    CommandKeyRouting(QList<QAction*> commands, QObject* parent);
    ~CommandKeyRouting() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isUnavailableCommandKey(QKeyCombination key) const;

    QList<QAction*> commands_;
};

} // namespace Marrowbell
