#include "PrivateBus.h"

#include <QTest>

namespace DesktopIntegration::Testing {
namespace {

constexpr int waitMilliseconds = 5000;

} // namespace

PrivateBus::~PrivateBus() {
    for (const QString& name : std::as_const(connectionNames_)) {
        QDBusConnection::disconnectFromBus(name);
    }
    if (daemon_.state() == QProcess::NotRunning) {
        return;
    }
    daemon_.terminate();
    if (!daemon_.waitForFinished(waitMilliseconds)) {
        daemon_.kill();
        daemon_.waitForFinished(waitMilliseconds);
    }
}

bool PrivateBus::start() {
    daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--print-address")});
    if (!daemon_.waitForStarted(waitMilliseconds) ||
        !QTest::qWaitFor([&] { return daemon_.canReadLine(); }, waitMilliseconds)) {
        return false;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    return true;
}

QDBusConnection PrivateBus::connect(const QString& name) {
    if (!connectionNames_.contains(name)) {
        connectionNames_.append(name);
    }
    return QDBusConnection::connectToBus(address_, name);
}

bool PrivateBus::offer(QObject* object, const QString& service, const QString& path) {
    QDBusConnection bus = connect(QStringLiteral("service"));
    return bus.isConnected() &&
           bus.registerObject(path, object,
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) &&
           bus.registerService(service);
}

} // namespace DesktopIntegration::Testing
