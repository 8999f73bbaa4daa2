#pragma once

#include <QObject>

class QSocketNotifier;

namespace Marrowbell {

/// Turns SIGINT and SIGTERM into the signal `quitRequested` on the GUI thread, so the application can shut
/// down as from its Quit menu item. The signal handler only writes to a pipe. One per process; create on the
/// GUI thread after the application object.
class QuitSignalHandler final : public QObject {
    Q_OBJECT

public:
    explicit QuitSignalHandler(QObject* parent = nullptr);
    ~QuitSignalHandler() override;

Q_SIGNALS:
    void quitRequested();

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace Marrowbell
