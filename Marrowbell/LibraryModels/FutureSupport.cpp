#include "LibraryModels/FutureSupport.h"

#include <Foundation/CancellationError.h>

namespace Marrowbell {

void logFailure(const UnifiedLog::Logger& logger, std::string_view format, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& failure) {
        logger.error(format, {failure});
    } catch (...) {
        logger.error(format, {"an unknown error"});
    }
}

bool isCancellation(const std::exception_ptr& error) {
    return holdsFailure<Foundation::CancellationError>(error);
}

} // namespace Marrowbell
