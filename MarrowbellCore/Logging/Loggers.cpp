#include "MarrowbellCore/Logging/Loggers.h"

namespace MarrowbellCore {

const UnifiedLog::Logger& Loggers::search() {
    static const UnifiedLog::Logger logger(subsystem, "search");
    return logger;
}

const UnifiedLog::Logger& Loggers::sync() {
    static const UnifiedLog::Logger logger(subsystem, "sync");
    return logger;
}

const UnifiedLog::Logger& Loggers::parameters() {
    static const UnifiedLog::Logger logger(subsystem, "parameters");
    return logger;
}

const UnifiedLog::Logger& Loggers::store() {
    static const UnifiedLog::Logger logger(subsystem, "store");
    return logger;
}

} // namespace MarrowbellCore
