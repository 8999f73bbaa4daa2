#pragma once

#include <MusicKit/ServiceConfiguration.h>
#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace DemoService {
class DemoService;
}

namespace Marrowbell {

class Defaults;

/// The music service the application uses, made the process's current service configuration for as long as
/// this object lives: the user's `~/.config/Marrowbell/service.json` when it exists, otherwise the bundled
/// demo service, started in-process with a generated library on the loopback port it had at the last start
/// while that port is free, else on a free one. GUI thread.
class ActiveService {
public:
    /// The display name of the bundled demo service.
    static constexpr const char* demoDisplayName = "Marrowbell Demo";
    static constexpr std::size_t defaultDemoSongCount = 3000;
    /// The most characters of a display name that are shown.
    static constexpr qsizetype displayNameLimit = 256;

    /// Reads the user's file or starts the demo service with `demoSongCount` songs, its port kept in
    /// `defaults`. Throws MusicKit::ServiceConfigurationError when the user's file is not valid,
    /// std::runtime_error when the demo service cannot start.
    explicit ActiveService(Defaults& defaults, std::size_t demoSongCount = defaultDemoSongCount);
    /// Stops the demo service and clears the current configuration.
    ~ActiveService();
    ActiveService(const ActiveService&) = delete;
    ActiveService& operator=(const ActiveService&) = delete;

    /// The name every text that names the music service uses: "displayName" of the user's file, else the
    /// host of its API base; "Marrowbell Demo" for the demo service. A longer name than
    /// `displayNameLimit` characters is cut to that length, its last character an ellipsis.
    const QString& displayName() const { return displayName_; }
    const MusicKit::ServiceConfiguration& configuration() const { return configuration_; }
    bool isDemo() const { return demo_ != nullptr; }
    /// The bundled demo service while it is in use, else null.
    DemoService::DemoService* demo() const { return demo_.get(); }
    /// Where usage signals go: the demo service while it is in use, so that trying the app out sends
    /// nothing off the machine; otherwise nothing, leaving the client's own ingestion address.
    std::optional<std::string> usageStatsBaseURL() const;

private:
    std::unique_ptr<DemoService::DemoService> demo_;
    MusicKit::ServiceConfiguration configuration_;
    QString displayName_;
};

} // namespace Marrowbell
