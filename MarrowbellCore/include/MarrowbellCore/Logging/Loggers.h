#pragma once

#include <UnifiedLog/Logger.h>

namespace MarrowbellCore {

/// The core's loggers, created once per process on first use.
struct Loggers {
    static constexpr const char* subsystem = "com.BrondleTamsel.Marrowbell";

    static const UnifiedLog::Logger& search();
    static const UnifiedLog::Logger& sync();
    static const UnifiedLog::Logger& parameters();
    /// The library file's own faults: its connection, transactions and damage.
    static const UnifiedLog::Logger& store();
};

} // namespace MarrowbellCore
