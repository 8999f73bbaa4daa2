#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>

class QLocalServer;
class QLocalSocket;

namespace Marrowbell {

/// Keeps one running application per user. The first launch holds a lock file in the user's runtime
/// folder and listens on a local socket beside it; a later launch finds the lock held and asks the running
/// one, over that socket, to bring its window to the front. A lock left by a process that has died is taken
/// over. Made by the program's start only, never by the models, so tests may build many environments in
/// one process. GUI thread.
class SingleInstance final : public QObject {
    Q_OBJECT

public:
    /// Takes the lock in `folder` if no running instance holds it, and then listens for later launches.
    explicit SingleInstance(const QString& folder = standardFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    /// $XDG_RUNTIME_DIR (or Qt's private per-user fallback when it is not set).
    static QString standardFolder();

    /// True when no other instance runs (or none can be told apart because the lock cannot be made).
    bool isFirst() const { return isFirst_; }

    /// For a later launch: asks the running instance to present its window and waits at most `wait` for
    /// its answer; true when it answered.
    bool presentRunningInstance(std::chrono::milliseconds wait);

    /// The process id of the running instance, 0 when unknown.
    qint64 runningProcessId() const;

Q_SIGNALS:
    /// A later launch asked for the window. Emitted only in the first instance, from its event loop.
    void presentRequested();

private:
    void listen();
    void answer(QLocalSocket* socket);

    QString socketPath_;
    QLockFile lock_;
    bool isFirst_ = true;
    QLocalServer* server_ = nullptr;
};

} // namespace Marrowbell
