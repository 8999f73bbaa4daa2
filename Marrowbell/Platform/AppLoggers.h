#pragma once

#include <UnifiedLog/Logger.h>

namespace Marrowbell {

/// The application's loggers, all under the subsystem "com.BrondleTamsel.Marrowbell", each created once on
/// first use (thread-safe). Error-level entries stay in UnifiedLog's store for the feedback window.
struct AppLoggers {
    /// List loading and syncing, the full sync, Reset Data, the store's start-up.
    static const UnifiedLog::Logger& sync();
    /// Player artwork and artwork views.
    static const UnifiedLog::Logger& images();
    /// Playing-state refresh, transport and playback.
    static const UnifiedLog::Logger& playback();
    /// The list controllers.
    static const UnifiedLog::Logger& collection();
    /// Start-up, windows, song-start notifications and everything else of the application.
    static const UnifiedLog::Logger& app();
};

} // namespace Marrowbell
