#pragma once

#include <MusicKit/ServiceConfiguration.h>
#include <QProcess>
#include <cstddef>
#include <string>

namespace Benchmark {

/// The demo service in a process of its own, on a free loopback port, so that its memory and processor time
/// are not counted as the application's. Stopped (and if need be killed) when this object goes; every wait
/// is bounded. Throws std::runtime_error when the service does not start in time.
class ServiceProcess {
public:
    explicit ServiceProcess(std::size_t songs);
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
};

} // namespace Benchmark
