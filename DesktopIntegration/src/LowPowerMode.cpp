#include "DesktopIntegration/LowPowerMode.h"

#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace DesktopIntegration {
namespace {

constexpr int answerTimeoutMs = 500;

struct ProfilesService {
    const char* name;
    const char* path;
};

/// The daemon's older name first: the one Debian 12 ships.
constexpr ProfilesService services[] = {
    {"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles"},
    {"org.freedesktop.UPower.PowerProfiles", "/org/freedesktop/UPower/PowerProfiles"},
};

std::optional<QString> activeProfile(const QDBusConnection& bus, const ProfilesService& service) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(service.name), QString::fromLatin1(service.path),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(service.name) << QStringLiteral("ActivePowerProfile");
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, answerTimeoutMs);
    if (!reply.isValid()) {
        return std::nullopt;
    }
    return reply.value().variant().toString();
}

} // namespace

bool isLowPowerModeEnabled() {
    return isLowPowerModeEnabled(QDBusConnection::systemBus());
}

bool isLowPowerModeEnabled(const QDBusConnection& bus) {
    if (!bus.isConnected()) {
        return false;
    }
    for (const auto& service : services) {
        if (const auto profile = activeProfile(bus, service)) {
            return *profile == QStringLiteral("power-saver");
        }
    }
    return false;
}

} // namespace DesktopIntegration
