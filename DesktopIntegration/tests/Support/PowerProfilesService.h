#pragma once

#include <QObject>
#include <QString>

namespace DesktopIntegration::Testing {

/// The power-profiles daemon's one property this system reads; offer it on a PrivateBus at
/// "/net/hadess/PowerProfiles" as "net.hadess.PowerProfiles".
class PowerProfilesService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.hadess.PowerProfiles")
    Q_PROPERTY(QString ActivePowerProfile MEMBER activeProfile)

public:
    QString activeProfile;
};

} // namespace DesktopIntegration::Testing
