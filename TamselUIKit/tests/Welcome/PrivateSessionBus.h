#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace TamselUIKit::Testing {

/// A D-Bus session bus of the test's own, made the process's session bus. Start it before anything uses the
/// session bus.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                      QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(timeoutMilliseconds)) {
            qputenv("DBUS_SESSION_BUS_ADDRESS", daemon_.readLine().trimmed());
        }
    }
    ~PrivateSessionBus() {
        daemon_.terminate();
        if (!daemon_.waitForFinished(timeoutMilliseconds)) {
            daemon_.kill();
            daemon_.waitForFinished(timeoutMilliseconds);
        }
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

private:
    static constexpr int timeoutMilliseconds = 5'000;
    QProcess daemon_;
};

} // namespace TamselUIKit::Testing
