#pragma once

#include <QObject>

class QSocketNotifier;

namespace Marrowbell {

/// Turns SIGINT and SIGTERM into the signal `quitRequested` on the GUI thread, so the application can shut
/// down as from its Quit menu item. The signal handler only writes to a pipe. Until
/// `deliverThroughEventLoop()` is called, while nothing would read that pipe, either signal ends the process
/// at once as if no handler were installed. One per process; create on the GUI thread after the
/// application object.
class QuitSignalHandler final : public QObject {
    Q_OBJECT

public:
    explicit QuitSignalHandler(QObject* parent = nullptr);
    ~QuitSignalHandler() override;

    /// From now on the signals arrive as `quitRequested`; call right before an event loop runs.
    void deliverThroughEventLoop();

Q_SIGNALS:
    void quitRequested();

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace Marrowbell
