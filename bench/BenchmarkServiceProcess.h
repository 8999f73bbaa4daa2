#pragma once

#include <MusicKit/ServiceConfiguration.h>
#include <QProcess>
#include <QString>
#include <cstddef>
#include <memory>
#include <string>

namespace Benchmark {

/// The demo service in a process of its own, on a free loopback port, so that its memory and processor time
/// are not counted as the application's. Stopped (and if need be killed) when this object goes; every wait
/// is bounded. Throws std::runtime_error when the service does not start in time.
class ServiceProcess {
public:
    /// Listens on `port`, or on a free port when it is 0.
    explicit ServiceProcess(std::size_t songs, int port = 0);
    /// The service at the port that the library in the store file at `databasePath` was synced from (noted
    /// beside it, in "<store>.service-port"), so that the artwork addresses the store holds still lead to
    /// it; on a free port, noted for the next time, when there is no note or that port is taken.
    static std::unique_ptr<ServiceProcess> forStore(std::size_t songs, const QString& databasePath);
    /// forStore() with the service file written; null, with the reason printed, when it did not start.
    static std::unique_ptr<ServiceProcess> servingStore(std::size_t songs, const QString& databasePath);
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    /// Reaches the service with its demo tokens.
    MusicKit::ServiceConfiguration configuration() const;
    /// Points every later AppEnvironment of this process and of the processes it starts (which inherit its
    /// XDG folders) at this service, through the user's service file.
    void writeServiceFile() const;

private:
    QProcess process_;
    std::string baseURL_;
    int port_ = 0;
};

} // namespace Benchmark
