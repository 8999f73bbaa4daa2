#include "Platform/AppLoggers.h"

#include "App/AppIdentity.h"

#include <string>

namespace Marrowbell {
namespace {

UnifiedLog::Logger makeLogger(const char* category) {
    return UnifiedLog::Logger(std::string(appIdentifier), category);
}

} // namespace

const UnifiedLog::Logger& AppLoggers::sync() {
    static const UnifiedLog::Logger logger = makeLogger("sync");
    return logger;
}

const UnifiedLog::Logger& AppLoggers::images() {
    static const UnifiedLog::Logger logger = makeLogger("images");
    return logger;
}

const UnifiedLog::Logger& AppLoggers::playback() {
    static const UnifiedLog::Logger logger = makeLogger("playback");
    return logger;
}

const UnifiedLog::Logger& AppLoggers::collection() {
    static const UnifiedLog::Logger logger = makeLogger("collection");
    return logger;
}

const UnifiedLog::Logger& AppLoggers::app() {
    static const UnifiedLog::Logger logger = makeLogger("app");
    return logger;
}

} // namespace Marrowbell
