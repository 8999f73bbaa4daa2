#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace DesktopIntegration::Testing {

/// A D-Bus session bus of a test's own. start() runs the daemon; destruction closes the connections made
/// through connect() and offer(), then ends the daemon. Waits are bounded; use from the thread that made it.
class PrivateBus {
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    /// Starts the daemon and waits for its address; false when it does not come up in time.
    bool start();
    const QString& address() const { return address_; }
    /// A connection to the bus under `name`.
    QDBusConnection connect(const QString& name);
    /// Offers `object`'s slots and properties at `path` under the well-known `service` name, on the
    /// connection named "service"; false when the bus refuses either.
    bool offer(QObject* object, const QString& service, const QString& path);

private:
    QProcess daemon_;
    QString address_;
    QStringList connectionNames_;
};

} // namespace DesktopIntegration::Testing
